#pragma once

#include "platform/Result.h"

#include <QString>

#include <pugixml.hpp>

namespace velmora::docengine {

struct DocumentData;

// Replaces what lies strictly between two markers of the same paragraph (or of two sibling
// paragraphs, which are then joined) with one run holding `text`. The new run takes the
// formatting of the first replaced run, else `rPrFallback`, else that of the text before.
Status replaceInlineRange(DocumentData& d, pugi::xml_node start, pugi::xml_node end, const QString& text,
                          pugi::xml_node rPrFallback);

} // namespace velmora::docengine
