#pragma once

#include "editor/ApplicationModel.h"

#include <QString>

namespace velmora::test {

// The drop-down choices of the sample applicant: fixed ones for tests without catalogues,
// or rows picked from a loaded contest's tables.
struct SampleApplicantChoices {
    QString provinceCode = QStringLiteral("45");
    QString province = QStringLiteral("Toledo");
    QString areaCode = QStringLiteral("07");
    QString area = QStringLiteral("Área de Salud de Toledo");
    QString bodyCode = QStringLiteral("10010");
    QString body = QStringLiteral("Enfermero/a");
    QString group = QStringLiteral("A2");
};

// The one applicant the tests that need a filled-in application start from: names with
// accents, an ampersand and two given names (the texts most often mangled on the way to
// paper and back), a voluntary participant in active service with a definitive post.
inline void fillSampleApplicant(ApplicationModel& model, const SampleApplicantChoices& choices = {}) {
    model.setText(u"txtApellido1", QStringLiteral("Muñoz & Peña"));
    model.setText(u"txtApellido2", QStringLiteral("Güell"));
    model.setText(u"txtNombre", QStringLiteral("María José"));
    model.setText(u"txtDNI", QStringLiteral("12345678Z"));
    model.setText(u"txtFecNacimiento", QStringLiteral("12/03/1980"));
    model.setText(u"txtTelefono", QStringLiteral("925000000"));
    model.setText(u"txtDomicilio", QStringLiteral("C/ Mayor, 1"));
    model.setText(u"txtLocalidad", QStringLiteral("Toledo"));
    model.setText(u"txtCP", QStringLiteral("45001"));
    model.setChoice(u"cboProvincia", choices.provinceCode, choices.province);
    model.setSelected(u"optDiscNo");
    model.setSelected(u"optVoluntario");
    model.setSelected(u"optPetConyugeNo");
    model.setSelected(u"optReingresoNo");
    model.setChoice(u"cboPrefArea", choices.areaCode, choices.area);
    model.setChoice(u"cboCuerpo", choices.bodyCode, choices.body);
    model.setChoice(u"cboGrupo", choices.group, choices.group);
    model.setText(u"txtNRP", QStringLiteral("0012345678"));
    model.setSelected(u"optActivo");
    model.setSelected(u"OptSi");
    model.setSelected(u"optDefinitivo");
    model.setText(u"txtFecPosesion", QStringLiteral("01/06/2010"));
    model.setSelected(u"optSSTarvo");
    model.setText(u"txtFechaIngreso", QStringLiteral("01/02/2005"));
    model.setText(u"txtPuesto", QStringLiteral("Hospital Virgen de la Salud"));
}

} // namespace velmora::test
