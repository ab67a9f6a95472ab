#pragma once

#include <QString>

namespace velmora {

// How many vacancy or resultas rows one printed page holds, taken from numPlazasPorPag of
// conf.xml. Every reader of that setting converts it here, so the editor, the printing and
// the office's check agree on the number and on what an unusable value turns into.
struct PositionsPerPage {
    static constexpr int kDefault = 40;
    // Beyond this the rows of a page would be printed too small to read.
    static constexpr int kMaximum = 100;

    int count = kDefault;
    QString warning; // set when the written value was not usable and kDefault is used instead

    static PositionsPerPage fromText(const QString& text);
};

} // namespace velmora
