#include "printing/PrintRecord.h"

#include "catalog/CatalogLoader.h"
#include "editor/ApplicationModel.h"
#include "platform/data/RecordSet.h"

#include <gtest/gtest.h>

#include <tuple>

namespace velmora {
namespace {

QStringList fieldsOf(const QString& record) {
    EXPECT_TRUE(record.endsWith('|'));
    QStringList fields = record.split('|');
    fields.removeLast();
    return fields;
}

ApplicationModel emptyApplication() {
    ApplicationModel model;
    model.setSelected(u"optVoluntario");
    model.setSelected(u"optPetConyugeNo");
    model.setSelected(u"optDiscNo");
    model.setSelected(u"optActivo");
    model.setSelected(u"OptNo");
    model.setSelected(u"optReingresoNo");
    return model;
}

TEST(PrintRecord, EmptyApplicationGivesDefaultsAndThirtySevenSeparators) {
    const QString record = GeneraCadenaImpresion(emptyApplication(), RecordSet());
    EXPECT_EQ(record.count('|'), 37);
    QStringList expected(37, QString());
    expected[0] = "N";
    expected[7] = expected[12] = expected[32] = "N";
    expected[23] = "A";
    expected[5] = expected[22] = expected[25] = expected[33] = "00000000";
    EXPECT_EQ(fieldsOf(record), expected);
}

TEST(PrintRecord, FullApplicationWritesEveryFieldInOrder) {
    ApplicationModel m;
    m.setSelected(u"optForzoso");
    m.setText(u"txtApellido1", "Pérez");
    m.setText(u"txtApellido2", "Núñez");
    m.setText(u"txtNombre", "Ana María");
    m.setText(u"txtDNI", "12345678Z");
    m.setText(u"txtFecNacimiento", "12/03/1980");
    m.setText(u"txtTelefono", "941000000");
    m.setSelected(u"optPetConyugeSi");
    m.setText(u"txtDNIConyuge", "87654321X");
    m.setText(u"txtConyuApellido1", "Gil");
    m.setText(u"txtCOnyuApellido2", "Sanz");
    m.setText(u"txtConyuNombre", "Luis");
    m.setSelected(u"optDiscSi");
    m.setText(u"txtTipoDisc", "Motora");
    m.setText(u"txtAdaptaciones", "Rampa");
    m.setText(u"txtDomicilio", "C/ Mayor 1");
    m.setText(u"txtLocalidad", "Logroño");
    m.setChoice(u"cboProvincia", "26", "La Rioja");
    m.setText(u"txtCP", "26001");
    m.setChoice(u"cboCuerpo", "12345", "Enfermero/a");
    m.setChoice(u"cboGrupo", "B1", "B1");
    m.setText(u"txtNRP", "NRP1");
    m.setText(u"txtFechaIngreso", "1/2/1990");
    m.setSelected(u"optOtras");
    m.setChoice(u"cboSituaciones", "03", "Excedencia");
    m.setText(u"txtSitAdm", "Excedencia");
    m.setText(u"txtFechaSit", "31/12/2000");
    m.setSelected(u"OptSi");
    m.setSelected(u"optSSOtros");
    m.setText(u"txtSS", "SERMAS");
    m.setSelected(u"optTemporal");
    m.setChoice(u"cboPrefLocalidad", "2608900", "Logroño");
    m.setChoice(u"cboPrefProvincia", "0102", "Logroño Este");
    m.setChoice(u"cboPrefArea", "01", "Área I");
    m.setSelected(u"optReingesoSi");
    m.setText(u"txtFecPosesion", "");
    m.setText(u"txtPuesto", "Hospital San Pedro");
    m.setText(u"txtLocalidadPuesto", "Logroño");
    m.setText(u"txtProvinciaPuesto", "La Rioja");
    EXPECT_EQ(GeneraCadenaImpresion(m, RecordSet()),
              "S|Pérez|Núñez|Ana María|12345678Z|19800312|941000000|S|87654321X|Gil|Sanz|Luis|S|Motora|Rampa|"
              "C/ Mayor 1|Logroño|26|26001|12345|B1|NRP1|19900201|O|Excedencia|20001231|O|SERMAS|P|2608900|"
              "0102|01|S|00000000|Hospital San Pedro|Logroño|La Rioja|");
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
    m.setChoice(u"cboSituaciones", "03", "Excedencia");
    m.setText(u"txtSitAdm", "texto libre");
    EXPECT_EQ(field(), ""); // Activo
    m.setSelected(u"optOtras");
    EXPECT_EQ(field(), "Excedencia");
    m.setChoice(u"cboSituaciones", "08", "Otras situaciones");
    EXPECT_EQ(field(), "texto libre");
    m.setChoice(u"cboSituaciones", "09", "Otra");
    EXPECT_EQ(field(), "Otra");
}

TEST(PrintRecord, WithoutCurrentPostServiceAndNatureAreEmpty) {
    ApplicationModel m = emptyApplication();
    m.setSelected(u"optSSTarvo");
    m.setSelected(u"optDefinitivo");
    m.setText(u"txtSS", "queda");
    QStringList f = fieldsOf(GeneraCadenaImpresion(m, RecordSet()));
    EXPECT_EQ(f[26], "");
    EXPECT_EQ(f[27], "queda");
    EXPECT_EQ(f[28], "");
    m.setSelected(u"OptSi");
    f = fieldsOf(GeneraCadenaImpresion(m, RecordSet()));
    EXPECT_EQ(f[26], "S");
    EXPECT_EQ(f[28], "D");
    // Neither "Sí" nor "No" picked: the post counts as held.
    m.setSelected(u"OptSi", false);
    m.setSelected(u"optSSOtros");
    EXPECT_EQ(fieldsOf(GeneraCadenaImpresion(m, RecordSet()))[26], "O");
}

TEST(PrintRecord, DatesAsYearMonthDay) {
    EXPECT_EQ(printRecordDate("12/03/1980"), "19800312");
    EXPECT_EQ(printRecordDate("1/2/1990"), "19900201");
    EXPECT_EQ(printRecordDate("01-01-1900"), "19000101");
    EXPECT_EQ(printRecordDate("1980-03-12"), "19800312");
    EXPECT_EQ(printRecordDate(""), "00000000");
    EXPECT_EQ(printRecordDate("31/02/2000"), "00000000");
    EXPECT_EQ(printRecordDate("12/03/80"), "00000000");
}

} // namespace
} // namespace velmora
