#include "platform/docengine/Document.h"

#include "platform/docengine/DocumentData.h"
#include "platform/docengine/InlineRange.h"
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

const char kBlankSettings[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<w:settings xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
    R"(<w:defaultTabStop w:val="708"/><w:characterSpacingControl w:val="doNotCompress"/>)"
    R"(<w:compat><w:compatSetting w:name="compatibilityMode" w:uri="http://schemas.microsoft.com/office/word" w:val="15"/></w:compat>)"
    R"(</w:settings>)";

Error missing(const QString& what) {
    return Error::make(DocError::MissingMember, QStringLiteral("El documento no contiene %1.").arg(what));
}

Error badPackage(const QString& detail) {
    return Error::make(
        DocError::NotAPackage,
        QStringLiteral("El archivo no es un documento válido del procesador de textos (%1).").arg(detail));
}

void appendPlainText(pugi::xml_node container, QString& out);

void appendParagraphText(pugi::xml_node p, QString& out) {
    const pugi::xml_node root = p;
    for (pugi::xml_node n = p.first_child(); n;) {
        if (is(n, "w:r")) {
            appendRunText(n, out);
            n = nextInOrder(n, root, true);
        } else {
            n = nextInOrder(n, root, is(n, "w:pPr") || is(n, "w:del") || is(n, "w:moveFrom"));
        }
    }
}

void appendPlainText(pugi::xml_node container, QString& out) {
    for (pugi::xml_node c = container.first_child(); c; c = c.next_sibling()) {
        if (is(c, "w:p")) {
            appendParagraphText(c, out);
            out += QChar(u'\n');
        } else if (is(c, "w:tbl")) {
            for (pugi::xml_node tr = c.child("w:tr"); tr; tr = tr.next_sibling("w:tr")) {
                bool first = true;
                for (pugi::xml_node tc = tr.child("w:tc"); tc; tc = tc.next_sibling("w:tc")) {
                    if (!first)
                        out += QChar(u'\t');
                    first = false;
                    QString cell;
                    appendPlainText(tc, cell);
                    while (cell.endsWith(u'\n'))
                        cell.chop(1);
                    cell.replace(u'\n', u' ');
                    out += cell;
                }
                out += QChar(u'\n');
            }
        } else if (is(c, "w:sdt")) {
            appendPlainText(c.child("w:sdtContent"), out);
        } else if (is(c, "w:customXml")) {
            appendPlainText(c, out);
        }
    }
}

pugi::xml_node firstInlineChild(pugi::xml_node p) {
    for (pugi::xml_node c = p.first_child(); c; c = c.next_sibling())
        if (!is(c, "w:pPr"))
            return c;
    return {};
}

// Paragraph holding run `n` and the paragraph-level child that holds it.
pugi::xml_node topLevelChild(pugi::xml_node n, pugi::xml_node paragraph) {
    while (n && n.parent() != paragraph)
        n = n.parent();
    return n;
}

// Splits a run so that its first `chars` characters go to a new run before it; returns the run
// holding the rest.
pugi::xml_node splitRunAt(pugi::xml_node run, int chars) {
    if (chars <= 0)
        return run;
    pugi::xml_node head = run.parent().insert_child_before("w:r", run);
    if (pugi::xml_node rPr = run.child("w:rPr"))
        head.append_copy(rPr);
    int seen = 0;
    for (pugi::xml_node c = run.first_child(); c && seen < chars;) {
        pugi::xml_node next = c.next_sibling();
        if (is(c, "w:rPr")) {
            c = next;
            continue;
        }
        int len = 0;
        if (is(c, "w:t"))
            len = QString::fromUtf8(c.child_value()).size();
        else if (is(c, "w:tab") || is(c, "w:br") || is(c, "w:cr") || is(c, "w:noBreakHyphen") ||
                 is(c, "w:sym"))
            len = 1;
        if (seen + len <= chars) {
            head.append_move(c);
            seen += len;
        } else {
            const QString text = QString::fromUtf8(c.child_value());
            const int cut = chars - seen;
            pugi::xml_node t = head.append_child("w:t");
            t.append_attribute("xml:space") = "preserve";
            t.text().set(utf8(text.left(cut)).c_str());
            c.text().set(utf8(text.mid(cut)).c_str());
            if (!c.attribute("xml:space"))
                c.append_attribute("xml:space") = "preserve";
            seen = chars;
        }
        c = next;
    }
    return run;
}

bool isContainerBlock(const pugi::xml_node& n) {
    return is(n, "w:body") || is(n, "w:tbl") || is(n, "w:tr") || is(n, "w:tc") || is(n, "w:sdt") ||
           is(n, "w:sdtContent") || is(n, "w:customXml");
}

// The first paragraph at or after `n` in document order, looking into tables and content controls.
pugi::xml_node paragraphFrom(pugi::xml_node n, const pugi::xml_node& root) {
    while (n) {
        if (is(n, "w:p"))
            return n;
        n = nextInOrder(n, root, !isContainerBlock(n));
    }
    return {};
}

pugi::xml_node nextParagraph(pugi::xml_node from, const pugi::xml_node& root) {
    return paragraphFrom(nextInOrder(from, root, true), root);
}

struct TextMatch {
    pugi::xml_node run;
    int offset = -1;
};

// Finds `needle` in the text of paragraph `p` at or after run position `fromChild`.
TextMatch findInParagraph(pugi::xml_node p, const QString& needle, pugi::xml_node fromChild) {
    struct Piece {
        pugi::xml_node run;
        int start;
        int length;
    };
    std::vector<Piece> pieces;
    QString text;
    bool active = !fromChild;
    for (pugi::xml_node n = p.first_child(); n;) {
        if (!active && topLevelChild(n, p) == fromChild)
            active = true;
        if (is(n, "w:r")) {
            if (active) {
                const int before = text.size();
                appendRunText(n, text);
                pieces.push_back({n, before, static_cast<int>(text.size()) - before});
            }
            n = nextInOrder(n, p, true);
        } else {
            n = nextInOrder(n, p, is(n, "w:pPr") || is(n, "w:del"));
        }
    }
    const int at = text.indexOf(needle);
    if (at < 0)
        return {};
    for (const Piece& pc : pieces)
        if (at < pc.start + pc.length)
            return {pc.run, at - pc.start};
    return {};
}

} // namespace

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

PageSetup Document::pageSetup() const {
    return d->pageSetup();
}

void Document::setPageSetup(const PageSetup& s) {
    pugi::xml_node sect = d->finalSectPr();
    if (!sect)
        sect = d->body().append_child("w:sectPr");
    pugi::xml_node sz = ensureSectPrChild(sect, "w:pgSz");
    sz.remove_attribute("w:w");
    sz.remove_attribute("w:h");
    sz.append_attribute("w:w") = s.width;
    sz.append_attribute("w:h") = s.height;
    if (s.width > s.height) {
        sz.remove_attribute("w:orient");
        sz.append_attribute("w:orient") = "landscape";
    }
    pugi::xml_node mar = ensureSectPrChild(sect, "w:pgMar");
    mar.remove_attributes();
    mar.append_attribute("w:top") = s.marginTop;
    mar.append_attribute("w:right") = s.marginRight;
    mar.append_attribute("w:bottom") = s.marginBottom;
    mar.append_attribute("w:left") = s.marginLeft;
    mar.append_attribute("w:header") = s.header;
    mar.append_attribute("w:footer") = s.footer;
    mar.append_attribute("w:gutter") = 0;
}

namespace {

pugi::xml_node docDefaults(DocumentData& d, bool paragraph) {
    XmlPart* styles = d.partByRelType(kRelStyles);
    if (!styles)
        styles = d.createAuxPart(QStringLiteral("word/styles.xml"), kRelStyles,
                                 "application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml",
                                 QByteArray(kBlankStyles));
    if (!styles)
        return {};
    pugi::xml_node root = styles->xml.document_element();
    pugi::xml_node defs = root.child("w:docDefaults");
    if (!defs)
        defs = root.prepend_child("w:docDefaults");
    if (paragraph) {
        pugi::xml_node pd = defs.child("w:pPrDefault");
        if (!pd)
            pd = defs.append_child("w:pPrDefault");
        pugi::xml_node pPr = pd.child("w:pPr");
        return pPr ? pPr : pd.append_child("w:pPr");
    }
    pugi::xml_node rd = defs.child("w:rPrDefault");
    if (!rd)
        rd = defs.prepend_child("w:rPrDefault");
    pugi::xml_node rPr = rd.child("w:rPr");
    return rPr ? rPr : rd.append_child("w:rPr");
}

} // namespace

void Document::setDefaultFont(const RunFormat& format) {
    if (pugi::xml_node rPr = docDefaults(*d, false))
        applyRunFormat(rPr, format);
}

void Document::setDefaultParagraphFormat(const ParagraphFormat& format) {
    if (pugi::xml_node pPr = docDefaults(*d, true))
        applyParagraphFormat(pPr, format);
}

// ---- form fields ----------------------------------------------------------------------------

Result<FormField> Document::formField(const QString& name) {
    const pugi::xml_node begin = resolveFormField(*d, name);
    if (!begin)
        return missing(QStringLiteral("el campo de formulario «%1»").arg(name));
    return FormField(d.get(), name, begin, formFieldKind(begin));
}

QStringList Document::formFieldNames() {
    d->ensureIndex();
    QStringList names = d->fieldsByName.keys();
    // Fields that lost their own name are known by their bookmark.
    for (auto it = d->bookmarksByName.cbegin(); it != d->bookmarksByName.cend(); ++it) {
        if (d->fieldsByName.contains(it.key()))
            continue;
        const pugi::xml_node begin = resolveFormField(*d, it.key());
        if (begin && !*fldCharOf(begin).child("w:ffData").child("w:name").attribute("w:val").value())
            names << it.key();
    }
    names.sort();
    return names;
}

Status Document::setFieldResult(const QString& name, const QString& text) {
    auto f = formField(name);
    if (!f.ok())
        return f.error();
    return f.value().setResult(text);
}

Result<QString> Document::fieldResult(const QString& name) {
    auto f = formField(name);
    if (!f.ok())
        return f.error();
    return f.value().result();
}

Status Document::setCheckBox(const QString& name, bool checked) {
    auto f = formField(name);
    if (!f.ok())
        return f.error();
    return f.value().setChecked(checked);
}

Result<bool> Document::checkBox(const QString& name) {
    auto f = formField(name);
    if (!f.ok())
        return f.error();
    return f.value().checked();
}

// ---- bookmarks ------------------------------------------------------------------------------

bool Document::hasBookmark(const QString& name) {
    return static_cast<bool>(d->findBookmark(name));
}

QStringList Document::bookmarkNames() {
    d->ensureIndex();
    QStringList names = d->bookmarksByName.keys();
    names.sort();
    return names;
}

Status Document::setBookmarkText(const QString& name, const QString& text) {
    const pugi::xml_node start = d->findBookmark(name);
    if (!start)
        return missing(QStringLiteral("el marcador «%1»").arg(name));
    pugi::xml_node end = d->bookmarkEndOf(start);
    if (!end) {
        // A bookmark without its end is a point: give it one right after its start.
        end = start.parent().insert_child_after("w:bookmarkEnd", start);
        end.append_attribute("w:id") = start.attribute("w:id").value();
        d->setBookmarkEnd(start, end);
    }
    QString clean = xmlSafe(text);
    clean.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    clean.replace(u'\r', u'\n');
    return replaceInlineRange(*d, start, end, clean, {});
}

Result<QString> Document::bookmarkText(const QString& name) {
    const pugi::xml_node start = d->findBookmark(name);
    if (!start)
        return missing(QStringLiteral("el marcador «%1»").arg(name));
    const pugi::xml_node end = d->bookmarkEndOf(start);
    if (!end)
        return QString();
    return runsText(start, end);
}

Result<Cursor> Document::bookmarkCursor(const QString& name) {
    const pugi::xml_node start = d->findBookmark(name);
    if (!start)
        return missing(QStringLiteral("el marcador «%1»").arg(name));
    const pugi::xml_node end = d->bookmarkEndOf(start);
    const pugi::xml_node para = enclosingParagraph(start);
    if (para && end && end.parent() == para)
        return Cursor(d.get(), &d->main, para, end);
    if (para && start.parent() == para)
        return Cursor(d.get(), &d->main, para, start.next_sibling());
    if (pugi::xml_node next = nextParagraph(start, d->body()))
        return Cursor(d.get(), &d->main, next, firstInlineChild(next));
    return Error::make(DocError::Unsupported,
                       QStringLiteral("No se puede escribir en el marcador «%1».").arg(name));
}

// ---- tables ---------------------------------------------------------------------------------

int Document::tableCount() {
    d->ensureTables();
    return static_cast<int>(d->topTables.size());
}

Result<Table> Document::table(int number) {
    d->ensureTables();
    if (number < 1 || number > static_cast<int>(d->topTables.size()))
        return missing(QStringLiteral("la tabla %1").arg(number));
    return Table(d.get(), d->topTables[static_cast<size_t>(number - 1)]);
}

// ---- places ---------------------------------------------------------------------------------

Cursor Document::startCursor() {
    pugi::xml_node body = d->body();
    pugi::xml_node first;
    for (pugi::xml_node c = body.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) {
            first = c;
            break;
        }
    if (!is(first, "w:p"))
        first = first ? body.insert_child_before("w:p", first) : body.append_child("w:p");
    return Cursor(d.get(), &d->main, first, firstInlineChild(first));
}

Cursor Document::endCursor() {
    pugi::xml_node body = d->body();
    pugi::xml_node sect = d->finalSectPr();
    pugi::xml_node last = sect ? sect.previous_sibling() : body.last_child();
    while (last && last.type() != pugi::node_element)
        last = last.previous_sibling();
    if (!is(last, "w:p"))
        last = sect ? body.insert_child_before("w:p", sect) : body.append_child("w:p");
    return Cursor(d.get(), &d->main, last, {});
}

Cursor Document::cursorAfter(const Table& table) {
    if (!table.isValid())
        return {};
    pugi::xml_node tbl = table.m_state->node;
    pugi::xml_node next = tbl.next_sibling();
    while (next && next.type() != pugi::node_element)
        next = next.next_sibling();
    if (!is(next, "w:p"))
        next = tbl.parent().insert_child_after("w:p", tbl);
    return Cursor(d.get(), table.m_state->part, next, firstInlineChild(next));
}

Result<Cursor> Document::findText(const QString& text, const Cursor* from) {
    if (text.isEmpty())
        return Error::make(ErrorCode::InvalidProcedureCall,
                           QStringLiteral("No se ha indicado el texto a buscar."));
    const pugi::xml_node root = d->body();
    pugi::xml_node startPara;
    pugi::xml_node startChild;
    if (from && from->isValid() && from->m_part == &d->main) {
        startPara = from->m_para;
        startChild = from->m_before;
    }
    auto found = [&](pugi::xml_node p, const TextMatch& m) -> Result<Cursor> {
        pugi::xml_node rest = splitRunAt(m.run, m.offset);
        return Cursor(d.get(), &d->main, p, topLevelChild(rest, p));
    };
    if (startPara) {
        if (startChild) {
            const TextMatch m = findInParagraph(startPara, text, startChild);
            if (m.run)
                return found(startPara, m);
        }
        for (pugi::xml_node p = nextParagraph(startPara, root); p; p = nextParagraph(p, root)) {
            const TextMatch m = findInParagraph(p, text, {});
            if (m.run)
                return found(p, m);
        }
    }
    for (pugi::xml_node p = paragraphFrom(root.first_child(), root); p && p != startPara;
         p = nextParagraph(p, root)) {
        const TextMatch m = findInParagraph(p, text, {});
        if (m.run)
            return found(p, m);
    }
    if (startPara) {
        const TextMatch m = findInParagraph(startPara, text, {});
        if (m.run)
            return found(startPara, m);
    }
    return Error::make(DocError::MissingMember, QStringLiteral("No se encuentra el texto «%1».").arg(text));
}

QString Document::plainText() const {
    QString out;
    appendPlainText(d->body(), out);
    return out;
}

namespace {

std::pair<XmlPart*, pugi::xml_node> headerFooterEnd(DocumentData& d, bool footer) {
    pugi::xml_node sect = d.finalSectPr();
    if (!sect)
        sect = d.body().append_child("w:sectPr");
    const char* refName = footer ? "w:footerReference" : "w:headerReference";
    XmlPart* part = nullptr;
    for (pugi::xml_node ref = sect.child(refName); ref; ref = ref.next_sibling(refName)) {
        const char* type = ref.attribute("w:type").value();
        if (!*type || !std::strcmp(type, "default")) {
            part = d.auxPart(d.main.relationshipTarget(qs(ref.attribute("r:id").value())));
            break;
        }
    }
    if (!part) {
        const char* rootName = footer ? "w:ftr" : "w:hdr";
        const QByteArray xml = QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><") +
                               rootName + " xmlns:w=\"" + kNsW + "\" xmlns:r=\"" + kNsR + "\"><w:p/></" +
                               rootName + ">";
        QString name;
        int n = 1;
        do {
            name = QStringLiteral("word/%1%2.xml")
                       .arg(footer ? QStringLiteral("footer") : QStringLiteral("header"))
                       .arg(n++);
        } while (d.package.has(name));
        part = d.createAuxPart(
            name, footer ? kRelFooter : kRelHeader,
            footer ? "application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml"
                   : "application/vnd.openxmlformats-officedocument.wordprocessingml.header+xml",
            xml);
        if (!part)
            return {nullptr, {}};
        // The relationship just added is the last one of the main part.
        const pugi::xml_node rel = d.main.rels.child("Relationships").last_child();
        pugi::xml_node ref = sect.prepend_child(refName);
        if (footer) {
            // Footer references follow header references.
            sect.remove_child(ref);
            pugi::xml_node after;
            for (pugi::xml_node c = sect.first_child(); c && is(c, "w:headerReference"); c = c.next_sibling())
                after = c;
            ref = after ? sect.insert_child_after(refName, after) : sect.prepend_child(refName);
        }
        ref.append_attribute("w:type") = "default";
        ref.append_attribute("r:id") = rel.attribute("Id").value();
        pugi::xml_node root = d.main.xml.document_element();
        if (!root.attribute("xmlns:r"))
            root.append_attribute("xmlns:r") = kNsR;
    }
    pugi::xml_node root = part->xml.document_element();
    pugi::xml_node last = root.last_child();
    while (last && last.type() != pugi::node_element)
        last = last.previous_sibling();
    if (!is(last, "w:p"))
        last = root.append_child("w:p");
    return {part, last};
}

} // namespace

Cursor Document::footerCursor() {
    auto [part, p] = headerFooterEnd(*d, true);
    return part ? Cursor(d.get(), part, p, {}) : Cursor();
}

Cursor Document::headerCursor() {
    auto [part, p] = headerFooterEnd(*d, false);
    return part ? Cursor(d.get(), part, p, {}) : Cursor();
}

// ---- builder --------------------------------------------------------------------------------

DocumentBuilder::DocumentBuilder(Document& document) : m_doc(document), m_cursor(document.endCursor()) {}

namespace {

bool hasInlineContent(pugi::xml_node p) {
    for (pugi::xml_node c = p.first_child(); c; c = c.next_sibling())
        if (isInlineContent(c))
            return true;
    return false;
}

} // namespace

Cursor& DocumentBuilder::paragraph(const ParagraphFormat& format, const RunFormat& font) {
    Cursor end = m_doc.endCursor();
    pugi::xml_node p = end.paragraph();
    const bool reusable = !hasInlineContent(p) && !(!m_fresh && p == m_cursor.paragraph());
    if (!reusable) {
        pugi::xml_node fresh = p.parent().insert_child_after("w:p", p);
        end = Cursor(m_doc.data(), &m_doc.data()->main, fresh, {});
    }
    m_cursor = end;
    m_fresh = false;
    // A reused paragraph starts over with the new format (a section break it ends stays).
    if (pugi::xml_node pPr = end.paragraph().child("w:pPr")) {
        for (pugi::xml_node c = pPr.first_child(); c;) {
            pugi::xml_node next = c.next_sibling();
            if (!is(c, "w:sectPr"))
                pPr.remove_child(c);
            c = next;
        }
        if (!pPr.first_child())
            pPr.parent().remove_child(pPr);
    }
    m_cursor.setParagraphFormat(format);
    if (!font.isEmpty()) {
        m_cursor.setFont(font);
        applyRunFormat(pPrChild(ensurePPr(m_cursor.paragraph()), "w:rPr"), font);
    }
    return m_cursor;
}

Cursor& DocumentBuilder::textParagraph(const QString& text, const RunFormat& font,
                                       const ParagraphFormat& format) {
    paragraph(format, font);
    m_cursor.insertText(text);
    return m_cursor;
}

Table DocumentBuilder::table(const QList<Twips>& columnWidths, int rows, const RunFormat& font) {
    Cursor end = m_doc.endCursor();
    pugi::xml_node p = end.paragraph();
    if (hasInlineContent(p) || (!m_fresh && p == m_cursor.paragraph())) {
        pugi::xml_node fresh = p.parent().insert_child_after("w:p", p);
        end = Cursor(m_doc.data(), &m_doc.data()->main, fresh, {});
    }
    end.setFont(font);
    auto t =
        end.insertTable(rows, static_cast<int>(std::max<qsizetype>(1, columnWidths.size())), columnWidths);
    m_fresh = true;
    m_cursor = m_doc.endCursor();
    if (!t.ok())
        return {};
    if (!font.isEmpty())
        t.value().setFont(font);
    return t.value();
}

void DocumentBuilder::pageBreak() {
    paragraph();
    m_cursor.insertPageBreak();
}

} // namespace velmora::docengine
