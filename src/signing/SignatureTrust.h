#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <mutex>
#include <vector>

typedef struct CERTCertListStr CERTCertList;

namespace velmora {

// The certificate authorities a reader of signed PDFs trusts: the certificates of a folder
// of PEM or DER files, or the authorities an NSS certificate database marks as trusted.
// They alone anchor a signer's chain: the user's browser store and the public web
// authorities NSS ships are never consulted, so an office trusts exactly what it was given.
class SignatureTrust {
public:
    ~SignatureTrust();

    // Fails, saying why, when the folder is missing or holds no certificate at all.
    static Result<std::shared_ptr<const SignatureTrust>> load(const QString& folder);

    const QString& folder() const { return m_folder; }

    // The authorities as NSS certificates, made the first time they are asked for: NSS must
    // be running by then (poppler starts it when it first checks a signature). Null, with
    // `why` set, when none of them could be read. The caller serialises the calls.
    CERTCertList* anchors(QString* why) const;

private:
    explicit SignatureTrust(QString folder) : m_folder(std::move(folder)) {}

    QString m_folder;
    bool m_database = false;         // an NSS database rather than certificate files
    std::vector<QByteArray> m_files; // DER of each certificate found in the files
    mutable std::once_flag m_made;
    mutable CERTCertList* m_anchors = nullptr;
    mutable QString m_why;
};

} // namespace velmora
