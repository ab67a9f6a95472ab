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
    model.setText(ctl::txtApellido1, QStringLiteral("Muñoz & Peña"));
    model.setText(ctl::txtApellido2, QStringLiteral("Güell"));
    model.setText(ctl::txtNombre, QStringLiteral("María José"));
    model.setText(ctl::txtDNI, QStringLiteral("12345678Z"));
    model.setText(ctl::txtFecNacimiento, QStringLiteral("12/03/1980"));
    model.setText(ctl::txtTelefono, QStringLiteral("925000000"));
    model.setText(ctl::txtDomicilio, QStringLiteral("C/ Mayor, 1"));
    model.setText(ctl::txtLocalidad, QStringLiteral("Toledo"));
    model.setText(ctl::txtCP, QStringLiteral("45001"));
    model.setChoice(ctl::cboProvincia, choices.provinceCode, choices.province);
    model.setSelected(ctl::optDiscNo);
    model.setSelected(ctl::optVoluntario);
    model.setSelected(ctl::optPetConyugeNo);
    model.setSelected(ctl::optReingresoNo);
    model.setChoice(ctl::cboPrefArea, choices.areaCode, choices.area);
    model.setChoice(ctl::cboCuerpo, choices.bodyCode, choices.body);
    model.setChoice(ctl::cboGrupo, choices.group, choices.group);
    model.setText(ctl::txtNRP, QStringLiteral("0012345678"));
    model.setSelected(ctl::optActivo);
    model.setSelected(ctl::OptSi);
    model.setSelected(ctl::optDefinitivo);
    model.setText(ctl::txtFecPosesion, QStringLiteral("01/06/2010"));
    model.setSelected(ctl::optSSTarvo);
    model.setText(ctl::txtFechaIngreso, QStringLiteral("01/02/2005"));
    model.setText(ctl::txtPuesto, QStringLiteral("Hospital Virgen de la Salud"));
}

} // namespace velmora::test
