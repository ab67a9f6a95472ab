#include "editor/ApplicationChecks.h"

#include "editor/ApplicationListTables.h"
#include "editor/ApplicationModel.h"
#include "platform/data/RecordSet.h"
#include "support/FakeMessageService.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::FakeMessageService;

ApplicationModel identified() {
    ApplicationModel model;
    model.setText(ctl::txtDNI, "12345678Z");
    model.setChoice(ctl::cboCuerpo, "12345", "Enfermero/a");
    model.setChoice(ctl::cboGrupo, "B1", "B1");
    return model;
}

TEST(ValidaDatosImpresion, ReportsTheFirstMissingItemInOrder) {
    RecordSet vacancies, resultas;
    ASSERT_TRUE(createVacancyList(vacancies).ok());
    ASSERT_TRUE(createResultasList(resultas).ok());
    ApplicationModel model;
    const auto check = [&]() {
        FakeMessageService messages;
        const bool passed = ValidaDatosImpresion(model, vacancies, resultas, messages);
        EXPECT_EQ(passed, messages.messages.empty());
        return messages.only("Validación", MessageIcon::Exclamation);
    };
    EXPECT_EQ(check(), "El campo Nombre es obligatorio");
    model.setText(ctl::txtNombre, "Ana");
    EXPECT_EQ(check(), "El campo Primer Apellido es obligatorio");
    model.setText(ctl::txtApellido1, "Pérez");
    EXPECT_EQ(check(), "El campo Fecha de nacimiento es obligatorio");
    model.setText(ctl::txtFecNacimiento, "01/02/1970");
    EXPECT_EQ(check(), "No hay ninguna plaza seleccionada");
    ASSERT_TRUE(resultas.addNew().ok());
    EXPECT_EQ(check(), QString());
}

TEST(ValidaDatosGrabacion, NeedsDniBodyGroupAndTheOtherApplicantsDni) {
    const auto check = [](const ApplicationModel& model) {
        FakeMessageService messages;
        const bool passed = ValidaDatosGrabacion(model, messages);
        EXPECT_EQ(passed, messages.messages.empty());
        return messages.only("Datos no válidos", MessageIcon::Exclamation);
    };
    ApplicationModel model = identified();
    EXPECT_EQ(check(model), QString());

    model.setSelected(ctl::optPetConyugeSi);
    EXPECT_EQ(check(model), "El DNI de su cónyuge no es válido");
    model.setText(ctl::txtDNIConyuge, "87654321X");
    EXPECT_EQ(check(model), QString());

    model.setListItem(ctl::cboGrupo, false);
    EXPECT_EQ(check(model), "Es necesario seleccionar un grupo para grabar los datos o imprimir el informe");
    model.setText(ctl::cboCuerpo, "texto suelto");
    model.setListItem(ctl::cboCuerpo, false);
    EXPECT_EQ(check(model),
              "Es necesario seleccionar un cuerpo o escala para grabar los datos o imprimir el informe");
    model.setText(ctl::txtDNI, "");
    EXPECT_EQ(check(model), "Es necesario rellenar el DNI para grabar los datos o imprimir el informe");
}

// What each answer does to the pick is IdentityRulesTest.AnExistingApplicationStopsThePick...'s.
TEST(CompruebaSolicitudExistente, AsksOnlyWhenTheDocumentOfTheWholeIdentityExists) {
    test::TempDir dir;
    FakeMessageService messages;
    ApplicationModel model = identified();
    EXPECT_EQ(CompruebaSolicitudExistente(model, dir.path(), messages), ExistingApplication::None);
    dir.write("12345678Z_12345B1.doc", "d");
    model.setText(ctl::cboGrupo, "");
    EXPECT_EQ(CompruebaSolicitudExistente(model, dir.path(), messages), ExistingApplication::None);
    EXPECT_TRUE(messages.messages.empty());

    messages.queueAnswer(MessageAnswer::No);
    model = identified();
    EXPECT_EQ(CompruebaSolicitudExistente(model, dir.path(), messages), ExistingApplication::ChooseAnother);
    EXPECT_EQ(
        messages.only("Solicitud Existente", MessageIcon::Critical, MessageButtons::YesNo),
        "Ya existe una solicitud con estos datos, si continúa puede sobreescribir los datos anteriormente "
        "guardados. ¿Qué desea hacer? Sí para cerrar la aplicación. No para teclear otro cuerpo y grupo");
    EXPECT_EQ(model.text(ctl::txtDNI), "12345678Z");
}

} // namespace
} // namespace velmora
