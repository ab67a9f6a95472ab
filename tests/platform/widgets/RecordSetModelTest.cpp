#include "platform/widgets/RecordSetModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

void addLocality(RecordSet& rs, const QString& name, const QString& province) {
    ASSERT_TRUE(rs.addNew());
    ASSERT_TRUE(rs.setValue(u"Localidad", name));
    ASSERT_TRUE(rs.setValue(u"CodProvincia", province));
}

// What the model shows, row by row, as "cell|cell".
QStringList shown(const QAbstractItemModel& model) {
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells << model.index(r, c).data().toString();
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

TEST(RecordSetModel, FollowsWritesThroughOtherCursorsUnderTheModelTester) {
    RecordSet localities;
    ASSERT_TRUE(createTable(localities, {{"Localidad", ColumnType::Text, 60},
                                         {"CodProvincia", ColumnType::Text, 2},
                                         {"Habitantes", ColumnType::Integer, 8}}));
    addLocality(localities, u"Zafra"_s, u"06"_s);
    addLocality(localities, u"Cáceres"_s, u"10"_s);
    auto cursor = localities.clone();
    ASSERT_TRUE(cursor->setSort(u"Localidad ASC"_s));

    RecordSetModel model;
    model.setRecordSet(cursor.get());
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), u"Habitantes"_s);
    model.setColumns(
        {{"localidad", "Localidad", 900}, {"CODPROVINCIA", "Provincia", 0}, {"Nada", "Vacía", 0}});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    EXPECT_EQ(shown(model), QStringList({"Cáceres|10|", "Zafra|06|"}));

    addLocality(localities, u"Almendralejo"_s, u"06"_s);
    EXPECT_EQ(shown(model).last(), u"Almendralejo|06|"_s) << "new rows join at the end";

    // Only writes to a shown column change what is on screen.
    changed.clear();
    ASSERT_TRUE(localities.setValue(u"Habitantes", 30000));
    ASSERT_TRUE(localities.setValue(u"Localidad", u"Almendralejo (Badajoz)"_s));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex(), model.index(2, 0));

    localities.moveFirst(); // Zafra, second on screen
    ASSERT_TRUE(localities.deleteCurrent());
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed[0][1].toInt(), 1);

    // The cursor's own filter resets the model; rows added elsewhere join when they match.
    ASSERT_TRUE(cursor->setFilter(u"CodProvincia='06'"_s));
    addLocality(localities, u"Mérida"_s, u"06"_s);
    addLocality(localities, u"Plasencia"_s, u"10"_s);
    EXPECT_EQ(shown(model), QStringList({"Almendralejo (Badajoz)|06|", "Mérida|06|"}));

    // The loaders rebuild tables by assignment; a cursor that goes away leaves an empty model.
    ASSERT_TRUE(createTable(*cursor, {{"Grupo", ColumnType::Text, 2}}));
    ASSERT_TRUE(cursor->addNew());
    ASSERT_TRUE(cursor->setValue(u"Grupo", u"A1"_s));
    EXPECT_EQ(shown(model), QStringList({"||"}));
    cursor.reset();
    EXPECT_EQ(model.rowCount(), 0);
}
