#pragma once

#include "platform/data/RecordSet.h"

namespace velmora::test {

// Every row of a table's current view as "a|b|c", for whole-table comparisons.
inline QStringList rowsOf(RecordSet& table) {
    QStringList rows;
    for (table.moveFirst(); !table.isEOF(); table.moveNext()) {
        QStringList cells;
        for (int c = 0; c < table.columnCount(); ++c)
            cells << table.text(c);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace velmora::test
