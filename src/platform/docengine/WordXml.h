#pragma once

// Small helpers over pugixml for WordprocessingML. The engine addresses elements by their
// conventional prefixes ("w:", "r:", "wp:", "a:", "pic:"); documents are checked for those
// bindings when they are opened.

#include "platform/docengine/DocTypes.h"

#include <QString>

#include <pugixml.hpp>

#include <cstring>
#include <initializer_list>
#include <string>

namespace velmora::docengine::wx {

inline constexpr const char* kNsW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
inline constexpr const char* kNsR = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr const char* kNsWp = "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
inline constexpr const char* kNsA = "http://schemas.openxmlformats.org/drawingml/2006/main";
inline constexpr const char* kNsPic = "http://schemas.openxmlformats.org/drawingml/2006/picture";

inline constexpr const char* kRelImage =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";
inline constexpr const char* kRelStyles =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
inline constexpr const char* kRelSettings =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/settings";
inline constexpr const char* kRelHeader =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/header";
inline constexpr const char* kRelFooter =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/footer";
inline constexpr const char* kRelOfficeDocument =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";

inline bool is(const pugi::xml_node& n, const char* name) {
    return n && std::strcmp(n.name(), name) == 0;
}

std::string utf8(const QString& s);
inline QString qs(const char* s) {
    return QString::fromUtf8(s);
}

// Value of w:val (or another attribute), empty when absent.
inline const char* val(const pugi::xml_node& n, const char* attr = "w:val") {
    return n.attribute(attr).value();
}
int intVal(const pugi::xml_node& n, const char* attr, int fallback);
// An on/off property: absent element is `fallback`; an element without w:val is on.
bool onOff(const pugi::xml_node& n, bool fallback = false);

// Child element kept in schema order: returns the existing one or creates it before the
// first sibling that the schema places after it. Word refuses files whose property
// elements are out of order, so every property write goes through this.
pugi::xml_node ensureChild(pugi::xml_node parent, const char* name, std::initializer_list<const char*> order);
pugi::xml_node ensurePPr(pugi::xml_node paragraph);
pugi::xml_node ensureRPr(pugi::xml_node run);
pugi::xml_node ensureTblPr(pugi::xml_node table);
pugi::xml_node ensureTrPr(pugi::xml_node row);
pugi::xml_node ensureTcPr(pugi::xml_node cell);
pugi::xml_node ensureSectPrChild(pugi::xml_node sectPr, const char* name);
// Property children of rPr / pPr / tblPr / trPr / tcPr in schema order.
pugi::xml_node rPrChild(pugi::xml_node rPr, const char* name);
pugi::xml_node pPrChild(pugi::xml_node pPr, const char* name);
pugi::xml_node tblPrChild(pugi::xml_node tblPr, const char* name);
pugi::xml_node trPrChild(pugi::xml_node trPr, const char* name);
pugi::xml_node tcPrChild(pugi::xml_node tcPr, const char* name);

// Writes the members of `format` that are set into a run-properties element.
void applyRunFormat(pugi::xml_node rPr, const RunFormat& format);
void applyParagraphFormat(pugi::xml_node pPr, const ParagraphFormat& format);
const char* alignmentValue(Alignment a);
Alignment alignmentFrom(const char* jc, Alignment fallback = Alignment::Left);

// Text that XML 1.0 can carry: characters it forbids are dropped; vertical tab (the
// line-break character of older word processors) becomes a line feed.
QString xmlSafe(const QString& text);

// Appends the content of `text` to a run as w:t / w:br / w:tab children; '\n' is a line break,
// '\t' a tab, '\f' a page break. The text must already be xmlSafe.
void appendRunContent(pugi::xml_node run, const QString& text);
// Creates a run with a copy of `rPrModel` (when given) holding `text`.
pugi::xml_node makeRun(pugi::xml_node parent, pugi::xml_node before, pugi::xml_node rPrModel,
                       const QString& text);

// Plain text of a run (w:t, w:tab as '\t', w:br and w:cr as '\n').
void appendRunText(const pugi::xml_node& run, QString& out);

// Paragraph (w:p) that contains `n`, or an empty node.
pugi::xml_node enclosingParagraph(pugi::xml_node n);

// Elements at paragraph level that wrap runs without changing their meaning.
bool isRunContainer(const pugi::xml_node& n);
// Elements that carry visible content inside a paragraph (runs and their containers).
bool isInlineContent(const pugi::xml_node& n);

// Next node after `n` in document order, not descending into `n` itself when `skipChildren`.
// Stays inside `root`.
pugi::xml_node nextInOrder(pugi::xml_node n, const pugi::xml_node& root, bool skipChildren);

// The first child of paragraph `p` after its properties: where inline content starts.
pugi::xml_node firstInlineChild(pugi::xml_node p);
// The first paragraph at or after `n` in document order, looking into tables and content
// controls; and the first one after `from`. Both stay inside `root`.
pugi::xml_node paragraphFrom(pugi::xml_node n, const pugi::xml_node& root);
pugi::xml_node nextParagraph(pugi::xml_node from, const pugi::xml_node& root);

// How deep a readable part may nest its content. Layout, text extraction and the table
// index follow tables and content controls by recursion, so a part nested deeper than any
// real document is refused when it is read, before anything walks it.
inline constexpr int kMaxElementDepth = 256;
inline constexpr int kMaxTableNesting = 32;
inline constexpr int kMaxContentControlNesting = 64;

// Empty when `root`'s content stays within the limits above; otherwise a Spanish phrase
// saying which limit it passes ("anida más de 32 tablas unas dentro de otras").
QString excessiveNesting(const pugi::xml_node& root);

// An empty paragraph whose properties copy those of `model` without section or page-break settings.
pugi::xml_node makeParagraphLike(pugi::xml_node parent, pugi::xml_node before, pugi::xml_node model);

} // namespace velmora::docengine::wx
