#include "platform/docengine/Document.h"

#include "platform/docengine/DocumentData.h"
#include "platform/docengine/WordXml.h"
#include "platform/docengine/XmlIo.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <cstring>

namespace velmora::docengine {

using namespace wx;

namespace {

constexpr const char* kTypeDocument =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
constexpr const char* kTypeTemplate =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml";
constexpr const char* kTypeDocumentMacro = "application/vnd.ms-word.document.macroEnabled.main+xml";
constexpr const char* kTypeTemplateMacro = "application/vnd.ms-word.template.macroEnabledTemplate.main+xml";

const char kBlankContentTypes[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
    R"(<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>)"
    R"(<Override PartName="/word/settings.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.settings+xml"/>)"
    R"(</Types>)";

const char kBlankPackageRels[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";

const char kBlankDocumentRels[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/settings" Target="settings.xml"/>)"
    R"(</Relationships>)";

const char kBlankDocument[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")"
    R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")"
    R"( xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing")"
    R"( xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main")"
    R"( xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture">)"
    R"(<w:body><w:p/><w:sectPr><w:pgSz w:w="11906" w:h="16838"/>)"
    R"(<w:pgMar w:top="1417" w:right="1701" w:bottom="1417" w:left="1701" w:header="708" w:footer="708" w:gutter="0"/>)"
    R"(<w:cols w:space="708"/><w:docGrid w:linePitch="360"/></w:sectPr></w:body></w:document>)";

const char kBlankSettings[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<w:settings xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
    R"(<w:defaultTabStop w:val="708"/><w:characterSpacingControl w:val="doNotCompress"/>)"
    R"(<w:compat><w:compatSetting w:name="compatibilityMode" w:uri="http://schemas.microsoft.com/office/word" w:val="15"/></w:compat>)"
    R"(</w:settings>)";

Error badPackage(const QString& detail) {
    return Error::make(
        DocError::NotAPackage,
        QStringLiteral("El archivo no es un documento válido del procesador de textos (%1).").arg(detail));
}

} // namespace

const char kBlankStyles[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<w:styles xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
    R"(<w:docDefaults><w:rPrDefault><w:rPr>)"
    R"(<w:rFonts w:ascii="Times New Roman" w:hAnsi="Times New Roman" w:eastAsia="Times New Roman" w:cs="Times New Roman"/>)"
    R"(<w:sz w:val="24"/><w:szCs w:val="24"/><w:lang w:val="es-ES" w:eastAsia="es-ES" w:bidi="ar-SA"/>)"
    R"(</w:rPr></w:rPrDefault><w:pPrDefault><w:pPr/></w:pPrDefault></w:docDefaults>)"
    R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/><w:qFormat/></w:style>)"
    R"(<w:style w:type="character" w:default="1" w:styleId="DefaultParagraphFont"><w:name w:val="Default Paragraph Font"/>)"
    R"(<w:uiPriority w:val="1"/><w:semiHidden/><w:unhideWhenUsed/></w:style>)"
    R"(<w:style w:type="table" w:default="1" w:styleId="TableNormal"><w:name w:val="Normal Table"/>)"
    R"(<w:uiPriority w:val="99"/><w:semiHidden/><w:unhideWhenUsed/><w:tblPr><w:tblInd w:w="0" w:type="dxa"/>)"
    R"(<w:tblCellMar><w:top w:w="0" w:type="dxa"/><w:left w:w="108" w:type="dxa"/><w:bottom w:w="0" w:type="dxa"/>)"
    R"(<w:right w:w="108" w:type="dxa"/></w:tblCellMar></w:tblPr></w:style>)"
    R"(</w:styles>)";

// ---- construction ---------------------------------------------------------------------------

Document::Document() : d(std::make_unique<DocumentData>()) {
    d->package.setPart(QStringLiteral("[Content_Types].xml"), QByteArray(kBlankContentTypes));
    d->package.setPart(QStringLiteral("_rels/.rels"), QByteArray(kBlankPackageRels));
    d->package.setPart(QStringLiteral("word/styles.xml"), QByteArray(kBlankStyles));
    d->package.setPart(QStringLiteral("word/settings.xml"), QByteArray(kBlankSettings));
    d->main.name = QStringLiteral("word/document.xml");
    parseXml(d->main.xml, QByteArray(kBlankDocument));
    parseXml(d->main.rels, QByteArray(kBlankDocumentRels));
    parseXml(d->contentTypes, QByteArray(kBlankContentTypes));
    d->originalMainType = QString::fromLatin1(kTypeDocument);
}

Document::Document(std::unique_ptr<DocumentData> data) : d(std::move(data)) {}
Document::~Document() = default;
Document::Document(Document&&) noexcept = default;
Document& Document::operator=(Document&&) noexcept = default;

namespace {

// A real official form holds a few hundred form fields; far more only makes every look-up
// and the layout slow.
constexpr int kMaxFormFields = 20000;

Result<std::unique_ptr<DocumentData>> loadPackage(DocxPackage pkg) {
    auto data = std::make_unique<DocumentData>();
    data->package = std::move(pkg);
    if (!parseXml(data->contentTypes, data->package.part(QStringLiteral("[Content_Types].xml"))))
        return badPackage(QStringLiteral("[Content_Types].xml ilegible"));

    QString mainName = QStringLiteral("word/document.xml");
    pugi::xml_document packageRels;
    if (parseXml(packageRels, data->package.part(QStringLiteral("_rels/.rels")))) {
        for (pugi::xml_node r = packageRels.child("Relationships").child("Relationship"); r;
             r = r.next_sibling("Relationship")) {
            if (!std::strcmp(r.attribute("Type").value(), kRelOfficeDocument)) {
                mainName = DocxPackage::resolveTarget(QString(), qs(r.attribute("Target").value()));
                break;
            }
        }
    }
    if (!data->package.has(mainName))
        return badPackage(QStringLiteral("falta el cuerpo del documento"));
    data->main.name = mainName;
    if (!parseXml(data->main.xml, data->package.part(mainName)))
        return badPackage(QStringLiteral("el cuerpo del documento no es XML válido"));
    const pugi::xml_node root = data->main.xml.document_element();
    if (!is(root, "w:document") || std::strcmp(root.attribute("xmlns:w").value(), kNsW) != 0 ||
        !root.child("w:body"))
        return Error::make(DocError::Unsupported,
                           QStringLiteral("El documento usa una variante del formato que no se admite."));
    if (const QString nesting = excessiveNesting(data->main.xml); !nesting.isEmpty())
        return Error::make(DocError::Unsupported,
                           QStringLiteral("El documento %1 y no se puede abrir.").arg(nesting));
    if (countFormFields(data->main.xml) > kMaxFormFields)
        return Error::make(
            DocError::Unsupported,
            QStringLiteral("El documento tiene más de %1 campos de formulario y no se puede abrir.")
                .arg(QLocale(QLocale::Spanish).toString(kMaxFormFields)));
    const QString rels = DocxPackage::relsPartOf(mainName);
    if (data->package.has(rels))
        parseXml(data->main.rels, data->package.part(rels));
    data->originalMainType = data->contentTypeOf(mainName);
    data->isTemplate = data->originalMainType.contains(QLatin1String("template"), Qt::CaseInsensitive);
    return data;
}

} // namespace

Result<Document> Document::open(const QString& path) {
    auto pkg = DocxPackage::fromFile(path);
    if (!pkg.ok())
        return pkg.error();
    auto data = loadPackage(std::move(pkg).value());
    // What is wrong inside the package names the file, as the package's own problems do.
    if (!data.ok())
        return Error::make(data.error().number,
                           QDir::toNativeSeparators(path) + QStringLiteral(": ") + data.error().description);
    Document doc(std::move(data).value());
    doc.d->path = QFileInfo(path).absoluteFilePath();
    return doc;
}

Result<Document> Document::fromBytes(const QByteArray& bytes) {
    auto pkg = DocxPackage::fromBytes(bytes);
    if (!pkg.ok())
        return pkg.error();
    auto data = loadPackage(std::move(pkg).value());
    if (!data.ok())
        return data.error();
    return Document(std::move(data).value());
}

QString Document::path() const {
    return d->path;
}
void Document::detachFromFile() {
    d->path.clear();
}
bool Document::isTemplate() const {
    return d->isTemplate;
}
void Document::setTemplate(bool isTemplate) {
    d->isTemplate = isTemplate;
}

Result<QByteArray> Document::toBytes() const {
    const bool macro = d->originalMainType.contains(QLatin1String("macroEnabled"), Qt::CaseInsensitive);
    const char* type = d->isTemplate ? (macro ? kTypeTemplateMacro : kTypeTemplate)
                                     : (macro ? kTypeDocumentMacro : kTypeDocument);
    d->setOverrideContentType(d->main.name, type);
    d->flushParts();
    return d->package.toBytes();
}

Status Document::saveAs(const QString& path) {
    if (path.isEmpty())
        return Error::make(DocError::NoPath, QStringLiteral("No se ha indicado dónde guardar el documento."));
    const bool macro = d->originalMainType.contains(QLatin1String("macroEnabled"), Qt::CaseInsensitive);
    d->setOverrideContentType(d->main.name, d->isTemplate ? (macro ? kTypeTemplateMacro : kTypeTemplate)
                                                          : (macro ? kTypeDocumentMacro : kTypeDocument));
    d->flushParts();
    VELMORA_TRY(d->package.writeFile(path));
    d->path = QFileInfo(path).absoluteFilePath();
    return {};
}

Status Document::save() {
    if (d->path.isEmpty())
        return Error::make(DocError::NoPath, QStringLiteral("El documento no se ha guardado nunca."));
    return saveAs(d->path);
}

} // namespace velmora::docengine
