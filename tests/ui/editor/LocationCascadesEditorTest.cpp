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

QString located(int count) {
    return u"Códigos Localizados: %1"_s.arg(count);
}

// The first value of `column` among the candidates `rows`.
QString firstOf(const RecordSet& rows, QStringView column) {
    return rows.clone()->textAt(0, rows.columnIndex(column));
}

// The editor of the small sample with a body chosen; its offered positions at hand. Which rows
// and lists each choice narrows is LocationFiltersTest's and FirstTabCascades'; here the window
// running those rules and showing what they give.
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
    const int all = offered->vacancy->recordCount();
    DataComboBox* province = dropDown(editor, "cboProvinciaVacantes");
    DataComboBox* institution = dropDown(editor, "cboConsejeriaVacantes");
    DataComboBox* locality = dropDown(editor, "cboLocalidadVacantes");
    DataComboBox* area = dropDown(editor, "cboAreasVacantes");
    DataComboBox* zone = dropDown(editor, "cboZonasVacantes");
    EXPECT_EQ(count(), located(all));
    EXPECT_TRUE(province->isEnabled());
    for (DataComboBox* box : {institution, locality, area, zone})
        EXPECT_FALSE(box->isEnabled()) << qPrintable(box->objectName());

    // The province comes first and then stays; the candidates and the other lists narrow to it.
    const QString p = firstOf(*offered->vacancy, u"CodProvincia");
    ASSERT_TRUE(pickFromList(province, p));
    const int inProvince = shownCandidates("cboPuestoVacante");
    EXPECT_TRUE(inProvince > 0 && inProvince < all) << inProvince;
    EXPECT_EQ(count(), located(inProvince));
    EXPECT_FALSE(province->isEnabled());
    for (DataComboBox* box : {institution, locality, area, zone})
        EXPECT_TRUE(box->isEnabled()) << qPrintable(box->objectName());
    EXPECT_EQ(listedCodes(locality),
              valuesWhere(f.state.tables.localities, u"CodLocalidad", u"CodProvincia", p));

    // A locality shuts the zone; emptying it by hand opens the zone again.
    ASSERT_TRUE(pickFromList(locality, firstOf(*offered->vacancy, u"CodLocalidad")));
    EXPECT_EQ(count(), located(shownCandidates("cboPuestoVacante")));
    EXPECT_FALSE(zone->isEnabled());
    locality->setFocus(Qt::TabFocusReason);
    locality->lineEdit()->selectAll();
    QTest::keyClick(locality->lineEdit(), Qt::Key_Backspace);
    settle();
    EXPECT_TRUE(zone->isEnabled());
    EXPECT_EQ(count(), located(inProvince));

    // A typed code narrows further; "Cancelar" starts over with the province alone.
    typeInto(editor, "txtCodVacante", firstOf(*offered->vacancy, u"CodConvocatoria"), "cboPuestoVacante");
    press(editor, "cmdCancelarVacante");
    EXPECT_EQ(count(), located(all));
    EXPECT_EQ(shownCandidates("cboPuestoVacante"), all);
    EXPECT_TRUE(province->isEnabled());
    for (DataComboBox* box : {institution, locality, area, zone}) {
        EXPECT_FALSE(box->isEnabled()) << qPrintable(box->objectName());
        EXPECT_EQ(box->value(), "") << qPrintable(box->objectName());
    }
    EXPECT_TRUE(f.messages.messages.empty()) << f.messages.texts().join(u'|').toStdString();
}

// A province typed by hand, which only the window turns into a choice that is no item.
TEST_F(LocationCascadesEditorTest, ResultasProvinceTypedByHandEmptiesTheRelatedChoices) {
    control<QTabWidget>(editor, u"tabPrincipal"_s)->setCurrentIndex(3);
    const int all = offered->resultas->recordCount();
    ASSERT_GT(all, 0);
    DataComboBox* province = dropDown(editor, "cboProvinciaResultas");
    DataComboBox* area = dropDown(editor, "cboAreasResultas");
    ASSERT_TRUE(pickFromList(province, firstOf(*offered->resultas, u"CodProvincia")));
    ASSERT_FALSE(listedCodes(area).isEmpty());
    ASSERT_TRUE(pickFromList(area, *listedCodes(area).begin()));

    province->setFocus();
    province->lineEdit()->selectAll();
    QTest::keyClicks(province->lineEdit(), u"Provincia inventada"_s);
    settle();
    EXPECT_EQ(province->value(), "");
    EXPECT_EQ(area->value(), "");
    EXPECT_EQ(listedCodes(dropDown(editor, "cboZonasResultas")),
              valuesWhere(f.state.tables.zones, u"CodZona"));
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
