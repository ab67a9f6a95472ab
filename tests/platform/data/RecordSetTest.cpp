#include "platform/data/RecordSet.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <algorithm>

using namespace velmora;

namespace {

RecordSet makePositions() {
    RecordSet rs;
    EXPECT_TRUE(createTable(rs, {{"Orden", ColumnType::Integer, 8},
                                 {"CodArea", ColumnType::Text, 8},
                                 {"Localidad", ColumnType::Text, 50},
                                 {"Codinstitucion", ColumnType::Text, 2}}));
    return rs;
}

void addRow(RecordSet& rs, qint64 orden, const QString& area, const QString& localidad,
            const QString& inst = {}) {
    ASSERT_TRUE(rs.addNew());
    ASSERT_TRUE(rs.setValue(u"Orden", orden));
    ASSERT_TRUE(rs.setValue(u"CodArea", area));
    ASSERT_TRUE(rs.setValue(u"Localidad", localidad));
    ASSERT_TRUE(rs.setValue(u"Codinstitucion", inst));
}

QStringList column(RecordSet& rs, const QString& name) {
    QStringList out;
    for (rs.moveFirst(); !rs.isEOF(); rs.moveNext())
        out << rs.text(name);
    return out;
}

} // namespace

TEST(RecordSet, ColumnsAreTypedAndNamedWithoutRegardToCase) {
    RecordSet rs = makePositions();
    addRow(rs, 7, QStringLiteral("01"), QStringLiteral("Cáceres"));
    EXPECT_EQ(rs.integer(u"ORDEN"), 7);
    EXPECT_EQ(rs.text(u"codarea"), QStringLiteral("01"));
    EXPECT_TRUE(rs.setValue(u"orden", QStringLiteral(" 12 ")));
    EXPECT_EQ(rs.integer(u"Orden"), 12);

    const Status bad = rs.setValue(u"Orden", QStringLiteral("doce"));
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().number, ErrorCode::TypeMismatch);
    EXPECT_EQ(rs.integer(u"Orden"), 12);
    EXPECT_FALSE(rs.setValue(u"NoExiste", 1));

    // A declared size is a description, never a cut.
    const QString longName(53, QLatin1Char('x'));
    EXPECT_TRUE(rs.setValue(u"Localidad", longName));
    EXPECT_EQ(rs.text(u"Localidad"), longName);

    EXPECT_FALSE(rs.appendColumn(QStringLiteral("Tarde"), ColumnType::Text, 5))
        << "columns are fixed once open";
}

TEST(RecordSet, EmptyViewHasBothFlagsAndNoCurrentRow) {
    RecordSet rs = makePositions();
    EXPECT_TRUE(rs.isBOF());
    EXPECT_TRUE(rs.isEOF());
    EXPECT_EQ(rs.recordCount(), 0);
    const auto v = rs.value(u"Orden");
    ASSERT_FALSE(v);
    EXPECT_EQ(v.error().number, ErrorCode::NoCurrentRecord);
}

TEST(RecordSet, FiltersUseTheCriteriaTextsOfTheProgram) {
    RecordSet rs = makePositions();
    for (int i = 1; i <= 8; ++i)
        addRow(rs, i, i % 2 ? QStringLiteral("01") : QStringLiteral("02"), QStringLiteral("L%1").arg(i),
               QString::number(10 + i % 3));

    ASSERT_TRUE(rs.setFilter(QStringLiteral(" ORDEN >= 3 and ORDEN <= 5 ")));
    EXPECT_EQ(column(rs, QStringLiteral("Orden")), QStringList({"3", "4", "5"}));
    EXPECT_EQ(rs.filter(), QStringLiteral(" ORDEN >= 3 and ORDEN <= 5 "));

    ASSERT_TRUE(rs.setFilter(QStringLiteral(" ORDEN < 4 and ORDEN >= 2 ")));
    EXPECT_EQ(rs.recordCount(), 2);

    ASSERT_TRUE(rs.setFilter(QStringLiteral("CodArea='02' ")));
    EXPECT_EQ(column(rs, QStringLiteral("Orden")), QStringList({"2", "4", "6", "8"}));

    ASSERT_TRUE(rs.setFilter(QStringLiteral("Codinstitucion=12 ")));
    EXPECT_EQ(column(rs, QStringLiteral("Orden")), QStringList({"2", "5", "8"}));

    ASSERT_TRUE(rs.setFilter(QStringLiteral(
        " ( CodArea='01' OR Localidad='L4' ) AND ( Codinstitucion='11' OR Codinstitucion='10' ) ")));
    EXPECT_EQ(column(rs, QStringLiteral("Orden")), QStringList({"1", "3", "4", "7"}));

    ASSERT_TRUE(rs.setFilter(
        QStringLiteral("IdSolicitud='3' ").replace(QLatin1String("IdSolicitud"), QLatin1String("orden"))));
    EXPECT_EQ(column(rs, QStringLiteral("Orden")), QStringList({"3"}));

    ASSERT_TRUE(rs.setFilter(QStringLiteral("CodArea <> '01'")));
    EXPECT_EQ(rs.recordCount(), 4);
    ASSERT_TRUE(rs.setFilter(QStringLiteral("codarea = '0X' or ORDEN > 7")));
    EXPECT_EQ(column(rs, QStringLiteral("Orden")), QStringList({"8"}));

    // Comparisons of text ignore case, as the catalogue codes are written either way.
    ASSERT_TRUE(rs.setFilter(QStringLiteral("Localidad='l6'")));
    EXPECT_EQ(rs.recordCount(), 1);

    rs.clearFilter();
    EXPECT_EQ(rs.recordCount(), 8);
    EXPECT_TRUE(rs.filter().isEmpty());
}

TEST(RecordSet, CriteriaThatDoNotParseAreErrorsAndKeepThePreviousFilter) {
    RecordSet rs = makePositions();
    for (int i = 1; i <= 4; ++i)
        addRow(rs, i, QStringLiteral("01"), QStringLiteral("L"));
    ASSERT_TRUE(rs.setFilter(QStringLiteral("ORDEN > 2")));
    for (const char* bad : {"ORDEN >", "Nada='1'", "CodArea='01", "(ORDEN = 1", "ORDEN = 'uno'", "ORDEN 3",
                            "CodArea='01' AND", "ORDEN = 1 XOR ORDEN = 2"}) {
        const Status status = rs.setFilter(QString::fromLatin1(bad));
        EXPECT_FALSE(status) << bad;
        EXPECT_EQ(rs.filter(), QStringLiteral("ORDEN > 2")) << bad;
        EXPECT_EQ(rs.recordCount(), 2) << bad;
        EXPECT_FALSE(rs.find(QString::fromLatin1(bad))) << bad;
    }
}

TEST(RecordSet, ClonesShareRowsButKeepTheirOwnFilterSortAndPosition) {
    RecordSet rs = makePositions();
    addRow(rs, 1, QStringLiteral("01"), QStringLiteral("Zamora"));
    addRow(rs, 2, QStringLiteral("02"), QStringLiteral("Ávila"));
    auto clone = rs.clone();
    ASSERT_TRUE(clone->sharesRowsWith(rs));

    ASSERT_TRUE(rs.setFilter(QStringLiteral("CodArea='01'")));
    ASSERT_TRUE(clone->setSort(QStringLiteral("Localidad ASC")));
    EXPECT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(column(*clone, QStringLiteral("Localidad")), QStringList({"Ávila", "Zamora"}));

    // A row added through one cursor is seen by the others at once, where it matches.
    addRow(*clone, 3, QStringLiteral("01"), QStringLiteral("Badajoz"));
    EXPECT_EQ(column(rs, QStringLiteral("Orden")), QStringList({"1", "3"}));

    // A value written through one cursor is read through the other.
    rs.moveFirst();
    ASSERT_TRUE(rs.setValue(u"Localidad", QStringLiteral("Zafra")));
    clone->moveFirst();
    clone->moveNext();
    EXPECT_EQ(clone->text(u"Localidad"), QStringLiteral("Zafra"));

    // A row deleted through one cursor leaves every other.
    clone->moveFirst();
    EXPECT_EQ(clone->text(u"Localidad"), QStringLiteral("Ávila"));
    ASSERT_TRUE(clone->deleteCurrent());
    rs.clearFilter();
    EXPECT_EQ(column(rs, QStringLiteral("Orden")), QStringList({"1", "3"}));
}

TEST(RecordSet, DeletingWhileWalkingVisitsEveryOtherRowOnce) {
    RecordSet rs = makePositions();
    for (int i = 1; i <= 6; ++i)
        addRow(rs, i, QStringLiteral("01"), QStringLiteral("L"));
    auto other = rs.clone();
    other->moveFirst();
    other->moveNext(); // on Orden 2

    QStringList seen;
    for (rs.moveFirst(); !rs.isEOF(); rs.moveNext()) {
        seen << QString::number(rs.integer(u"Orden"));
        if (rs.integer(u"Orden") % 2 == 0) {
            ASSERT_TRUE(rs.deleteCurrent());
        }
    }
    EXPECT_EQ(seen, QStringList({"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(column(rs, QStringLiteral("Orden")), QStringList({"1", "3", "5"}));

    // The other cursor stood on a row that went away: it has no current row, and
    // moving on reaches the row that followed.
    EXPECT_FALSE(other->value(u"Orden"));
    other->moveNext();
    EXPECT_EQ(other->integer(u"Orden"), 3);
}

TEST(RecordSet, SortOrdersTextAsASpanishReaderExpects) {
    RecordSet rs = makePositions();
    const QStringList names = {"Zamora", "ávila", "Ñora",  "Navarra", "Almería", "Ávila",
                               "Oviedo", "Nuñez", "Écija", "Ecija",   "badajoz"};
    int i = 0;
    for (const QString& name : names)
        addRow(rs, ++i, QStringLiteral("01"), name);
    ASSERT_TRUE(rs.setSort(QStringLiteral(" Localidad ASC ")));
    EXPECT_EQ(column(rs, QStringLiteral("Localidad")),
              QStringList({"Almería", "Ávila", "ávila", "badajoz", "Ecija", "Écija", "Navarra", "Nuñez",
                           "Ñora", "Oviedo", "Zamora"}));
    ASSERT_TRUE(rs.setSort(QStringLiteral("Orden DESC")));
    rs.moveFirst();
    EXPECT_EQ(rs.integer(u"Orden"), 11);
    EXPECT_FALSE(rs.setSort(QStringLiteral("Nada ASC")));
    ASSERT_TRUE(rs.setSort(QString()));
    rs.moveFirst();
    EXPECT_EQ(rs.integer(u"Orden"), 1);
}

TEST(RecordSet, FindSearchesForwardFromTheCurrentRow) {
    RecordSet rs = makePositions();
    for (int i = 1; i <= 6; ++i)
        addRow(rs, i, i <= 3 ? QStringLiteral("01") : QStringLiteral("02"), QStringLiteral("L%1").arg(7 - i));

    rs.moveFirst();
    ASSERT_TRUE(rs.find(QStringLiteral("CodArea='02'")));
    EXPECT_EQ(rs.integer(u"Orden"), 4);
    ASSERT_TRUE(rs.find(QStringLiteral("CodArea='02'")));
    EXPECT_EQ(rs.integer(u"Orden"), 4) << "the current row itself is the first candidate";
    rs.moveNext();
    ASSERT_TRUE(rs.find(QStringLiteral("CodArea='01'")));
    EXPECT_TRUE(rs.isEOF());

    // Sorted views are searched in their own order.
    ASSERT_TRUE(rs.setSort(QStringLiteral("Localidad")));
    rs.moveFirst(); // L1 = Orden 6
    ASSERT_TRUE(rs.find(QStringLiteral("CodArea = '01'")));
    EXPECT_EQ(rs.integer(u"Orden"), 3);
}

// Filters and finds go through indexes; a plain scan of every row is the reference
// they must agree with, whatever the mix of adds, edits and deletes before them.
TEST(RecordSet, IndexedFiltersAndFindsAgreeWithAPlainScan) {
    QRandomGenerator random(20261206);
    RecordSet rs = makePositions();
    auto clone = rs.clone();
    struct Row {
        qint64 orden;
        QString area;
        bool alive;
    };
    std::vector<Row> model;
    for (int step = 0; step < 3000; ++step) {
        const int action = random.bounded(10);
        if (action < 6 || model.empty()) {
            const qint64 orden = random.bounded(20);
            const QString area = QStringLiteral("A%1").arg(random.bounded(15));
            addRow(step % 2 ? rs : *clone, orden, area, QStringLiteral("x"));
            model.push_back({orden, area, true});
        } else {
            // Edit or delete a random live row through the clone, found through the index.
            const QString area = QStringLiteral("A%1").arg(random.bounded(15));
            clone->clearFilter();
            clone->moveFirst();
            ASSERT_TRUE(clone->find(QStringLiteral("CodArea='%1'").arg(area)));
            if (clone->isEOF())
                continue;
            const qint64 orden = clone->integer(u"Orden");
            auto it = std::find_if(model.begin(), model.end(), [&](const Row& r) {
                return r.alive && r.area == area && r.orden == orden;
            });
            ASSERT_NE(it, model.end());
            // The first live row of that area in insertion order is the one found.
            auto first = std::find_if(model.begin(), model.end(),
                                      [&](const Row& r) { return r.alive && r.area == area; });
            ASSERT_EQ(first->orden, orden);
            if (action < 8) {
                ASSERT_TRUE(clone->setValue(u"CodArea", QStringLiteral("a%1").arg(random.bounded(15))));
                first->area = clone->text(u"CodArea").toUpper();
                ASSERT_TRUE(clone->setValue(u"CodArea", first->area));
            } else {
                ASSERT_TRUE(clone->deleteCurrent());
                first->alive = false;
            }
        }
    }
    for (int a = 0; a < 15; ++a) {
        const QString area = QStringLiteral("A%1").arg(a);
        ASSERT_TRUE(rs.setFilter(QStringLiteral("(CodArea='%1' OR CodArea='A14') AND ORDEN >= 5").arg(area)));
        const auto expected = std::count_if(model.begin(), model.end(), [&](const Row& r) {
            return r.alive && (r.area == area || r.area == QLatin1String("A14")) && r.orden >= 5;
        });
        EXPECT_EQ(rs.recordCount(), int(expected)) << area.toStdString();
    }
}
