#include "catalog/PositionLookup.h"
#include "editor/ControlName.h"
#include "ui/EditorFixture.h"
#include "ui/ListDriving.h"

#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

using Where = std::vector<std::pair<QStringView, QString>>;

QString located(int count) {
    return u"Códigos Localizados: %1"_s.arg(count);
}

// A first value of `column` among `rows` that the drop-down lists too.
QString listedValueOf(const RecordSet& rows, QStringView column, const Where& where,
                      const DataComboBox* box) {
    const QSet<QString> listed = listedCodes(box);
    auto all = rows.clone();
    for (int row = 0; row < all->recordCount(); ++row) {
        bool matches = true;
        for (const auto& [c, v] : where)
            matches = matches && all->textAt(row, all->columnIndex(c)) == v;
        const QString value = all->textAt(row, all->columnIndex(column));
        if (matches && !value.isEmpty() && listed.contains(value))
            return value;
    }
    return {};
}

// A province the drop-down lists where some of `rows` lie in an area of that same province
// (the sample spreads positions over areas at random).
QString provinceWithOwnArea(const RecordSet& rows, const RecordSet& areas, const DataComboBox* province) {
    QStringList provinces = listedCodes(province).values();
    provinces.sort();
    for (const QString& p : provinces) {
        const QSet<QString> own = valuesWhere(areas, u"CodArea", u"CodProvincia", p);
        for (const QString& a : own)
            if (rowsWith(rows, Where{{u"CodProvincia", p}, {u"CodArea", a}}) > 0)
                return p;
    }
    return {};
}

// The editor of the small sample with a body chosen; its offered positions at hand.
class LocationCascadesEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor = &f.openEditor();
        DataComboBox* body = dropDown(editor, "cboCuerpo");
        // The first body that fixes its group and offers positions in more than one province.
        body->setFocus();
        for (int i = 0; i < 50 && !offered; ++i) {
            QTest::keyClick(body, Qt::Key_Down);
            settle();
            const BodyPositions* entry = findBodyPositions(f.state.tables.bodyPositions, body->value(), true);
            if (!body->value().startsWith(QLatin1Char('X')) && entry && entry->vacancy &&
                valuesWhere(*entry->vacancy, u"CodProvincia").size() > 1)
                offered = entry;
        }
        ASSERT_NE(offered, nullptr);
        control<QTabWidget>(editor, u"tabPrincipal"_s)->setCurrentIndex(2);
        settle();
    }
    QString count() const { return control<QLabel>(editor, u"lblPlazas"_s)->text(); }
    int shownCandidates(const char* name) { return dropDown(editor, name)->listModel()->rowCount(); }

    EditorFixture f;
    EditorWindow* editor = nullptr;
    const BodyPositions* offered = nullptr;
};

TEST_F(LocationCascadesEditorTest, VacancyTabNarrowsStepByStepAndCancelStartsOver) {
    const RecordSet& vacancies = *offered->vacancy;
    auto& t = f.state.tables;
    DataComboBox* province = dropDown(editor, "cboProvinciaVacantes");
    DataComboBox* institution = dropDown(editor, "cboConsejeriaVacantes");
    DataComboBox* locality = dropDown(editor, "cboLocalidadVacantes");
    DataComboBox* area = dropDown(editor, "cboAreasVacantes");
    DataComboBox* zone = dropDown(editor, "cboZonasVacantes");
    EXPECT_EQ(count(), located(vacancies.recordCount()));
    EXPECT_TRUE(province->isEnabled());
    for (DataComboBox* box : {institution, locality, area, zone})
        EXPECT_FALSE(box->isEnabled()) << qPrintable(box->objectName());

    // The province comes first and then stays; everything else narrows to it.
    const QString p = provinceWithOwnArea(vacancies, t.areas, province);
    ASSERT_TRUE(pickFromList(province, p));
    EXPECT_EQ(count(), located(rowsWith(vacancies, Where{{u"CodProvincia", p}})));
    EXPECT_EQ(shownCandidates("cboPuestoVacante"), rowsWith(vacancies, Where{{u"CodProvincia", p}}));
    EXPECT_FALSE(province->isEnabled());
    for (DataComboBox* box : {institution, locality, area, zone})
        EXPECT_TRUE(box->isEnabled()) << qPrintable(box->objectName());
    // Which lists narrow to what is LocationFiltersTest's; one shows the panel's tables are its.
    EXPECT_EQ(listedCodes(locality), valuesWhere(t.localities, u"CodLocalidad", u"CodProvincia", p));

    // A locality shuts the zone; emptying it by hand opens the zone again.
    const QString l = listedValueOf(vacancies, u"CodLocalidad", {{u"CodProvincia", p}}, locality);
    ASSERT_TRUE(pickFromList(locality, l));
    EXPECT_EQ(count(), located(rowsWith(vacancies, Where{{u"CodLocalidad", l}})));
    EXPECT_FALSE(zone->isEnabled());
    eraseText(locality);
    EXPECT_TRUE(zone->isEnabled());
    EXPECT_EQ(count(), located(rowsWith(vacancies, Where{{u"CodProvincia", p}})));

    // A typed code narrows further; "Cancelar" starts over with the province alone.
    typeInto(editor, "txtCodVacante", vacancies.textAt(0, vacancies.columnIndex(u"CodConvocatoria")),
             "cboPuestoVacante");
    press(editor, "cmdCancelarVacante");
    EXPECT_EQ(count(), located(vacancies.recordCount()));
    EXPECT_EQ(shownCandidates("cboPuestoVacante"), vacancies.recordCount());
    EXPECT_TRUE(province->isEnabled());
    for (DataComboBox* box : {institution, locality, area, zone}) {
        EXPECT_FALSE(box->isEnabled()) << qPrintable(box->objectName());
        EXPECT_EQ(box->value(), "") << qPrintable(box->objectName());
    }
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
}

// The resultas tab's narrowing is checked on its filters (LocationFiltersTest); here its
// province box typed by hand, which only the window turns into a choice that is no item.
TEST_F(LocationCascadesEditorTest, ResultasProvinceTypedByHandEmptiesTheRelatedChoices) {
    control<QTabWidget>(editor, u"tabPrincipal"_s)->setCurrentIndex(3);
    const RecordSet& resultas = *offered->resultas;
    auto& t = f.state.tables;
    DataComboBox* province = dropDown(editor, "cboProvinciaResultas");
    DataComboBox* area = dropDown(editor, "cboAreasResultas");
    const int all = resultas.recordCount();
    ASSERT_GT(all, 0);
    const QString p = provinceWithOwnArea(resultas, t.areas, province);
    ASSERT_TRUE(pickFromList(province, p));
    EXPECT_EQ(shownCandidates("cboPuestoResultas"), rowsWith(resultas, Where{{u"CodProvincia", p}}));
    ASSERT_TRUE(pickFromList(area, listedValueOf(resultas, u"CodArea", {{u"CodProvincia", p}}, area)));

    province->setFocus();
    province->lineEdit()->selectAll();
    QTest::keyClicks(province->lineEdit(), u"Provincia inventada"_s);
    settle();
    EXPECT_EQ(province->value(), "");
    EXPECT_EQ(area->value(), "");
    EXPECT_EQ(listedCodes(dropDown(editor, "cboZonasResultas")), valuesWhere(t.zones, u"CodZona"));
    EXPECT_EQ(shownCandidates("cboPuestoResultas"), all);
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
}

// Which lists each pick empties and narrows is FirstTabCascades'; here the window running it.
TEST_F(LocationCascadesEditorTest, FirstTabPostingCascade) {
    control<QTabWidget>(editor, u"tabPrincipal"_s)->setCurrentIndex(0);
    control<QRadioButton>(editor, ctl::OptSi)->click(); // a current post: its boxes show
    settle();
    auto& t = f.state.tables;
    DataComboBox* province = dropDown(editor, "cboProvinciasIxa");
    DataComboBox* area = dropDown(editor, "cboAreaIxa");
    const QString p = *listedCodes(province).begin();
    ASSERT_TRUE(pickFromList(province, p));
    EXPECT_EQ(listedCodes(area), valuesWhere(t.areas, u"CodArea", u"CodProvincia", p));
    EXPECT_EQ(listedCodes(dropDown(editor, "cboLocalidadesIxa")),
              valuesWhere(t.localities, u"CodLocalidad", u"CodProvincia", p));
    ASSERT_FALSE(listedCodes(area).isEmpty());
    const QString a = *listedCodes(area).begin();
    ASSERT_TRUE(pickFromList(area, a));
    EXPECT_EQ(listedCodes(dropDown(editor, "cboZBSIxa")), valuesWhere(t.zones, u"CodZona", u"CodArea", a));
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
}

} // namespace
} // namespace velmora::test
