#pragma once

#include <QString>

namespace velmora {

// The most vacancy or resultas rows one printed page holds, taken from numPlazasPorPag of
// conf.xml; a page holds fewer when their texts take more lines than that many fit. Every reader of that
// setting converts it here, so the editor, the printing and the office's check agree on the number and on
// what an unusable value turns into.
struct PositionsPerPage {
    static constexpr int kDefault = 40;

    int count = kDefault;
    // Set when the written value was not usable and kDefault is used instead, or when it was
    // more than a sheet holds and the largest that fits is used instead.
    QString warning;

    static PositionsPerPage fromText(const QString& text);
};

} // namespace velmora
