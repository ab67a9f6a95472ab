#include "platform/docengine/Document.h"

#include "platform/docengine/DocumentData.h"
#include "platform/docengine/InlineRange.h"
#include "platform/docengine/WordXml.h"

namespace velmora::docengine {

using namespace wx;

namespace {

Error missing(const QString& what) {
    return Error::make(DocError::MissingMember, QStringLiteral("El documento no contiene %1.").arg(what));
}

} // namespace

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

} // namespace velmora::docengine
