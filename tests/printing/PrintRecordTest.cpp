#include "printing/PrintRecord.h"

#include "catalog/CatalogLoader.h"
#include "editor/ApplicationModel.h"
#include "platform/data/RecordSet.h"
#include "support/SampleApplicant.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace velmora;

namespace {

QStringList fieldsOf(const QString& record) {
    EXPECT_TRUE(record.endsWith('|'));
    QStringList fields = record.split('|');
    fields.removeLast();
    return fields;
}

ApplicationModel emptyApplication() {
    ApplicationModel model;
    model.setSelected(ctl::optVoluntario);
    model.setSelected(ctl::optPetConyugeNo);
    model.setSelected(ctl::optDiscNo);
    model.setSelected(ctl::optActivo);
    model.setSelected(ctl::OptNo);
    model.setSelected(ctl::optReingresoNo);
    return model;
}

} // namespace

TEST(PrintRecord, EmptyApplicationGivesTheDefaults) {
    const QString record = GeneraCadenaImpresion(emptyApplication(), RecordSet());
    EXPECT_EQ(record.count('|'), 37);
    QStringList expected(37, QString());
    expected[0] = "N";
    expected[7] = expected[12] = expected[32] = "N";
    expected[23] = "A";
    expected[5] = expected[22] = expected[25] = expected[33] = "00000000";
    EXPECT_EQ(fieldsOf(record), expected);
}

// The sample applicant, with every field it leaves at its default filled in too.
TEST(PrintRecord, FullApplicationWritesEveryFieldInOrder) {
    ApplicationModel m;
    test::fillSampleApplicant(m);
    m.setSelected(ctl::optForzoso);
    m.setSelected(ctl::optPetConyugeSi);
    m.setText(ctl::txtDNIConyuge, "87654321X");
    m.setText(ctl::txtConyuApellido1, "Gil");
    m.setText(ctl::txtCOnyuApellido2, "Sanz");
    m.setText(ctl::txtConyuNombre, "Luis");
    m.setSelected(ctl::optDiscSi);
    m.setText(ctl::txtTipoDisc, "Motora");
    m.setText(ctl::txtAdaptaciones, "Rampa | ascensor"); // as an older saved file may hold it
    m.setSelected(ctl::optOtras);
    m.setChoice(ctl::cboSituaciones, "03", "Excedencia");
    m.setText(ctl::txtSitAdm, "Excedencia");
    m.setText(ctl::txtFechaSit, "31/12/2000");
    m.setSelected(ctl::optSSOtros);
    m.setText(ctl::txtSS, "SERMAS");
    m.setSelected(ctl::optTemporal);
    m.setChoice(ctl::cboPrefLocalidad, "2608900", "Logroño");
    m.setChoice(ctl::cboPrefProvincia, "0102", "Logroño Este");
    m.setSelected(ctl::optReingesoSi);
    m.setText(ctl::txtLocalidadPuesto, "Logroño");
    m.setText(ctl::txtProvinciaPuesto, "La Rioja");
    EXPECT_EQ(
        GeneraCadenaImpresion(m, RecordSet()),
        "S|Muñoz & Peña|Güell|María José|12345678Z|19800312|925000000|S|87654321X|Gil|Sanz|Luis|S|Motora|"
        "Rampa / ascensor|C/ Mayor, "
        "1|Toledo|45|45001|10010|A2|0012345678|20050201|O|Excedencia|20001231|O|SERMAS|P|"
        "2608900|0102|07|S|20100601|Hospital Virgen de la Salud|Logroño|La Rioja|");
}

TEST(PrintRecord, SituationTakesTheTypedTextOnlyForTheOtherRow) {
    // The "other" row is told by esOtras, whatever it is called.
    RecordSet situations;
    ASSERT_TRUE(CatalogLoader::createSituations(situations).ok());
    for (const auto& [code, name, other] :
         {std::tuple{"03", "Excedencia", "0"}, {"08", "Otras situaciones", "1"}, {"09", "Otra", "0"}}) {
        ASSERT_TRUE(situations.addNew().ok());
        ASSERT_TRUE(situations.setValue(u"CodSituacion", code).ok() &&
                    situations.setValue(u"Situacion", name).ok() &&
                    situations.setValue(u"esOtras", other).ok() && situations.update().ok());
    }
    ApplicationModel m = emptyApplication();
    const auto field = [&] { return fieldsOf(GeneraCadenaImpresion(m, situations))[24]; };
    m.setChoice(ctl::cboSituaciones, "03", "Excedencia");
    m.setText(ctl::txtSitAdm, "texto libre");
    EXPECT_EQ(field(), ""); // Activo
    m.setSelected(ctl::optOtras);
    EXPECT_EQ(field(), "Excedencia");
    m.setChoice(ctl::cboSituaciones, "08", "Otras situaciones");
    EXPECT_EQ(field(), "texto libre");
    m.setChoice(ctl::cboSituaciones, "09", "Otra");
    EXPECT_EQ(field(), "Otra");
}

TEST(PrintRecord, WithoutCurrentPostItsFieldsAreEmpty) {
    ApplicationModel m = emptyApplication();
    m.setSelected(ctl::optSSTarvo);
    m.setSelected(ctl::optDefinitivo);
    m.setText(ctl::txtSS, "queda");
    EXPECT_EQ(fieldsOf(GeneraCadenaImpresion(m, RecordSet())).mid(26, 3), QStringList({"", "queda", ""}));
    m.setSelected(ctl::OptSi);
    EXPECT_EQ(fieldsOf(GeneraCadenaImpresion(m, RecordSet())).mid(26, 3), QStringList({"S", "queda", "D"}));
    // Neither "Sí" nor "No" picked: the post counts as held.
    m.setSelected(ctl::OptSi, false);
    m.setSelected(ctl::optSSOtros);
    EXPECT_EQ(fieldsOf(GeneraCadenaImpresion(m, RecordSet()))[26], "O");
}

TEST(PrintRecord, DatesAsYearMonthDay) {
    QStringList dates;
    for (const char* typed :
         {"12/03/1980", "1/2/1990", "01-01-1900", "1980-03-12", "", "31/02/2000", "12/03/80"})
        dates << printRecordDate(QString::fromLatin1(typed));
    EXPECT_EQ(dates, QStringList({"19800312", "19900201", "19000101", "19800312", "00000000", "00000000",
                                  "00000000"}));
}
