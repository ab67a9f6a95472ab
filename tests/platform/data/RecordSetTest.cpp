#include "platform/data/RecordSet.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <algorithm>
#include <array>

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

TEST(RecordSet, ColumnsAreTypedWithCaseInsensitiveNames) {
    RecordSet rs = makePositions();
    EXPECT_TRUE(rs.isBOF() && rs.isEOF()) << "an empty view";
    EXPECT_EQ(rs.value(u"Orden").error().number, ErrorCode::NoCurrentRecord);
    addRow(rs, 7, u"01"_s, u"Cáceres"_s);
    EXPECT_EQ(rs.integer(u"ORDEN"), 7);
    EXPECT_EQ(rs.text(u"codarea"), u"01"_s);
    EXPECT_TRUE(rs.setValue(u"orden", u" 12 "_s));
    EXPECT_EQ(rs.integer(u"Orden"), 12);

    const Status bad = rs.setValue(u"Orden", u"doce"_s);
    EXPECT_TRUE(!bad.ok() && bad.error().number == ErrorCode::TypeMismatch);
    EXPECT_EQ(rs.integer(u"Orden"), 12);
    EXPECT_FALSE(rs.setValue(u"NoExiste", 1));

    // A declared size is a description, never a cut.
    const QString longName(53, QLatin1Char('x'));
    EXPECT_TRUE(rs.setValue(u"Localidad", longName));
    EXPECT_EQ(rs.text(u"Localidad"), longName);

    EXPECT_FALSE(rs.appendColumn(u"Tarde"_s, ColumnType::Text, 5)) << "columns are fixed once open";
}

TEST(RecordSet, CriteriaTextsSelectRows) {
    RecordSet rs = makePositions();
    for (int i = 1; i <= 8; ++i)
        addRow(rs, i, i % 2 ? u"01"_s : u"02"_s, u"L%1"_s.arg(i), QString::number(10 + i % 3));

    // Comparisons of text ignore case, as the catalogue codes are written either way.
    const std::pair<const char*, QStringList> cases[] = {
        {" ORDEN >= 3 and ORDEN <= 5 ", {"3", "4", "5"}},
        {" ORDEN < 4 and ORDEN >= 2 ", {"2", "3"}},
        {"CodArea='02' ", {"2", "4", "6", "8"}},
        {"Codinstitucion=12 ", {"2", "5", "8"}},
        {" ( CodArea='01' OR Localidad='L4' ) AND ( Codinstitucion='11' OR Codinstitucion='10' ) ",
         {"1", "3", "4", "7"}},
        {"orden='3' ", {"3"}},
        {"CodArea <> '01'", {"2", "4", "6", "8"}},
        {"codarea = '0X' or ORDEN > 7", {"8"}},
        {"Localidad='l6'", {"6"}},
    };
    for (const auto& [criteria, orders] : cases) {
        ASSERT_TRUE(rs.setFilter(QString::fromLatin1(criteria))) << criteria;
        EXPECT_EQ(column(rs, u"Orden"_s), orders) << criteria;
        EXPECT_EQ(rs.filter(), QString::fromLatin1(criteria));
    }

    // Criteria that do not parse are errors and keep the previous filter.
    ASSERT_TRUE(rs.setFilter(u"ORDEN > 2"_s));
    for (const char* bad : {"ORDEN >", "Nada='1'", "CodArea='01", "(ORDEN = 1", "ORDEN = 'uno'", "ORDEN 3",
                            "CodArea='01' AND", "ORDEN = 1 XOR ORDEN = 2"}) {
        EXPECT_FALSE(rs.setFilter(QString::fromLatin1(bad))) << bad;
        EXPECT_EQ(rs.filter(), u"ORDEN > 2"_s) << bad;
        EXPECT_EQ(rs.recordCount(), 6) << bad;
        EXPECT_FALSE(rs.find(QString::fromLatin1(bad))) << bad;
    }
    rs.clearFilter();
    EXPECT_EQ(rs.recordCount(), 8);
    EXPECT_TRUE(rs.filter().isEmpty());

    // A find searches forward from the current row, itself first (hence twice).
    rs.moveFirst();
    ASSERT_TRUE(rs.find(u"CodArea='02'"_s) && rs.find(u"CodArea='02'"_s));
    EXPECT_EQ(rs.integer(u"Orden"), 2);
    rs.moveNext();
    ASSERT_TRUE(rs.find(u"CodArea='01' AND ORDEN < 3"_s));
    EXPECT_TRUE(rs.isEOF());
    // Sorted views are searched in their own order.
    ASSERT_TRUE(rs.setSort(u"Localidad DESC"_s));
    rs.moveFirst(); // L8 = Orden 8
    ASSERT_TRUE(rs.find(u"CodArea = '01'"_s));
    EXPECT_EQ(rs.integer(u"Orden"), 7);
}

TEST(Filter, QuotedTextMatchesOnlyItself) {
    RecordSet rs = makePositions();
    for (const char* place : {"O'Donnell", "O'Donnell'", "ODonnell", "O''Donnell"})
        addRow(rs, rs.recordCount() + 1, u"01"_s, QString::fromUtf8(place));
    const ColumnName localidad(u"Localidad");
    ASSERT_TRUE(rs.setFilter(Filter::equals(localidad, u"O'Donnell")));
    EXPECT_EQ(column(rs, u"Orden"_s), QStringList{"1"});
    ASSERT_TRUE(
        rs.setFilter(Filter::equals(localidad, u"O''Donnell").andEquals(ColumnName(u"CodArea"), u"01")));
    EXPECT_EQ(column(rs, u"Orden"_s), QStringList{"4"});
}

TEST(RecordSet, ClonesShareRowsWithTheirOwnView) {
    RecordSet rs = makePositions();
    addRow(rs, 1, u"01"_s, u"Zamora"_s);
    addRow(rs, 2, u"02"_s, u"Ávila"_s);
    auto clone = rs.clone();
    ASSERT_TRUE(clone->sharesRowsWith(rs));

    ASSERT_TRUE(rs.setFilter(u"CodArea='01'"_s));
    ASSERT_TRUE(clone->setSort(u"Localidad ASC"_s));
    EXPECT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(column(*clone, u"Localidad"_s), QStringList({"Ávila", "Zamora"}));

    // A row added through one cursor is seen by the others at once, where it matches.
    addRow(*clone, 3, u"01"_s, u"Badajoz"_s);
    EXPECT_EQ(column(rs, u"Orden"_s), QStringList({"1", "3"}));

    // A value written through one cursor is read through the other.
    rs.moveFirst();
    ASSERT_TRUE(rs.setValue(u"Localidad", u"Zafra"_s));
    clone->moveFirst();
    clone->moveNext();
    EXPECT_EQ(clone->text(u"Localidad"), u"Zafra"_s);

    // A sorted clone or a copy takes the order a sort gives now, not the view's stale one.
    rs.clearFilter();
    ASSERT_TRUE(rs.setSort(u"Localidad"_s)); // Ávila (2), Badajoz (3), Zafra (1)
    EXPECT_EQ(column(*rs.cloneInSortOrder(), u"Orden"_s), QStringList({"2", "3", "1"}));
    rs.moveFirst();
    ASSERT_TRUE(rs.setValue(u"Localidad", u"Zurita"_s));
    EXPECT_EQ(column(rs, u"Orden"_s), QStringList({"2", "3", "1"}));
    EXPECT_EQ(column(*rs.cloneInSortOrder(), u"Orden"_s), QStringList({"3", "1", "2"}));
    RecordSet copy = rs.copy();
    EXPECT_FALSE(copy.sharesRowsWith(rs));
    EXPECT_EQ(column(copy, u"Orden"_s), QStringList({"3", "1", "2"}));
    ASSERT_TRUE(copy.addRow(std::array<QString, 3>{"4", "03", "Mérida"}));
    ASSERT_TRUE(copy.setFilter(u"CodArea='03'"_s));
    EXPECT_EQ(column(copy, u"Orden"_s), QStringList({"4"}));
    EXPECT_EQ(rs.recordCount(), 3);
}

TEST(RecordSet, DeletingWhileWalkingVisitsEveryOtherRowOnce) {
    RecordSet rs = makePositions();
    for (int i = 1; i <= 6; ++i)
        addRow(rs, i, u"01"_s, u"L"_s);
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
    EXPECT_EQ(column(rs, u"Orden"_s), QStringList({"1", "3", "5"}));

    // The other cursor's row went away: no current row, and moving on reaches the next one.
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
        addRow(rs, ++i, u"01"_s, name);
    ASSERT_TRUE(rs.setSort(u" Localidad ASC "_s));
    EXPECT_EQ(column(rs, u"Localidad"_s),
              QStringList({"Almería", "Ávila", "ávila", "badajoz", "Ecija", "Écija", "Navarra", "Nuñez",
                           "Ñora", "Oviedo", "Zamora"}));
    ASSERT_TRUE(rs.setSort(u"Orden DESC"_s));
    EXPECT_EQ(column(rs, u"Orden"_s).first(), u"11"_s);
    EXPECT_FALSE(rs.setSort(u"Nada ASC"_s));
    ASSERT_TRUE(rs.setSort(QString()));
    EXPECT_EQ(column(rs, u"Orden"_s).first(), u"1"_s);
}

// Filters and finds go through indexes; a plain scan of every row is the reference
// they must agree with, whatever the mix of adds, edits and deletes before them.
TEST(RecordSet, IndexedSearchesAgreeWithAPlainScan) {
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
            const QString area = u"A%1"_s.arg(random.bounded(15));
            addRow(step % 2 ? rs : *clone, orden, area, u"x"_s);
            model.push_back({orden, area, true});
        } else {
            // Edit or delete a random live row through the clone, found through the index.
            const QString area = u"A%1"_s.arg(random.bounded(15));
            clone->clearFilter();
            clone->moveFirst();
            ASSERT_TRUE(clone->find(u"CodArea='%1'"_s.arg(area)));
            if (clone->isEOF())
                continue;
            // The first live row of that area in insertion order is the one found.
            auto first = std::find_if(model.begin(), model.end(),
                                      [&](const Row& r) { return r.alive && r.area == area; });
            ASSERT_NE(first, model.end());
            ASSERT_EQ(first->orden, clone->integer(u"Orden"));
            if (action < 8) {
                ASSERT_TRUE(clone->setValue(u"CodArea", u"a%1"_s.arg(random.bounded(15))));
                first->area = clone->text(u"CodArea").toUpper();
                ASSERT_TRUE(clone->setValue(u"CodArea", first->area));
            } else {
                ASSERT_TRUE(clone->deleteCurrent());
                first->alive = false;
            }
        }
    }
    for (int a = 0; a < 15; ++a) {
        const QString area = u"A%1"_s.arg(a);
        ASSERT_TRUE(rs.setFilter(u"(CodArea='%1' OR CodArea='A14') AND ORDEN >= 5"_s.arg(area)));
        const auto expected = std::count_if(model.begin(), model.end(), [&](const Row& r) {
            return r.alive && (r.area == area || r.area == QLatin1String("A14")) && r.orden >= 5;
        });
        EXPECT_EQ(rs.recordCount(), int(expected)) << area.toStdString();
    }
}

namespace {

// Writes down every event with what the listened cursor shows at that moment.
struct EventLog : RecordSetListener {
    explicit EventLog(RecordSet& watched) : set(&watched) { set->addListener(this); }
    ~EventLog() override {
        if (set)
            set->removeListener(this);
    }
    QString where(qint64 rowId) const {
        return u"%1/%2"_s.arg(set->positionOfRowId(rowId)).arg(set->recordCount());
    }
    void rowAdded(qint64 rowId) override { events << u"added "_s + where(rowId); }
    void rowChanged(qint64 rowId, int column) override {
        events << u"changed %1 %2"_s.arg(set->positionOfRowId(rowId)).arg(column);
    }
    void rowAboutToBeRemoved(qint64 rowId) override { events << u"removing "_s + where(rowId); }
    void rowRemoved(qint64 rowId) override { events << u"removed "_s + where(rowId); }
    void viewReset() override { events << u"reset %1"_s.arg(set->recordCount()); }
    void recordSetDestroyed() override {
        events << u"destroyed"_s;
        set = nullptr;
    }
    QStringList take() { return std::exchange(events, {}); }

    RecordSet* set;
    QStringList events;
};

} // namespace

TEST(RecordSetEvents, WritesThroughAnyCursorReachTheListenersOfEveryCursor) {
    RecordSet rs = makePositions();
    addRow(rs, 1, u"01"_s, u"Zamora"_s);
    auto clone = rs.clone();
    ASSERT_TRUE(rs.setFilter(u"CodArea='01'"_s));
    EventLog log(rs);
    EventLog cloneLog(*clone);

    // The row joins the filtered view once its values match, while it is the newest row;
    // each listener sees its own cursor already up to date.
    addRow(*clone, 2, u"01"_s, u"Ávila"_s);
    EXPECT_EQ(cloneLog.take(),
              QStringList({"added 1/2", "changed 1 0", "changed 1 1", "changed 1 2", "changed 1 3"}));
    EXPECT_EQ(log.take(), QStringList({"added 1/2", "changed 1 2", "changed 1 3"}));

    // A row that never matches tells the filtered view nothing; nor does one its filter
    // judged when it was set.
    addRow(*clone, 3, u"02"_s, u"Badajoz"_s);
    ASSERT_TRUE(rs.setFilter(u"CodArea='01'"_s));
    ASSERT_TRUE(clone->setValue(u"CodArea", u"01"_s));
    EXPECT_EQ(log.take(), QStringList({"reset 2"}));
    cloneLog.take();

    // Told while the row is still in every view, then after it left.
    clone->moveFirst();
    ASSERT_TRUE(clone->deleteCurrent());
    EXPECT_EQ(log.take(), QStringList({"removing 0/2", "removed -1/1"}));
    EXPECT_EQ(cloneLog.take(), QStringList({"removing 0/3", "removed -1/2"}));
    EXPECT_EQ(rs.valueAt(0, 0), QVariant(qint64(2)));
    EXPECT_FALSE(rs.valueAt(1, 0).isValid());
    EXPECT_EQ(rs.textOfRowId(clone->rowIdAt(1), 2), u"Badajoz"_s) << "a row out of the view";
}

TEST(RecordSetEvents, ListenersCanMirrorEveryView) {
    // A copy of each view kept from the events alone must always agree with the view, in
    // natural, sorted and filtered order and whichever cursor writes.
    struct Mirror : RecordSetListener {
        RecordSet* set = nullptr;
        std::vector<qint64> rows;
        void rowAdded(qint64 rowId) override {
            ASSERT_EQ(set->positionOfRowId(rowId), int(rows.size()));
            rows.push_back(rowId);
        }
        void rowAboutToBeRemoved(qint64 rowId) override {
            const int at = set->positionOfRowId(rowId);
            ASSERT_TRUE(at >= 0 && rows[size_t(at)] == rowId);
            rows.erase(rows.begin() + at);
        }
        void viewReset() override {
            rows.clear();
            for (int i = 0; i < set->recordCount(); ++i)
                rows.push_back(set->rowIdAt(i));
        }
    };
    QRandomGenerator random(42);
    RecordSet rs = makePositions();
    auto sorted = rs.clone();
    auto filtered = rs.clone();
    ASSERT_TRUE(sorted->setSort(u"Localidad DESC"_s));
    ASSERT_TRUE(filtered->setFilter(u"CodArea='A1' OR CodArea='A2'"_s));
    Mirror mirrors[3];
    RecordSet* cursors[3] = {&rs, sorted.get(), filtered.get()};
    for (int i = 0; i < 3; ++i) {
        mirrors[i].set = cursors[i];
        cursors[i]->addListener(&mirrors[i]);
    }
    for (int step = 0; step < 600; ++step) {
        RecordSet& writer = *cursors[random.bounded(3)];
        if (random.bounded(3) > 0 || writer.recordCount() == 0) {
            addRow(writer, step, u"A%1"_s.arg(random.bounded(4)), u"L%1"_s.arg(random.bounded(50)));
        } else {
            writer.setAbsolutePosition(random.bounded(writer.recordCount()));
            ASSERT_TRUE(writer.deleteCurrent());
        }
        if (step % 150 == 149) {
            ASSERT_TRUE(sorted->setSort(u"Orden ASC"_s));
        }
        for (int i = 0; i < 3; ++i) {
            std::vector<qint64> view;
            for (int p = 0; p < cursors[i]->recordCount(); ++p)
                view.push_back(cursors[i]->rowIdAt(p));
            ASSERT_EQ(mirrors[i].rows, view) << "cursor " << i;
        }
    }
    for (int i = 0; i < 3; ++i)
        cursors[i]->removeListener(&mirrors[i]);
}

TEST(RecordSetEvents, ResetsReachOnlyTheCursorThatChanged) {
    RecordSet rs = makePositions();
    addRow(rs, 1, u"01"_s, u"Zamora"_s);
    addRow(rs, 2, u"02"_s, u"Ávila"_s);
    auto clone = rs.clone();
    EventLog log(rs);
    EventLog cloneLog(*clone);

    ASSERT_TRUE(rs.setFilter(u"CodArea='02'"_s));
    ASSERT_TRUE(rs.setSort(u"Localidad"_s));
    EXPECT_FALSE(rs.setFilter(u"CodArea='"_s));
    rs.close();
    ASSERT_TRUE(rs.open());
    EXPECT_EQ(log.take(), QStringList({"reset 1", "reset 1", "reset 0", "reset 1"}));
    EXPECT_EQ(cloneLog.take(), QStringList());

    // Rebuilding the table in place (as the loaders do) keeps the listener, which from
    // then on hears the new rows, not the old ones.
    ASSERT_TRUE(createTable(rs, {{"Codigo", ColumnType::Text, 2}, {"Nombre", ColumnType::Text, 20}}));
    addRow(*clone, 3, u"03"_s, u"Cáceres"_s);
    ASSERT_TRUE(rs.addNew());
    EXPECT_EQ(log.take(), QStringList({"reset 0", "reset 0", "added 0/1"}));

    // Moved out, the source is left new and empty with its listeners; a cursor that dies
    // tells them.
    RecordSet taken = std::move(rs);
    EXPECT_EQ(log.take(), QStringList({"reset 0"}));
    EXPECT_EQ(taken.recordCount(), 1);
    cloneLog.take();
    clone.reset();
    EXPECT_EQ(cloneLog.take(), QStringList({"destroyed"}));
}
