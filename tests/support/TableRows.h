#pragma once

#include "platform/data/RecordSet.h"

#include <gtest/gtest.h>

namespace velmora::test {

// A row of `table` for each of `rows`: its values for `columns`, or for the first columns in
// order when none are named.
inline void addRows(RecordSet& table, const QStringList& columns, const QList<QVariantList>& rows) {
    for (const QVariantList& row : rows) {
        ASSERT_TRUE(table.addNew().ok());
        for (int c = 0; c < int(row.size()); ++c) {
            const Status set =
                columns.isEmpty() ? table.setValue(c, row[c]) : table.setValue(columns[c], row[c]);
            ASSERT_TRUE(set.ok()) << c;
        }
    }
}

} // namespace velmora::test
