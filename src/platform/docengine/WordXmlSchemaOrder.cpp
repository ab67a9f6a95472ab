#include "platform/docengine/WordXml.h"

#include <cstring>

namespace velmora::docengine::wx {

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

namespace {

// A properties element, which the schema puts first in its parent.
pugi::xml_node ensureProperties(pugi::xml_node parent, const char* name) {
    if (pugi::xml_node properties = parent.child(name))
        return properties;
    return parent.prepend_child(name);
}

} // namespace

pugi::xml_node ensurePPr(pugi::xml_node paragraph) {
    return ensureProperties(paragraph, "w:pPr");
}

pugi::xml_node ensureRPr(pugi::xml_node run) {
    return ensureProperties(run, "w:rPr");
}

pugi::xml_node ensureTblPr(pugi::xml_node table) {
    return ensureProperties(table, "w:tblPr");
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

} // namespace velmora::docengine::wx
