#include "platform/widgets/DataGrid.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace velmora;

TEST(DataGrid, SelectionFollowsTheRowWhileOtherCursorsWrite) {
    RecordSet list;
    ASSERT_TRUE(
        createTable(list, {{"Orden", ColumnType::Integer, 8}, {"CodConvocatoria", ColumnType::Text, 5}}));
    QList<qint64> ids;
    for (int order = 1; order <= 4; ++order) {
        ASSERT_TRUE(list.addNew());
        ASSERT_TRUE(list.setValue(u"Orden", order));
        ASSERT_TRUE(list.setValue(u"CodConvocatoria", u"0000%1"_s.arg(order)));
        ids << list.currentRowId();
    }
    ASSERT_TRUE(list.setSort(u"Orden DESC"_s)); // shown 4 3 2 1
    DataGrid grid;
    grid.bind(&list);
    QSignalSpy selectionChanged(&grid, &DataGrid::rowSelectionChanged);

    grid.selectRowId(ids[1]);
    EXPECT_EQ(selectionChanged.count(), 1);
    EXPECT_EQ(grid.selectedText(u"codconvocatoria"), u"00002"_s);

    // A row deleted above the selected one and a row added elsewhere move it on screen,
    // not the selection off it.
    auto other = list.clone();
    ASSERT_TRUE(other->moveToRowId(ids[3]));
    ASSERT_TRUE(other->deleteCurrent());
    ASSERT_TRUE(other->addNew());
    EXPECT_EQ(grid.selectedRowId(), ids[1]);
    grid.selectionModel()->select(grid.model()->index(0, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(grid.selectedRowIds(), QList<qint64>({ids[2], ids[1]})) << "in the grid's order";

    // A new sort drops the selection, and says so.
    selectionChanged.clear();
    ASSERT_TRUE(list.setSort(u"Orden ASC"_s));
    EXPECT_EQ(selectionChanged.count(), 1);
    EXPECT_EQ(grid.selectedRowId(), -1);
    EXPECT_EQ(grid.selectedText(u"Orden"), QString());
}
