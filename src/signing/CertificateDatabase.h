#pragma once

#include "platform/Result.h"
#include "signing/SigningCertificate.h"

#include <QString>

#include <vector>

namespace velmora {

// Error numbers of certificate use that callers tell apart.
namespace SigningError {
inline constexpr int WrongPassword = 2101; // the database's (the key's) password was not accepted
inline constexpr int Cancelled = 2102;     // the applicant cancelled a password prompt: nothing to report
} // namespace SigningError

// The NSS certificate database the applicant's browser and document viewers keep their
// personal certificates in. NSS holds one database per process, so these calls work on the
// process's one open database; opening another folder closes the one before.
namespace certificate_database {

// The database of the newest Firefox profile that has one, else ~/.pki/nssdb (which may
// not exist yet: importing creates it).
QString defaultFolder();

// Opens the database in `folder` (cert9.db, key4.db) for this process.
Status open(const QString& folder);
// The folder open now; empty before the first open().
QString openFolder();

// The certificates of the open database that have their private key there.
Result<std::vector<SigningCertificate>> signingCertificates();

// Whether the key of `nickname` is locked behind the database's password.
bool needsPassword(const QString& nickname);
// Unlocks the key of `nickname` with the database's password; a wrong one is
// SigningError::WrongPassword.
Status unlock(const QString& nickname, const QString& password);
// Locks it again once the signature is made.
void lock(const QString& nickname);

// Imports the certificate and key of a PKCS#12 file (.p12, .pfx) into the database in
// `folder`, creating the database when the folder holds none. `databasePassword` is the
// database's own password (empty when it has none). The open database sees the import
// once reopened (open() again).
Status importPkcs12(const QString& folder, const QString& file, const QString& filePassword,
                    const QString& databasePassword);

} // namespace certificate_database
} // namespace velmora
