#include "users/UserStore.h"

#include "crypto/CSHA256.h"
#include "platform/MessageService.h"
#include "platform/Result.h"
#include "platform/data/AtomicFile.h"
#include "platform/data/XmlFile.h"
#include "platform/data/XmlPath.h"

#include <QDir>
#include <QFile>
#include <QLockFile>

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

bool isUnicodeWide(pugi::xml_encoding encoding) {
    return encoding == pugi::encoding_utf16_le || encoding == pugi::encoding_utf16_be ||
           encoding == pugi::encoding_utf32_le || encoding == pugi::encoding_utf32_be;
}

} // namespace

UserStore::UserStore(QString programFolder, MessageService& messages)
    : m_programFolder(std::move(programFolder)), m_messages(messages) {}

QString UserStore::usuariosPath() const {
    return QDir(m_programFolder).filePath(QStringLiteral("usuarios.xml"));
}

Status UserStore::AbreUsuarios(const QString& path) {
    m_doc.reset();
    m_storePath = path;
    m_encoding = pugi::encoding_utf8;
    m_byteOrderMark = false;
    m_unreadableFile = false;

    std::optional<Error> failure;
    QFile file(path);
    if (file.exists()) {
        QByteArray bytes;
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
        if (!file.isOpen() || file.error() != QFileDevice::NoError) {
            m_unreadableFile = true;
            failure = Error::make(
                ErrorCode::FileAccess,
                QStringLiteral("No se puede leer el fichero de usuarios %1. El programa se cerrará.")
                    .arg(QDir::toNativeSeparators(path)));
        } else {
            const XmlRead read = readXml(bytes, m_doc, kParseOptions);
            const pugi::xml_parse_result& parsed = read.result;
            // A file with no element at all (empty, blanks, only a declaration) is a store
            // without users; anything else that does not parse is a damaged store.
            if (parsed || parsed.status == pugi::status_no_document_element) {
                m_encoding = read.encoding.encoding;
                m_byteOrderMark = read.encoding.byteOrderMark;
            } else {
                m_doc.reset();
                m_unreadableFile = true;
                failure = Error::make(
                    ErrorCode::BadXml,
                    QStringLiteral(
                        "El fichero de usuarios %1 está dañado y no se puede leer. El programa se cerrará.")
                        .arg(QDir::toNativeSeparators(path)));
            }
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
    const std::string query = "//Usuarios/Usuario[DNI='" + utf8(HashTexto(dni)) + "']";
    return static_cast<bool>(m_doc.select_node(query.c_str()));
}

QString UserStore::PwdGuardado(const QString& dni) const {
    const std::string wanted = utf8(HashTexto(dni));
    for (const pugi::xpath_node& entry : m_doc.select_nodes("//Usuarios/*")) {
        if (stringValue(entry.node().child("DNI")) == wanted)
            return QString::fromStdString(stringValue(entry.node().child("Pwd")));
    }
    return QString();
}

bool UserStore::CompruebaPwd(const QString& dni, const QString& pwd) const {
    return HashTexto(pwd) == PwdGuardado(dni);
}

bool UserStore::AltaUsuario(const QString& dni, const QString& pwd) {
    const QString entryText = QStringLiteral("<Usuario><DNI>") + HashTexto(dni) +
                              QStringLiteral("</DNI><Pwd>") + HashTexto(pwd) +
                              QStringLiteral("</Pwd></Usuario>");
    pugi::xml_document entry;
    entry.load_string(utf8(entryText).c_str());
    usuariosElement().append_copy(entry.document_element());
    m_pendingEntries.push_back(utf8(entryText));
    return save();
}

void UserStore::BajaUsuario(const QString& dni) {
    const std::string wanted = utf8(HashTexto(dni));
    if (removeEntry(wanted))
        m_pendingRemovals.push_back(wanted);
}

bool UserStore::removeEntry(const std::string& wanted) {
    if (!m_doc.select_node("//Usuarios"))
        return false;
    const size_t count = m_doc.select_nodes("//Usuarios/*").size();
    for (size_t i = 0; i < count; ++i) {
        const std::string path = utf8(toXPath(QStringLiteral("//Usuarios/Usuario[%1]/DNI").arg(i)));
        const pugi::xml_node dniNode = m_doc.select_node(path.c_str()).node();
        if (dniNode && stringValue(dniNode) == wanted) {
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
// is read again, and this run's removals and additions are made on what it holds now.
void UserStore::mergeWithFile() {
    QFile file(m_storePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return;
    pugi::xml_document current;
    const XmlRead read = readXml(bytes, current, kParseOptions);
    if (!read.result && read.result.status != pugi::status_no_document_element)
        return;
    m_doc.reset(current);
    m_encoding = read.encoding.encoding;
    m_byteOrderMark = read.encoding.byteOrderMark;
    m_unreadableFile = false;
    for (const std::string& removal : m_pendingRemovals)
        removeEntry(removal);
    for (const std::string& entryText : m_pendingEntries) {
        pugi::xml_document entry;
        entry.load_string(entryText.c_str());
        usuariosElement().append_copy(entry.document_element());
    }
}

bool UserStore::save() {
    QLockFile lock(m_storePath + QStringLiteral(".bloqueo"));
    lock.setStaleLockTime(30000);
    // Only a lock held by another instance stops the save: a folder where no lock can be
    // made is one the write itself will fail in, with its own cause.
    if (!lock.tryLock(15000) && lock.error() == QLockFile::LockFailedError) {
        reportError(ErrorCode::FileAccess,
                    QStringLiteral("Otra copia del programa está guardando el fichero de usuarios %1")
                        .arg(QDir::toNativeSeparators(m_storePath)));
        return dropPendingChanges();
    }
    mergeWithFile();
    if (m_unreadableFile && !backUpUnreadableFile())
        return dropPendingChanges();

    unsigned flags = pugi::format_raw;
    if (m_byteOrderMark || isUnicodeWide(m_encoding))
        flags |= pugi::format_write_bom;
    ByteWriter writer;
    m_doc.save(writer, "", flags, m_encoding);

    const Status written = writeFileAtomically(m_storePath, writer.bytes);
    if (!written.ok()) {
        reportError(written.error().number, written.error().description);
        return dropPendingChanges();
    }
    m_saved.reset(m_doc);
    m_unreadableFile = false;
    m_pendingRemovals.clear();
    m_pendingEntries.clear();
    return true;
}

bool UserStore::dropPendingChanges() {
    m_doc.reset(m_saved);
    m_pendingRemovals.clear();
    m_pendingEntries.clear();
    return false;
}

// Keeps the content of a store that could not be read next to it ("usuarios.xml.bak"), so
// that replacing it with a working store loses nothing.
bool UserStore::backUpUnreadableFile() {
    const QString backupPath = m_storePath + QStringLiteral(".bak");
    QFile original(m_storePath);
    QByteArray bytes;
    if (original.open(QIODevice::ReadOnly))
        bytes = original.readAll();
    if (!original.isOpen() || original.error() != QFileDevice::NoError) {
        reportError(ErrorCode::FileAccess,
                    QStringLiteral("No se ha podido leer el fichero %1 para guardar una copia")
                        .arg(QDir::toNativeSeparators(m_storePath)));
        return false;
    }
    const Status written = writeFileAtomically(backupPath, bytes);
    if (!written.ok()) {
        reportError(written.error().number, written.error().description);
        return false;
    }
    return true;
}

void UserStore::reportError(int number, const QString& description) {
    m_messages.show(QStringLiteral("Se ha producido el siguiente error ") + QString::number(number) +
                        QStringLiteral("-") + description,
                    programTitle(), MessageIcon::Critical, MessageButtons::Ok);
}

} // namespace velmora
