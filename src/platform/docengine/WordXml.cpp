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
