#include "editor/HandListChecks.h"

#include "editor/EditPanel.h"
#include "platform/MessageService.h"

namespace velmora {
namespace {

bool refuse(MessageService& messages, const char* text) {
    messages.inform(QString::fromUtf8(text), programTitle(), MessageIcon::None);
    return false;
}

} // namespace

bool ValidaCurso(const CourseFields& fields, MessageService& messages) {
    // Each message ends with a blank, as the applicants have always seen it.
    if (fields.curso.isEmpty())
        return refuse(messages, "Es obligatorio rellenar el nombre del curso ");
    if (fields.horas.isEmpty())
        return refuse(messages, "Es obligatorio rellenar el nº de horas del curso ");
    if (fields.ano.isEmpty())
        return refuse(messages, "Es obligatorio rellenar el año de realización del curso ");
    if (fields.centro.isEmpty())
        return refuse(messages, "Es obligatorio rellenar el centro que impartió el curso ");
    return true;
}

bool checkCourseHours(const QString& text, MessageService& messages) {
    if (text.isEmpty())
        return true;
    // The hours column holds whole numbers: "1,5" is refused for what it is, not as if it
    // were below one.
    const auto hours = wholeNumberOf(text);
    if (hours && *hours >= 1)
        return true;
    messages.inform(hours ? QStringLiteral("El número de horas debe ser mayor de 0")
                          : QStringLiteral("El número de horas introducido es erróneo"),
                    QStringLiteral("Datos Erróneos"), MessageIcon::Exclamation);
    return false;
}

bool checkCourseYear(const QString& text, int currentYear, MessageService& messages) {
    if (text.isEmpty())
        return true;
    const auto year = wholeNumberOf(text);
    if (year && *year >= 1950 && *year <= currentYear)
        return true;
    messages.inform(QStringLiteral("El año introducido es erróneo"), QStringLiteral("Datos erróneos"),
                    MessageIcon::Exclamation);
    return false;
}

bool ValidaDocumento(const QString& documento, MessageService& messages) {
    if (!documento.isEmpty())
        return true;
    return refuse(messages, "Es obligatorio rellenar el nombre del documento");
}

} // namespace velmora
