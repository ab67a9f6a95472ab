#include "editor/ApplicationChecks.h"

#include "applications/ApplicationFiles.h"
#include "editor/ApplicationModel.h"
#include "platform/UserQuestions.h"
#include "platform/data/RecordSet.h"

namespace velmora {
namespace {

int rowsOf(const RecordSet& table) {
    return table.isOpen() ? table.recordCount() : 0;
}

} // namespace

Status ValidaDatosImpresion(const ApplicationModel& model, const RecordSet& vacancies,
                            const RecordSet& resultas) {
    const auto fail = [](const QString& text) {
        return Error::told(ErrorCode::InvalidValue, text, QStringLiteral("Validación"),
                           MessageIcon::Exclamation);
    };
    const auto required = [](const QString& field) {
        return QStringLiteral("El campo ") + field + QStringLiteral(" es obligatorio");
    };
    if (model.text(ctl::txtNombre).isEmpty())
        return fail(required(QStringLiteral("Nombre")));
    if (model.text(ctl::txtApellido1).isEmpty())
        return fail(required(QStringLiteral("Primer Apellido")));
    if (model.text(ctl::txtFecNacimiento).isEmpty())
        return fail(required(QStringLiteral("Fecha de nacimiento")));
    if (rowsOf(vacancies) == 0 && rowsOf(resultas) == 0)
        return fail(QStringLiteral("No hay ninguna plaza seleccionada"));
    return {};
}

Status ValidaDatosGrabacion(const ApplicationModel& model) {
    const auto fail = [](const QString& text) {
        return Error::told(ErrorCode::InvalidValue, text, QStringLiteral("Datos no válidos"),
                           MessageIcon::Exclamation);
    };
    if (model.text(ctl::txtDNI).isEmpty())
        return fail(
            QStringLiteral("Es necesario rellenar el DNI para grabar los datos o imprimir el informe"));
    if (!model.isListItem(ctl::cboCuerpo))
        return fail(QStringLiteral(
            "Es necesario seleccionar un cuerpo o escala para grabar los datos o imprimir el informe"));
    if (!model.isListItem(ctl::cboGrupo))
        return fail(
            QStringLiteral("Es necesario seleccionar un grupo para grabar los datos o imprimir el informe"));
    if (model.isSelected(ctl::optPetConyugeSi) && model.text(ctl::txtDNIConyuge).isEmpty())
        return fail(QStringLiteral("El DNI de su cónyuge no es válido"));
    return {};
}

bool identityShown(const ApplicationModel& model) {
    return !model.text(ctl::txtDNI).isEmpty() && !model.text(ctl::cboCuerpo).isEmpty() &&
           !model.text(ctl::cboGrupo).isEmpty();
}

Status checkListTabsMayOpen(const ApplicationModel& model) {
    if (identityShown(model))
        return {};
    return Error::told(ErrorCode::InvalidValue,
                       QStringLiteral("Compruebe que ha rellenado los datos del formulario"),
                       QStringLiteral("Datos incompletos"), MessageIcon::Exclamation);
}

QString applicationFileNameOf(const ApplicationModel& model) {
    return applicationFileName(model.text(ctl::txtDNI), model.value(ctl::cboCuerpo),
                               model.value(ctl::cboGrupo));
}

ExistingApplication CompruebaSolicitudExistente(ApplicationModel& model, const QString& applicationsFolder,
                                                UserQuestions& questions) {
    if (!identityShown(model))
        return ExistingApplication::None;
    if (!applicationFileExists(applicationsFolder, applicationFileNameOf(model)))
        return ExistingApplication::None;
    const MessageAnswer answer = questions.ask(
        QStringLiteral("Ya existe una solicitud con estos datos, si continúa puede sobreescribir los datos "
                       "anteriormente guardados. ¿Qué desea hacer? Sí para cerrar la aplicación. No para "
                       "teclear otro cuerpo y grupo"),
        QStringLiteral("Solicitud Existente"), MessageIcon::Critical, QuestionButtons::YesNo);
    if (answer == MessageAnswer::Yes)
        return ExistingApplication::QuitProgram;
    model.clearChoice(ctl::cboGrupo);
    model.clearChoice(ctl::cboCuerpo);
    return ExistingApplication::ChooseAnother;
}

} // namespace velmora
