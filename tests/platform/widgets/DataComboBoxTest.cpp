#include "platform/widgets/DataComboBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

constexpr auto kLongName = "47Valladolid, Área de Salud Este y Zona Básica Rural de Tordesillas";

class DataComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(createTable(
            provinces, {{"CodProvincia", ColumnType::Text, 2}, {"Provincia", ColumnType::Text, 20}}));
        for (const char* row : {"06Badajoz", "10Cáceres", "05Ávila", "37Salamanca", kLongName}) {
            const QString text = QString::fromUtf8(row);
            ASSERT_TRUE(provinces.addNew());
            ASSERT_TRUE(provinces.setValue(u"CodProvincia", text.left(2)));
            ASSERT_TRUE(provinces.setValue(u"Provincia", text.mid(2)));
        }
        combo.bind(&provinces);
        QObject::connect(&combo, &DataComboBox::textEdited,
                         [this](const QString& t) { events << "textEdited " + t; });
        QObject::connect(&combo, &DataComboBox::choiceConfirmed, [this] { events << "choiceConfirmed"; });
        QObject::connect(&combo, &DataComboBox::listClosed, [this] { events << "listClosed"; });
        combo.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&combo));
        combo.setFocus();
    }
    QStringList takeEvents() {
        QApplication::processEvents(); // the close of the list is told from the event loop
        return std::exchange(events, {});
    }

    RecordSet provinces;
    DataComboBox combo;
    QStringList events;
};

} // namespace

TEST_F(DataComboBoxTest, BindsTheKeyColumnBesideTheShownOne) {
    EXPECT_EQ(combo.keyColumn(), u"CodProvincia"_s);
    EXPECT_EQ(combo.displayColumn(), u"Provincia"_s);
    combo.setText(u"Cáceres"_s);
    EXPECT_EQ(combo.value(), u"10"_s);
    EXPECT_TRUE(combo.isListItem());
    combo.setText(u"Madrid"_s);
    EXPECT_EQ(combo.value(), QString());
    EXPECT_FALSE(combo.isListItem());
    EXPECT_EQ(combo.lineEdit()->text(), u"Madrid"_s) << "a text that is no item is shown";
    combo.setValue(u"05"_s);
    EXPECT_EQ(combo.text(), u"Ávila"_s);
    EXPECT_EQ(takeEvents(), QStringList());

    // A one-column table keys and shows that column.
    RecordSet groups;
    ASSERT_TRUE(createTable(groups, {{"Grupo", ColumnType::Text, 2}}));
    DataComboBox cboGrupo;
    cboGrupo.bind(&groups);
    EXPECT_EQ(cboGrupo.keyColumn(), u"Grupo"_s);
    EXPECT_EQ(cboGrupo.displayColumn(), u"Grupo"_s);
}

TEST_F(DataComboBoxTest, APickFromTheListConfirmsTheChoiceThenClosesTheList) {
    combo.setColumnWidthTwips(1, 5700);
    combo.showPopup();
    QTableView* list = combo.listView();
    EXPECT_GE(list->window()->width(), 380) << "the list is wide enough for its columns";
    const QPoint avila = list->visualRect(combo.listModel()->index(2, 0)).center();
    QTest::mouseMove(list->viewport(), avila);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, avila);
    EXPECT_EQ(takeEvents(), QStringList({"choiceConfirmed", "listClosed"}));
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(combo.value(), u"05"_s);
    EXPECT_EQ(combo.lineEdit()->text(), u"Ávila"_s);

    // Escape closes the list without a pick; the arrow keys on the closed box pick, as from
    // a list opened and closed at once.
    combo.showPopup();
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(takeEvents(), QStringList({"listClosed"}));
    QTest::keyClick(&combo, Qt::Key_Down);
    EXPECT_EQ(takeEvents(), QStringList({"choiceConfirmed", "listClosed"}));
    EXPECT_EQ(combo.text(), u"Salamanca"_s);
}

TEST_F(DataComboBoxTest, TypingChoosesTheRowItNames) {
    QTest::keyClicks(&combo, u"Salamanc"_s);
    EXPECT_EQ(combo.value(), QString());
    QTest::keyClick(&combo, Qt::Key_A);
    EXPECT_EQ(takeEvents().last(), u"textEdited Salamanca"_s);
    EXPECT_EQ(combo.value(), u"37"_s);

    // Enter is no pick, even when the text names another row than the chosen one.
    combo.setChoice(u"06"_s, u"Salamanca"_s);
    QTest::keyClick(&combo, Qt::Key_Return);
    EXPECT_EQ(takeEvents(), QStringList());
    EXPECT_EQ(combo.value(), u"06"_s);

    combo.setTypingBlocked(true);
    QTest::keyClicks(&combo, u"xyz"_s);
    QTest::keyClick(&combo, Qt::Key_Backspace);
    EXPECT_EQ(combo.lineEdit()->text(), u"Salamanca"_s);
    EXPECT_EQ(takeEvents(), QStringList());
    QTest::keyClick(&combo, Qt::Key_F4);
    EXPECT_TRUE(combo.listView()->isVisible()) << "the list still opens";
}

TEST_F(DataComboBoxTest, TypingInTheOpenListGoesToTheNextNameOrCodeStartingSo) {
    const QString longName = QString::fromUtf8(kLongName).mid(2);
    const int interval = QApplication::keyboardInputInterval();
    QApplication::setKeyboardInputInterval(600000); // a loaded machine splits no search in two
    const struct {
        const char* typed;
        const char* value;
    } cases[] = {{"avila", "05"}, {"CAC", "10"}, {"37", "37"}, {"s", "37"}, {"valladolid, ar", "47"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        combo.showPopup();
        QTest::keyClicks(combo.listView(), QString::fromUtf8(c.typed));
        QTest::keyClick(combo.listView(), Qt::Key_Return);
        EXPECT_EQ(combo.value(), QString::fromLatin1(c.value));
    }
    QApplication::setKeyboardInputInterval(interval);
    const QTableView* list = combo.listView();
    EXPECT_GE(list->columnWidth(1), list->fontMetrics().horizontalAdvance(longName)) << "the name is cut";
}

TEST_F(DataComboBoxTest, TheChoiceSurvivesChangesOfTheList) {
    combo.setText(u"Cáceres"_s);
    ASSERT_TRUE(provinces.setFilter(u"CodProvincia='06'"_s));
    EXPECT_EQ(combo.count(), 1);
    EXPECT_EQ(combo.value(), u"10"_s);
    EXPECT_EQ(combo.lineEdit()->text(), u"Cáceres"_s);
    EXPECT_FALSE(combo.isListItem()) << "only the rows of the current view count";
    EXPECT_EQ(combo.columnText(u"Provincia"), u"Cáceres"_s) << "the chosen row is kept";

    // A write to the one shown row leaves the box alone too.
    auto other = provinces.clone();
    ASSERT_TRUE(other->setValue(u"Provincia", u"Badajoz (1)"_s));
    EXPECT_EQ(combo.lineEdit()->text(), u"Cáceres"_s);

    provinces.clearFilter();
    EXPECT_TRUE(combo.isListItem());

    // A table rebuilt in place: the choice follows the value into the new rows.
    ASSERT_TRUE(
        createTable(provinces, {{"CodProvincia", ColumnType::Text, 2}, {"Provincia", ColumnType::Text, 20}}));
    ASSERT_TRUE(provinces.addNew());
    ASSERT_TRUE(provinces.setValue(u"CodProvincia", u"10"_s));
    ASSERT_TRUE(provinces.setValue(u"Provincia", u"Cáceres (2)"_s));
    EXPECT_EQ(combo.text(), u"Cáceres"_s);
    EXPECT_EQ(combo.columnText(u"Provincia"), u"Cáceres (2)"_s);
    EXPECT_EQ(takeEvents(), QStringList());
}
