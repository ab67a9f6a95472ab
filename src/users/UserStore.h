#pragma once

#include "platform/Result.h"

#include <QString>

#include <pugixml.hpp>

#include <string>
#include <vector>

namespace velmora {

// The user store "usuarios.xml": which DNIs have a password, both kept only as
// upper-case SHA-256 digests. Loaded once when sign-in starts, queried in memory for the
// rest of the run, and written back whole each time an entry is added. Several instances of
// the program may share the store: each write re-reads the file under a lock and makes this
// run's changes on what it holds, so that no instance drops the users another one added.
//
// Stored digests match in either letter case and with blanks around them, as other tools
// (sha256sum) write them.
//
// Layout: <Usuarios><Usuario><DNI>digest</DNI><Pwd>digest</Pwd></Usuario>...</Usuarios>
class UserStore {
public:
    // A store holds some hundred bytes per user: a larger file is refused unread.
    static constexpr qint64 kMaxStoreBytes = 10 * 1024 * 1024;
    // Saving the store takes a moment; an instance that holds its lock longer is stuck or gone.
    static constexpr int kLockWaitMs = 15000;

    // Another instance gave the DNI a password first: told as a warning, not as a failure.
    static constexpr int kAlreadyRegistered = 1201;

    explicit UserStore(QString programFolder);

    // The installation's store: program folder + "usuarios.xml".
    QString usuariosPath() const;

    // Loads the store at `path` (or the installation's one) and remembers it as the place
    // every save goes to. A missing file, or one without any element, is a store without
    // users: the first password creates it. A file that exists but cannot be read (a link,
    // a folder, larger than kMaxStoreBytes, no permission), or is not XML, is an error
    // naming the file and the cause that ends the program: letting everyone in as a new user
    // would by-pass the passwords it holds.
    Status AbreUsuarios(const QString& path);
    Status AbreUsuarios() { return AbreUsuarios(usuariosPath()); }

    // Upper-case hexadecimal SHA-256 of `text`: 64 characters from 0-9 and A-F.
    static QString HashTexto(const QString& text);

    bool ExisteUsuario(const QString& dni) const;
    // The stored password digest of the first entry for `dni`, or an empty text.
    QString PwdGuardado(const QString& dni) const;
    // `pwd` is the password already upper-cased by the caller.
    bool CompruebaPwd(const QString& dni, const QString& pwd) const;

    // Appends an entry for `dni` with the digest of `pwd` (already upper-cased) and saves the
    // store; it does not remove an earlier entry for the same DNI (call BajaUsuario first).
    // On a failed save the file keeps its previous content, the store in memory goes back to
    // what the file holds, and the failure names the file and the cause. A save fails when
    // another instance has given `dni` a password since this one read the store
    // (kAlreadyRegistered, "Ya existe un usuario...", told as a warning), when the file cannot
    // be read any more (a damaged one is first kept, keepDamagedCopy), and when it cannot be
    // written (a link at its name, a full disk).
    Status AltaUsuario(const QString& dni, const QString& pwd);
    // Removes the first entry for `dni` from the store in memory; the next AltaUsuario saves it.
    void BajaUsuario(const QString& dni);

    QString storePath() const { return m_storePath; }

private:
    pugi::xml_node usuariosElement();
    Status save(const QString& dni);
    Status mergeWithFile(const QString& dni);
    static bool removeEntry(pugi::xml_document& doc, const std::string& dniDigest);
    Error dropPendingChanges(Error failure);
    Result<QString> keepDamagedCopyOnce(const QByteArray& bytes);

    QString m_programFolder;
    QString m_storePath;
    pugi::xml_document m_doc;
    // The store as last read from or written to the file, to fall back on when a save fails.
    pugi::xml_document m_saved;
    // Written back in the encoding (and with the byte order mark) it was read in, so that
    // its declaration keeps telling the truth.
    pugi::xml_encoding m_encoding = pugi::encoding_utf8;
    bool m_byteOrderMark = false;
    // The copy kept of the damaged store a save last found, and the digest of its bytes.
    QString m_damagedCopy;
    QByteArray m_damagedCopyDigest;
    // What this run changed since the last write (DNI digests removed, entries added).
    std::vector<std::string> m_pendingRemovals;
    std::vector<std::string> m_pendingEntries;
};

} // namespace velmora
