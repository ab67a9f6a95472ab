#pragma once

#include <QString>

namespace velmora {

class MessageService;

// The fields of the courses panel, as typed.
struct CourseFields {
    QString curso;
    QString horas;
    QString ano;
    QString centro;
};

// ValidaCurso: every field is required; shows the first one missing (OK, no icon, the
// program's title).
bool ValidaCurso(const CourseFields& fields, MessageService& messages);

// The hours box on leaving it: an empty box is left for ValidaCurso; anything else must be
// a whole number of 1 or more (the column holds whole numbers). Otherwise shows "El número
// de horas debe ser mayor de 0" and returns false: the box is to be cleared and refocused.
bool checkCourseHours(const QString& text, MessageService& messages);

// The year box on leaving it: empty, or a whole year from 1950 to `currentYear`. Otherwise
// shows "El año introducido es erróneo" and returns false, as checkCourseHours.
bool checkCourseYear(const QString& text, int currentYear, MessageService& messages);

// ValidaDocumento: the document's name is required (the other fields are free).
bool ValidaDocumento(const QString& documento, MessageService& messages);

} // namespace velmora
