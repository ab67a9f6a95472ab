#include "platform/docengine/WordXml.h"

#include <cmath>
#include <cstdlib>

namespace velmora::docengine {

RunFormat RunFormat::mergedWith(const RunFormat& over) const {
    RunFormat r = *this;
    if (!over.font.isEmpty())
        r.font = over.font;
    if (over.size > 0)
        r.size = over.size;
    if (over.bold)
        r.bold = over.bold;
    if (over.italic)
        r.italic = over.italic;
    if (over.underline)
        r.underline = over.underline;
    if (over.hidden)
        r.hidden = over.hidden;
    if (over.color)
        r.color = over.color;
    return r;
}

namespace wx {

namespace {

const std::initializer_list<const char*> kRPrOrder = {"w:rStyle",
                                                      "w:rFonts",
                                                      "w:b",
                                                      "w:bCs",
                                                      "w:i",
                                                      "w:iCs",
                                                      "w:caps",
                                                      "w:smallCaps",
                                                      "w:strike",
                                                      "w:dstrike",
                                                      "w:outline",
                                                      "w:shadow",
                                                      "w:emboss",
                                                      "w:imprint",
                                                      "w:noProof",
                                                      "w:snapToGrid",
                                                      "w:vanish",
                                                      "w:webHidden",
                                                      "w:color",
                                                      "w:spacing",
                                                      "w:w",
                                                      "w:kern",
                                                      "w:position",
                                                      "w:sz",
                                                      "w:szCs",
                                                      "w:highlight",
                                                      "w:u",
                                                      "w:effect",
                                                      "w:bdr",
                                                      "w:shd",
                                                      "w:fitText",
                                                      "w:vertAlign",
                                                      "w:rtl",
                                                      "w:cs",
                                                      "w:em",
                                                      "w:lang",
                                                      "w:eastAsianLayout",
                                                      "w:specVanish",
                                                      "w:oMath"};

const std::initializer_list<const char*> kPPrOrder = {"w:pStyle",
                                                      "w:keepNext",
                                                      "w:keepLines",
                                                      "w:pageBreakBefore",
                                                      "w:framePr",
                                                      "w:widowControl",
                                                      "w:numPr",
                                                      "w:suppressLineNumbers",
                                                      "w:pBdr",
                                                      "w:shd",
                                                      "w:tabs",
                                                      "w:suppressAutoHyphens",
                                                      "w:kinsoku",
                                                      "w:wordWrap",
                                                      "w:overflowPunct",
                                                      "w:topLinePunct",
                                                      "w:autoSpaceDE",
                                                      "w:autoSpaceDN",
                                                      "w:bidi",
                                                      "w:adjustRightInd",
                                                      "w:snapToGrid",
                                                      "w:spacing",
                                                      "w:ind",
                                                      "w:contextualSpacing",
                                                      "w:mirrorIndents",
                                                      "w:suppressOverlap",
                                                      "w:jc",
                                                      "w:textDirection",
                                                      "w:textAlignment",
                                                      "w:textboxTightWrap",
                                                      "w:outlineLvl",
                                                      "w:divId",
                                                      "w:cnfStyle",
                                                      "w:rPr",
                                                      "w:sectPr",
                                                      "w:pPrChange"};

const std::initializer_list<const char*> kTblPrOrder = {"w:tblStyle",
                                                        "w:tblpPr",
                                                        "w:tblOverlap",
                                                        "w:bidiVisual",
                                                        "w:tblStyleRowBandSize",
                                                        "w:tblStyleColBandSize",
                                                        "w:tblW",
                                                        "w:jc",
                                                        "w:tblCellSpacing",
                                                        "w:tblInd",
                                                        "w:tblBorders",
                                                        "w:shd",
                                                        "w:tblLayout",
                                                        "w:tblCellMar",
                                                        "w:tblLook",
                                                        "w:tblCaption",
                                                        "w:tblDescription"};

const std::initializer_list<const char*> kTrPrOrder = {
    "w:cnfStyle",  "w:divId",    "w:gridBefore", "w:gridAfter",      "w:wBefore", "w:wAfter",
    "w:cantSplit", "w:trHeight", "w:tblHeader",  "w:tblCellSpacing", "w:jc",      "w:hidden"};

const std::initializer_list<const char*> kTcPrOrder = {
    "w:cnfStyle", "w:tcW",   "w:gridSpan",      "w:hMerge",    "w:vMerge", "w:tcBorders", "w:shd",
    "w:noWrap",   "w:tcMar", "w:textDirection", "w:tcFitText", "w:vAlign", "w:hideMark"};

const std::initializer_list<const char*> kSectPrOrder = {
    "w:headerReference", "w:footerReference", "w:footnotePr",     "w:endnotePr", "w:type",          "w:pgSz",
    "w:pgMar",           "w:paperSrc",        "w:pgBorders",      "w:lnNumType", "w:pgNumType",     "w:cols",
    "w:formProt",        "w:vAlign",          "w:noEndnote",      "w:titlePg",   "w:textDirection", "w:bidi",
    "w:rtlGutter",       "w:docGrid",         "w:printerSettings"};

int orderIndex(const char* name, std::initializer_list<const char*> order) {
    int i = 0;
    for (const char* o : order) {
        if (std::strcmp(o, name) == 0)
            return i;
        ++i;
    }
    return -1;
}

} // namespace

std::string utf8(const QString& s) {
    return s.toStdString();
}

int intVal(const pugi::xml_node& n, const char* attr, int fallback) {
    const pugi::xml_attribute a = n.attribute(attr);
    if (!a)
        return fallback;
    const char* s = a.value();
    char* end = nullptr;
    const double v = std::strtod(s, &end);
    if (end == s)
        return fallback;
    return static_cast<int>(std::lround(v));
}

bool onOff(const pugi::xml_node& n, bool fallback) {
    if (!n)
        return fallback;
    const pugi::xml_attribute a = n.attribute("w:val");
    if (!a)
        return true;
    const char* v = a.value();
    return !(std::strcmp(v, "0") == 0 || std::strcmp(v, "false") == 0 || std::strcmp(v, "off") == 0);
}

pugi::xml_node ensureChild(pugi::xml_node parent, const char* name,
                           std::initializer_list<const char*> order) {
    if (pugi::xml_node existing = parent.child(name))
        return existing;
    const int mine = orderIndex(name, order);
    if (mine >= 0) {
        for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element)
                continue;
            const int theirs = orderIndex(c.name(), order);
            if (theirs > mine)
                return parent.insert_child_before(name, c);
        }
    }
    return parent.append_child(name);
}

pugi::xml_node ensurePPr(pugi::xml_node paragraph) {
    if (pugi::xml_node p = paragraph.child("w:pPr"))
        return p;
    return paragraph.prepend_child("w:pPr");
}

pugi::xml_node ensureRPr(pugi::xml_node run) {
    if (pugi::xml_node p = run.child("w:rPr"))
        return p;
    return run.prepend_child("w:rPr");
}

pugi::xml_node ensureTblPr(pugi::xml_node table) {
    if (pugi::xml_node p = table.child("w:tblPr"))
        return p;
    return table.prepend_child("w:tblPr");
}

pugi::xml_node ensureTrPr(pugi::xml_node row) {
    if (pugi::xml_node p = row.child("w:trPr"))
        return p;
    // trPr follows tblPrEx when present.
    if (pugi::xml_node ex = row.child("w:tblPrEx"))
        return row.insert_child_after("w:trPr", ex);
    return row.prepend_child("w:trPr");
}

pugi::xml_node ensureTcPr(pugi::xml_node cell) {
    if (pugi::xml_node p = cell.child("w:tcPr"))
        return p;
    return cell.prepend_child("w:tcPr");
}

pugi::xml_node ensureSectPrChild(pugi::xml_node sectPr, const char* name) {
    return ensureChild(sectPr, name, kSectPrOrder);
}

pugi::xml_node rPrChild(pugi::xml_node rPr, const char* name) {
    return ensureChild(rPr, name, kRPrOrder);
}
pugi::xml_node pPrChild(pugi::xml_node pPr, const char* name) {
    return ensureChild(pPr, name, kPPrOrder);
}
pugi::xml_node tblPrChild(pugi::xml_node tblPr, const char* name) {
    return ensureChild(tblPr, name, kTblPrOrder);
}
pugi::xml_node trPrChild(pugi::xml_node trPr, const char* name) {
    return ensureChild(trPr, name, kTrPrOrder);
}
pugi::xml_node tcPrChild(pugi::xml_node tcPr, const char* name) {
    return ensureChild(tcPr, name, kTcPrOrder);
}

namespace {

void setOnOff(pugi::xml_node rPr, const char* name, bool on) {
    pugi::xml_node n = rPrChild(rPr, name);
    n.remove_attribute("w:val");
    if (!on)
        n.append_attribute("w:val") = "0";
}

void setAttr(pugi::xml_node n, const char* name, const char* value) {
    pugi::xml_attribute a = n.attribute(name);
    if (!a)
        a = n.append_attribute(name);
    a.set_value(value);
}

void setAttr(pugi::xml_node n, const char* name, int value) {
    pugi::xml_attribute a = n.attribute(name);
    if (!a)
        a = n.append_attribute(name);
    a.set_value(value);
}

} // namespace

void applyRunFormat(pugi::xml_node rPr, const RunFormat& f) {
    if (!f.font.isEmpty()) {
        pugi::xml_node fonts = rPrChild(rPr, "w:rFonts");
        const std::string name = utf8(f.font);
        fonts.remove_attribute("w:asciiTheme");
        fonts.remove_attribute("w:hAnsiTheme");
        fonts.remove_attribute("w:cstheme");
        setAttr(fonts, "w:ascii", name.c_str());
        setAttr(fonts, "w:hAnsi", name.c_str());
        setAttr(fonts, "w:cs", name.c_str());
    }
    if (f.bold) {
        setOnOff(rPr, "w:b", *f.bold);
        setOnOff(rPr, "w:bCs", *f.bold);
    }
    if (f.italic) {
        setOnOff(rPr, "w:i", *f.italic);
        setOnOff(rPr, "w:iCs", *f.italic);
    }
    if (f.hidden)
        setOnOff(rPr, "w:vanish", *f.hidden);
    if (f.color) {
        const std::string hex = utf8(f.color->name(QColor::HexRgb).mid(1).toUpper());
        setAttr(rPrChild(rPr, "w:color"), "w:val", hex.c_str());
    }
    if (f.size > 0) {
        const int halfPoints = static_cast<int>(std::lround(f.size * 2));
        setAttr(rPrChild(rPr, "w:sz"), "w:val", halfPoints);
        setAttr(rPrChild(rPr, "w:szCs"), "w:val", halfPoints);
    }
    if (f.underline)
        setAttr(rPrChild(rPr, "w:u"), "w:val", *f.underline ? "single" : "none");
}

const char* alignmentValue(Alignment a) {
    switch (a) {
    case Alignment::Left:
        return "left";
    case Alignment::Center:
        return "center";
    case Alignment::Right:
        return "right";
    case Alignment::Justify:
        return "both";
    }
    return "left";
}

Alignment alignmentFrom(const char* jc, Alignment fallback) {
    if (!jc || !*jc)
        return fallback;
    if (!std::strcmp(jc, "center"))
        return Alignment::Center;
    if (!std::strcmp(jc, "right") || !std::strcmp(jc, "end"))
        return Alignment::Right;
    if (!std::strcmp(jc, "both") || !std::strcmp(jc, "distribute"))
        return Alignment::Justify;
    if (!std::strcmp(jc, "left") || !std::strcmp(jc, "start"))
        return Alignment::Left;
    return fallback;
}

void applyParagraphFormat(pugi::xml_node pPr, const ParagraphFormat& f) {
    if (f.keepWithNext) {
        pugi::xml_node n = pPrChild(pPr, "w:keepNext");
        n.remove_attribute("w:val");
        if (!*f.keepWithNext)
            n.append_attribute("w:val") = "0";
    }
    if (f.pageBreakBefore) {
        pugi::xml_node n = pPrChild(pPr, "w:pageBreakBefore");
        n.remove_attribute("w:val");
        if (!*f.pageBreakBefore)
            n.append_attribute("w:val") = "0";
    }
    if (f.spaceBefore || f.spaceAfter || f.lineSpacing) {
        pugi::xml_node sp = pPrChild(pPr, "w:spacing");
        if (f.spaceBefore)
            setAttr(sp, "w:before", *f.spaceBefore);
        if (f.spaceAfter)
            setAttr(sp, "w:after", *f.spaceAfter);
        if (f.lineSpacing) {
            setAttr(sp, "w:line", static_cast<int>(std::lround(*f.lineSpacing * 240)));
            setAttr(sp, "w:lineRule", "auto");
        }
    }
    if (f.indentLeft || f.indentRight || f.firstLineIndent) {
        pugi::xml_node ind = pPrChild(pPr, "w:ind");
        if (f.indentLeft)
            setAttr(ind, "w:left", *f.indentLeft);
        if (f.indentRight)
            setAttr(ind, "w:right", *f.indentRight);
        if (f.firstLineIndent) {
            ind.remove_attribute("w:firstLine");
            ind.remove_attribute("w:hanging");
            if (*f.firstLineIndent >= 0)
                setAttr(ind, "w:firstLine", *f.firstLineIndent);
            else
                setAttr(ind, "w:hanging", -*f.firstLineIndent);
        }
    }
    if (f.alignment)
        setAttr(pPrChild(pPr, "w:jc"), "w:val", alignmentValue(*f.alignment));
}

QString xmlSafe(const QString& text) {
    QString out;
    out.reserve(text.size());
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate()) {
            if (i + 1 < n && text.at(i + 1).isLowSurrogate()) {
                out.append(c);
                out.append(text.at(++i));
            }
            continue;
        }
        if (c.isLowSurrogate())
            continue;
        if (u == 0x0B) {
            out.append(QChar(u'\n'));
            continue;
        }
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f')
            continue;
        if (u == 0xFFFE || u == 0xFFFF)
            continue;
        out.append(c);
    }
    return out;
}

void appendRunContent(pugi::xml_node run, const QString& text) {
    int start = 0;
    auto flush = [&](int end) {
        if (end > start) {
            pugi::xml_node t = run.append_child("w:t");
            const QString piece = text.mid(start, end - start);
            if (piece.front().isSpace() || piece.back().isSpace())
                t.append_attribute("xml:space") = "preserve";
            t.text().set(utf8(piece).c_str());
        }
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\n' || c == u'\r' || c == u'\t' || c == u'\f') {
            flush(i);
            if (c == u'\t') {
                run.append_child("w:tab");
            } else {
                pugi::xml_node br = run.append_child("w:br");
                if (c == u'\f')
                    br.append_attribute("w:type") = "page";
            }
            start = i + 1;
        }
    }
    flush(text.size());
}

pugi::xml_node makeRun(pugi::xml_node parent, pugi::xml_node before, pugi::xml_node rPrModel,
                       const QString& text) {
    pugi::xml_node run = before ? parent.insert_child_before("w:r", before) : parent.append_child("w:r");
    if (rPrModel)
        run.append_copy(rPrModel);
    appendRunContent(run, text);
    return run;
}

void appendRunText(const pugi::xml_node& run, QString& out) {
    for (pugi::xml_node c = run.first_child(); c; c = c.next_sibling()) {
        const char* n = c.name();
        if (n[0] != 'w' || n[1] != ':')
            continue;
        n += 2;
        if (!std::strcmp(n, "t"))
            out += QString::fromUtf8(c.child_value());
        else if (!std::strcmp(n, "tab"))
            out += QChar(u'\t');
        else if (!std::strcmp(n, "br") || !std::strcmp(n, "cr"))
            out += QChar(u'\n');
        else if (!std::strcmp(n, "noBreakHyphen"))
            out += QChar(u'-');
        else if (!std::strcmp(n, "sym")) {
            bool ok = false;
            const uint code = QString::fromUtf8(c.attribute("w:char").value()).toUInt(&ok, 16);
            if (ok && code >= 0xF000)
                out += QChar(char16_t(code - 0xF000));
            else if (ok)
                out += QChar(char16_t(code));
        }
    }
}

pugi::xml_node enclosingParagraph(pugi::xml_node n) {
    for (; n; n = n.parent())
        if (is(n, "w:p"))
            return n;
    return {};
}

bool isRunContainer(const pugi::xml_node& n) {
    const char* name = n.name();
    return !std::strcmp(name, "w:hyperlink") || !std::strcmp(name, "w:smartTag") ||
           !std::strcmp(name, "w:ins") || !std::strcmp(name, "w:sdt") || !std::strcmp(name, "w:sdtContent") ||
           !std::strcmp(name, "w:fldSimple") || !std::strcmp(name, "w:customXml") ||
           !std::strcmp(name, "w:dir") || !std::strcmp(name, "w:bdo");
}

bool isInlineContent(const pugi::xml_node& n) {
    if (n.type() != pugi::node_element)
        return false;
    return is(n, "w:r") || isRunContainer(n);
}

pugi::xml_node nextInOrder(pugi::xml_node n, const pugi::xml_node& root, bool skipChildren) {
    if (!skipChildren) {
        if (pugi::xml_node c = n.first_child())
            return c;
    }
    while (n && n != root) {
        if (pugi::xml_node s = n.next_sibling())
            return s;
        n = n.parent();
    }
    return {};
}

pugi::xml_node firstInlineChild(pugi::xml_node p) {
    for (pugi::xml_node c = p.first_child(); c; c = c.next_sibling())
        if (!is(c, "w:pPr"))
            return c;
    return {};
}

namespace {

bool isContainerBlock(const pugi::xml_node& n) {
    return is(n, "w:body") || is(n, "w:tbl") || is(n, "w:tr") || is(n, "w:tc") || is(n, "w:sdt") ||
           is(n, "w:sdtContent") || is(n, "w:customXml");
}

} // namespace

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

QString excessiveNesting(const pugi::xml_node& root) {
    int depth = 0;
    int tables = 0;
    int controls = 0;
    const auto count = [&](const pugi::xml_node& n, int step) {
        if (n.type() != pugi::node_element)
            return;
        depth += step;
        if (is(n, "w:tbl"))
            tables += step;
        else if (is(n, "w:sdt") || is(n, "w:customXml"))
            controls += step;
    };
    // Iterative on purpose: this is the walk that must survive the files it refuses.
    pugi::xml_node n = root.first_child();
    while (n) {
        count(n, +1);
        if (tables > kMaxTableNesting)
            return QStringLiteral("anida más de %1 tablas unas dentro de otras").arg(kMaxTableNesting);
        if (controls > kMaxContentControlNesting)
            return QStringLiteral("anida más de %1 controles de contenido unos dentro de otros")
                .arg(kMaxContentControlNesting);
        if (depth > kMaxElementDepth)
            return QStringLiteral("anida su contenido en más de %1 niveles").arg(kMaxElementDepth);
        if (pugi::xml_node child = n.first_child()) {
            n = child;
            continue;
        }
        for (;;) {
            count(n, -1);
            if (pugi::xml_node next = n.next_sibling()) {
                n = next;
                break;
            }
            n = n.parent();
            if (!n || n == root)
                return {};
        }
    }
    return {};
}

pugi::xml_node makeParagraphLike(pugi::xml_node parent, pugi::xml_node before, pugi::xml_node model) {
    pugi::xml_node p = before ? parent.insert_child_before("w:p", before) : parent.append_child("w:p");
    if (pugi::xml_node pPr = model.child("w:pPr")) {
        pugi::xml_node copy = p.append_copy(pPr);
        copy.remove_child("w:sectPr");
        copy.remove_child("w:pageBreakBefore");
        copy.remove_child("w:pPrChange");
        if (!copy.first_child())
            p.remove_child(copy);
    }
    return p;
}

} // namespace wx
} // namespace velmora::docengine
