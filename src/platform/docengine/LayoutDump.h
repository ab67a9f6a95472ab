#pragma once

#include <QString>

namespace velmora::docengine {

class DocumentLayout;

// A plain-text account of laid-out pages: page size and count, then per page every text with
// its baseline position (0.01 pt) and the font it is drawn in, every line, fill and check box,
// and every picture's place with a hash of its pixels. Two layouts that print the same give
// the same text, so a change to the engine can be checked against the pages it made before.
QString dumpLayout(const DocumentLayout& layout);

} // namespace velmora::docengine
