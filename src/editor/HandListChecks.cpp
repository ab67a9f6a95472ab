#include "editor/HandListChecks.h"

#include "editor/EditPanel.h"

namespace velmora {
namespace {

Error refusal(const char* text) {
    return Error::told(ErrorCode::InvalidValue, QString::fromUtf8(text), programTitle(), MessageIcon::None);
}

} // namespace

Status ValidaCurso(const CourseFields& fields) {
    // Each message ends with a blank, as the applicants have always seen it.
    if (fields.curso.isEmpty())
        return refusal("Es obligatorio rellenar el nombre del curso ");
    if (fields.horas.isEmpty())
        return refusal("Es obligatorio rellenar el nº de horas del curso ");
    if (fields.ano.isEmpty())
        return refusal("Es obligatorio rellenar el año de realización del curso ");
    if (fields.centro.isEmpty())
        return refusal("Es obligatorio rellenar el centro que impartió el curso ");
    return {};
}

Status checkCourseHours(const QString& text) {
    if (text.isEmpty())
        return {};
    // The hours column holds whole numbers: "1,5" is refused for what it is, not as if it
    // were below one.
    const auto hours = wholeNumberOf(text);
    if (hours && *hours >= 1)
        return {};
    return Error::told(ErrorCode::InvalidValue,
                       hours ? QStringLiteral("El número de horas debe ser mayor de 0")
                             : QStringLiteral("El número de horas introducido es erróneo"),
                       QStringLiteral("Datos Erróneos"), MessageIcon::Exclamation);
}

Status checkCourseYear(const QString& text, int currentYear) {
    if (text.isEmpty())
        return {};
    const auto year = wholeNumberOf(text);
    if (year && *year >= 1950 && *year <= currentYear)
        return {};
    return Error::told(ErrorCode::InvalidValue, QStringLiteral("El año introducido es erróneo"),
                       QStringLiteral("Datos erróneos"), MessageIcon::Exclamation);
}

Status ValidaDocumento(const QString& documento) {
    if (!documento.isEmpty())
        return {};
    return refusal("Es obligatorio rellenar el nombre del documento");
}

} // namespace velmora
