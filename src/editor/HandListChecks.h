#pragma once

#include "platform/Result.h"

#include <QString>

namespace velmora {

// The fields of the courses panel, as typed.
struct CourseFields {
    QString curso;
    QString horas;
    QString ano;
    QString centro;
};

// ValidaCurso: every field is required; the first one missing is refused (InvalidValue, told
// with OK, no icon, the program's title).
Status ValidaCurso(const CourseFields& fields);

// The hours box on leaving it: an empty box is left for ValidaCurso; anything else must be
// a whole number of 1 or more (the column holds whole numbers). Otherwise refused with "El
// número de horas debe ser mayor de 0" (InvalidValue): the box is to be cleared and refocused.
Status checkCourseHours(const QString& text);

// The year box on leaving it: empty, or a whole year from 1950 to `currentYear`. Otherwise
// refused with "El año introducido es erróneo", as checkCourseHours.
Status checkCourseYear(const QString& text, int currentYear);

// ValidaDocumento: the document's name is required (the other fields are free).
Status ValidaDocumento(const QString& documento);

} // namespace velmora
