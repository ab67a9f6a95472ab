#include "platform/data/XmlFile.h"

#include "platform/data/CodePages.h"
#include "platform/data/XmlPath.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

namespace velmora {
namespace {

bool startsWithByteOrderMark(const QByteArray& bytes) {
    return bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") ||
           bytes.startsWith(QByteArray("\x00\x00\xFE\xFF", 4));
}

// Read without a byte-order mark, a declaration can only be trusted to be ASCII, which
// every single-byte encoding shares.
bool declaresSingleByteWestern(const QByteArray& bytes) {
    if (!bytes.startsWith("<?xml"))
        return false;
    const qsizetype end = bytes.indexOf("?>");
    if (end < 0)
        return false;
    static const QRegularExpression encoding(QStringLiteral("encoding\\s*=\\s*[\"']([^\"']+)[\"']"),
                                             QRegularExpression::CaseInsensitiveOption);
    const auto match = encoding.match(QString::fromLatin1(bytes.left(end)));
    if (!match.hasMatch())
        return false;
    static const QStringList western = {
        QStringLiteral("iso-8859-1"),   QStringLiteral("iso8859-1"), QStringLiteral("iso_8859-1"),
        QStringLiteral("latin1"),       QStringLiteral("latin-1"),   QStringLiteral("l1"),
        QStringLiteral("windows-1252"), QStringLiteral("cp1252"),    QStringLiteral("iso-8859-15")};
    return western.contains(match.captured(1).trimmed().toLower());
}

// UTF-16 and UTF-32 without a byte-order mark start with a "<" beside zero bytes.
bool looksWide(const QByteArray& bytes) {
    return bytes.size() >= 2 && (bytes.at(0) == '\0' || bytes.at(1) == '\0');
}

bool isValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(bytes);
    Q_UNUSED(decoded);
    return !decoder.hasError();
}

} // namespace

XmlRead readXml(const QByteArray& bytes, pugi::xml_document& doc, unsigned options) {
    XmlRead read;
    read.encoding.byteOrderMark = startsWithByteOrderMark(bytes);
    const bool western = !read.encoding.byteOrderMark && declaresSingleByteWestern(bytes);
    read.encodingGuessed =
        !western && !read.encoding.byteOrderMark && !looksWide(bytes) && !isValidUtf8(bytes);
    if (western || read.encodingGuessed) {
        // Windows-1252 is a superset of ISO-8859-1 in its printable characters; a file saved
        // by a Windows program under either label uses it.
        const QByteArray utf8 = codepage::decodeCp1252(bytes).toUtf8();
        read.result = doc.load_buffer(utf8.constData(), size_t(utf8.size()), options, pugi::encoding_utf8);
        // A guessed file is written back in what it declares (or UTF-8 without a declaration).
        read.encoding.encoding = western ? pugi::encoding_latin1 : pugi::encoding_utf8;
        return read;
    }
    read.result = doc.load_buffer(bytes.constData(), size_t(bytes.size()), options, pugi::encoding_auto);
    read.encoding.encoding = read.result.encoding;
    return read;
}

Status parseXml(const QByteArray& bytes, pugi::xml_document& doc) {
    const pugi::xml_parse_result parsed = readXml(bytes, doc).result;
    if (!parsed) {
        // A document that does not parse is empty: nothing half-read is ever used.
        doc.reset();
        return Error::make(ErrorCode::BadXml, QStringLiteral("XML mal formado: %1 (posición %2)")
                                                  .arg(QString::fromUtf8(parsed.description()))
                                                  .arg(parsed.offset));
    }
    return {};
}

Status loadXmlFile(const QString& path, pugi::xml_document& doc) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Error::make(file.exists() ? ErrorCode::FileAccess : ErrorCode::FileNotFound,
                           QStringLiteral("No se puede abrir el archivo %1").arg(path));
    return parseXml(file.readAll(), doc);
}

Result<pugi::xpath_node> selectNode(const pugi::xml_node& from, const QString& zeroBasedPath) {
    const QByteArray xpath = toXPath(zeroBasedPath).toUtf8();
    pugi::xpath_node found;
    try {
        found = from.select_node(xpath.constData());
    } catch (const pugi::xpath_exception&) {
        return Error::make(ErrorCode::BadXml, QStringLiteral("Ruta XML no válida: %1").arg(zeroBasedPath));
    }
    if (!found)
        return Error::make(
            ErrorCode::ObjectMissing,
            QStringLiteral("Variable de objeto o bloque With no establecido (%1)").arg(zeroBasedPath));
    return found;
}

void appendTextContent(const pugi::xml_node& node, std::string& out) {
    // A walk by sibling and parent links rather than recursion: a hostile file may nest
    // elements far deeper than the stack could follow.
    for (pugi::xml_node n = node; n;) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
            out += n.value();
        if (pugi::xml_node child = n.first_child()) {
            n = child;
            continue;
        }
        while (n && n != node && !n.next_sibling())
            n = n.parent();
        if (!n || n == node)
            break;
        n = n.next_sibling();
    }
}

QString textContent(const pugi::xml_node& node) {
    std::string text;
    appendTextContent(node, text);
    return QString::fromStdString(text);
}

Result<QString> selectText(const pugi::xml_node& from, const QString& zeroBasedPath) {
    auto found = selectNode(from, zeroBasedPath);
    if (!found)
        return found.error();
    if (found->attribute())
        return QString::fromUtf8(found->attribute().value());
    return textContent(found->node());
}

} // namespace velmora
