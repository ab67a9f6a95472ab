#include "users/UserStore.h"

#include "crypto/CSHA256.h"
#include "platform/ProgramTitle.h"
#include "platform/Result.h"
#include "platform/data/AtomicFile.h"
#include "platform/data/DamagedFileCopy.h"
#include "platform/data/FileRead.h"
#include "platform/data/InstanceLock.h"
#include "platform/data/XmlFile.h"
#include "platform/data/XmlPath.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>
#include <string>

namespace velmora {

namespace {

// Declarations, comments and processing instructions are kept so that they are written back
// as they were read.
constexpr unsigned kParseOptions = pugi::parse_full;

class ByteWriter : public pugi::xml_writer {
public:
    void write(const void* data, size_t size) override {
        bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
    QByteArray bytes;
};

std::string utf8(const QString& text) {
    return text.toStdString();
}

// XPath string value: every text below the node, in document order, however deep.
std::string stringValue(const pugi::xml_node& node) {
    std::string out;
    appendTextContent(node, out);
    return out;
}

// A digest as stored, in the form HashTexto gives: entries written by hand or by other
// tools (lower case, a line break around it, as sha256sum prints them) mean the same.
std::string digestOf(const pugi::xml_node& node) {
    return utf8(QString::fromStdString(stringValue(node)).trimmed().toUpper());
}

// Whether some entry of the store has `dniDigest` as its DNI.
bool hasEntry(const pugi::xml_document& doc, const std::string& dniDigest) {
    for (const pugi::xpath_node& entry : doc.select_nodes("//Usuarios/Usuario"))
        for (const pugi::xml_node& dni : entry.node().children("DNI"))
            if (digestOf(dni) == dniDigest)
                return true;
    return false;
}

std::string dniDigestOfEntry(const std::string& entryText) {
    pugi::xml_document entry;
    entry.load_string(entryText.c_str());
    return digestOf(entry.document_element().child("DNI"));
}

bool isUnicodeWide(pugi::xml_encoding encoding) {
    return encoding == pugi::encoding_utf16_le || encoding == pugi::encoding_utf16_be ||
           encoding == pugi::encoding_utf32_le || encoding == pugi::encoding_utf32_be;
}

} // namespace

UserStore::UserStore(QString programFolder) : m_programFolder(std::move(programFolder)) {}

QString UserStore::usuariosPath() const {
    return QDir(m_programFolder).filePath(QStringLiteral("usuarios.xml"));
}

Status UserStore::AbreUsuarios(const QString& path) {
    m_doc.reset();
    m_storePath = path;
    m_encoding = pugi::encoding_utf8;
    m_byteOrderMark = false;

    std::optional<Error> failure;
    const Result<QByteArray> bytes = readFileUpTo(path, kMaxStoreBytes);
    if (!bytes.ok()) {
        if (bytes.error().number != ErrorCode::FileNotFound)
            failure = Error::make(
                ErrorCode::FileAccess,
                QStringLiteral("No se puede leer el fichero de usuarios %1: %2. El programa se cerrará.")
                    .arg(QDir::toNativeSeparators(path), bytes.error().description));
    } else {
        const XmlRead read = readXml(bytes.value(), m_doc, kParseOptions);
        const pugi::xml_parse_result& parsed = read.result;
        // A file with no element at all (empty, blanks, only a declaration) is a store
        // without users; anything else that does not parse is a damaged store.
        if (parsed || parsed.status == pugi::status_no_document_element) {
            m_encoding = read.encoding.encoding;
            m_byteOrderMark = read.encoding.byteOrderMark;
        } else {
            m_doc.reset();
            failure = Error::make(
                ErrorCode::BadXml,
                QStringLiteral(
                    "El fichero de usuarios %1 está dañado y no se puede leer. El programa se cerrará.")
                    .arg(QDir::toNativeSeparators(path)));
        }
    }
    m_saved.reset(m_doc);
    if (failure) {
        failure->endsProgram = true;
        return *failure;
    }
    return {};
}

QString UserStore::HashTexto(const QString& text) {
    return CSHA256().SHA256(text).toUpper();
}

bool UserStore::ExisteUsuario(const QString& dni) const {
    return hasEntry(m_doc, utf8(HashTexto(dni)));
}

QString UserStore::PwdGuardado(const QString& dni) const {
    const std::string wanted = utf8(HashTexto(dni));
    for (const pugi::xpath_node& entry : m_doc.select_nodes("//Usuarios/*")) {
        if (digestOf(entry.node().child("DNI")) == wanted)
            return QString::fromStdString(digestOf(entry.node().child("Pwd")));
    }
    return QString();
}

bool UserStore::CompruebaPwd(const QString& dni, const QString& pwd) const {
    return HashTexto(pwd) == PwdGuardado(dni);
}

Status UserStore::AltaUsuario(const QString& dni, const QString& pwd) {
    const QString entryText = QStringLiteral("<Usuario><DNI>") + HashTexto(dni) +
                              QStringLiteral("</DNI><Pwd>") + HashTexto(pwd) +
                              QStringLiteral("</Pwd></Usuario>");
    pugi::xml_document entry;
    entry.load_string(utf8(entryText).c_str());
    usuariosElement().append_copy(entry.document_element());
    m_pendingEntries.push_back(utf8(entryText));
    return save(dni);
}

void UserStore::BajaUsuario(const QString& dni) {
    const std::string wanted = utf8(HashTexto(dni));
    if (removeEntry(m_doc, wanted))
        m_pendingRemovals.push_back(wanted);
}

bool UserStore::removeEntry(pugi::xml_document& doc, const std::string& wanted) {
    if (!doc.select_node("//Usuarios"))
        return false;
    const size_t count = doc.select_nodes("//Usuarios/*").size();
    for (size_t i = 0; i < count; ++i) {
        const std::string path = utf8(toXPath(QStringLiteral("//Usuarios/Usuario[%1]/DNI").arg(i)));
        const pugi::xml_node dniNode = doc.select_node(path.c_str()).node();
        if (dniNode && digestOf(dniNode) == wanted) {
            const pugi::xml_node user = dniNode.parent();
            user.parent().remove_child(user);
            return true;
        }
    }
    return false;
}

pugi::xml_node UserStore::usuariosElement() {
    if (const pugi::xml_node existing = m_doc.select_node("//Usuarios").node())
        return existing;
    // No store yet (missing or empty file): start one. A document with some other root
    // keeps it and gets the store inside, so nothing it held is lost.
    pugi::xml_node parent = m_doc.document_element();
    if (!parent)
        parent = m_doc;
    return parent.append_child("Usuarios");
}

// Other instances of the program may have added users since the store was read: the file
// is read again, and this run's removals and additions are made on what it holds now. A
// file that cannot be read now stops the save (writing the store in memory over it would
// drop whatever the others added), and a damaged one is first kept byte for byte. A user
// another instance has added meanwhile is not added a second time.
Status UserStore::mergeWithFile(const QString& dni) {
    const QString path = QDir::toNativeSeparators(m_storePath);
    const Result<QByteArray> bytes = readFileUpTo(m_storePath, kMaxStoreBytes);
    if (!bytes.ok()) {
        // Removed since it was read: this run's store takes its place.
        if (bytes.error().number == ErrorCode::FileNotFound)
            return {};
        return Error::make(
            ErrorCode::FileAccess,
            QStringLiteral("No se ha podido guardar el fichero de usuarios %1: no se puede leer "
                           "(%2).")
                .arg(path, bytes.error().description));
    }
    pugi::xml_document current;
    const XmlRead read = readXml(bytes.value(), current, kParseOptions);
    if (!read.result && read.result.status != pugi::status_no_document_element) {
        const Result<QString> copy = keepDamagedCopyOnce(bytes.value());
        return Error::make(
            ErrorCode::BadXml,
            copy.ok()
                ? QStringLiteral("El fichero de usuarios %1 está dañado (otro programa lo ha cortado o "
                                 "cambiado) y no se ha guardado la contraseña. Se ha guardado una copia "
                                 "del fichero en %2.")
                      .arg(path, QDir::toNativeSeparators(copy.value()))
                : QStringLiteral("El fichero de usuarios %1 está dañado (otro programa lo ha cortado o "
                                 "cambiado) y no se ha guardado la contraseña; tampoco se ha podido "
                                 "guardar una copia de él: %2")
                      .arg(path, copy.error().description));
    }
    for (const std::string& entryText : m_pendingEntries) {
        const std::string dniDigest = dniDigestOfEntry(entryText);
        if (hasEntry(current, dniDigest) && !hasEntry(m_saved, dniDigest))
            return Error::told(
                kAlreadyRegistered,
                QStringLiteral("Ya existe un usuario con el DNI %1: otra copia del programa le "
                               "ha creado una contraseña mientras tanto, y es esa la que vale. "
                               "No se ha guardado la contraseña escrita aquí.")
                    .arg(dni),
                programTitle(), MessageIcon::Exclamation);
    }
    m_doc.reset(current);
    m_encoding = read.encoding.encoding;
    m_byteOrderMark = read.encoding.byteOrderMark;
    for (const std::string& removal : m_pendingRemovals)
        removeEntry(m_doc, removal);
    for (const std::string& entryText : m_pendingEntries) {
        pugi::xml_document entry;
        entry.load_string(entryText.c_str());
        usuariosElement().append_copy(entry.document_element());
    }
    return {};
}

// One copy of each damaged content, however many saves find it.
Result<QString> UserStore::keepDamagedCopyOnce(const QByteArray& bytes) {
    const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    if (digest == m_damagedCopyDigest && QFileInfo::exists(m_damagedCopy))
        return m_damagedCopy;
    Result<QString> copy = keepDamagedCopy(QFileInfo(m_storePath).absolutePath(), m_storePath, bytes);
    if (copy.ok()) {
        m_damagedCopyDigest = digest;
        m_damagedCopy = copy.value();
    }
    return copy;
}

Status UserStore::save(const QString& dni) {
    const QString path = QDir::toNativeSeparators(m_storePath);
    InstanceLock lock(m_storePath + QStringLiteral(".bloqueo"), kLockWaitMs);
    if (const Status locked =
            lock.acquire(QStringLiteral("otra copia del programa lo está guardando; inténtelo de nuevo en "
                                        "unos segundos."));
        !locked.ok())
        return dropPendingChanges(Error::make(
            ErrorCode::FileAccess, QStringLiteral("No se ha podido guardar el fichero de usuarios %1: %2")
                                       .arg(path, locked.error().description)));
    if (const Status merged = mergeWithFile(dni); !merged.ok())
        return dropPendingChanges(merged.error());

    unsigned flags = pugi::format_raw;
    if (m_byteOrderMark || isUnicodeWide(m_encoding))
        flags |= pugi::format_write_bom;
    ByteWriter writer;
    m_doc.save(writer, "", flags, m_encoding);

    // Written beside the store and renamed over it, never through a link at either name:
    // a link planted there would have another file replaced by the store.
    const QString newStore = m_storePath + QStringLiteral(".nuevo");
    QFile::remove(newStore); // left by an instance killed while saving; the lock is ours
    Status written = writeNewFile(newStore, writer.bytes);
    if (written.ok())
        written = replaceFile(newStore, m_storePath);
    if (!written.ok()) {
        QFile::remove(newStore);
        return dropPendingChanges(Error::make(
            written.error().number, QStringLiteral("No se ha podido guardar el fichero de usuarios %1: %2")
                                        .arg(path, written.error().description)));
    }
    m_saved.reset(m_doc);
    m_pendingRemovals.clear();
    m_pendingEntries.clear();
    return {};
}

Error UserStore::dropPendingChanges(Error failure) {
    // What the file holds now, when it can be read, so that memory agrees with it again.
    const Result<QByteArray> bytes = readFileUpTo(m_storePath, kMaxStoreBytes);
    pugi::xml_document current;
    if (bytes.ok() && readXml(bytes.value(), current, kParseOptions).result)
        m_saved.reset(current);
    m_doc.reset(m_saved);
    m_pendingRemovals.clear();
    m_pendingEntries.clear();
    return failure;
}

} // namespace velmora
