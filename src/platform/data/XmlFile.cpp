#include "platform/data/XmlFile.h"

#include "platform/data/CodePages.h"
#include "platform/data/XmlPath.h"

#include <QFile>
#include <QRegularExpression>

namespace velmora {
namespace {

bool declaresSingleByteWestern(const QByteArray& bytes) {
    const QByteArray head = bytes.left(200);
    if (!head.startsWith("<?xml"))
        return false;
    static const QRegularExpression encoding(QStringLiteral("encoding\\s*=\\s*[\"']([^\"']+)[\"']"),
                                             QRegularExpression::CaseInsensitiveOption);
    const auto match = encoding.match(QString::fromLatin1(head.left(head.indexOf("?>"))));
    if (!match.hasMatch())
        return false;
    const QString name = match.captured(1).toLower();
    return name == QLatin1String("iso-8859-1") || name == QLatin1String("latin1") ||
           name == QLatin1String("iso8859-1") || name == QLatin1String("windows-1252") ||
           name == QLatin1String("cp1252") || name == QLatin1String("iso-8859-15");
}

} // namespace

Status parseXml(const QByteArray& bytes, pugi::xml_document& doc) {
    const QByteArray utf8 = declaresSingleByteWestern(bytes) ? codepage::decodeCp1252(bytes).toUtf8() : bytes;
    const pugi::xml_parse_result parsed =
        doc.load_buffer(utf8.constData(), size_t(utf8.size()), pugi::parse_default | pugi::parse_declaration,
                        pugi::encoding_utf8);
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

QString textContent(const pugi::xml_node& node) {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
        return QString::fromUtf8(node.value());
    QString text;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        text += textContent(child);
    return text;
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
