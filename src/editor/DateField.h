#pragma once

#include "editor/ControlName.h"
#include "platform/Result.h"

#include <QDate>
#include <QString>
#include <QStringView>

#include <optional>

namespace velmora {

class ApplicationModel;
class Clock;

// The rules of the first tab's date boxes (txtFecNacimiento, txtFechaIngreso, txtFechaSit,
// txtFecPosesion): the "/" typed for the applicant, the "DD/MM/YYYY" form and the check
// when the box is left. Pure functions; the window applies their answers.
class DateField {
public:
    // Whether `name` is one of the four date boxes.
    static bool isDateBox(QStringView name);

    // The text after a key was released: when the key was a digit and the text is now 2 or
    // 5 characters long, a "/" is appended (typing 12031980 gives 12/03/1980).
    static QString afterKeyRelease(const QString& text, bool digitKey);

    // The date a text names: day and month of one or two digits and a year of four, separated
    // by "/" (or "-"), blanks around ignored. nullopt when it is no calendar date (31/02/2000).
    static std::optional<QDate> parse(const QString& text);
    // "DD/MM/YYYY" for a text that names a date ("1/2/1990" gives "01/02/1990"); any other
    // text unchanged.
    static QString normalised(const QString& text);

    // The earliest date a box accepts; the latest is today.
    static QDate earliest() { return QDate(1900, 1, 1); }

    struct LeaveCheck {
        QString text; // what the box must show now (normalised when it is a date)
        Status date;  // refused (InvalidValue): the window tells why and the focus goes back to the box
    };
    // The check when `field` is left with `text`. An empty text is not checked. Not a date:
    // "Fecha Errónea" (txtFecNacimiento: OK, no icon, the program's title; the others: the
    // exclamation icon and "Formato de Fecha erróneo"). A date before 01/01/1900 or after
    // today (from `clock`): "Fecha Errónea", exclamation, "Formato de Fecha erróneo". The
    // window decides whether to check again when the focus comes back.
    static LeaveCheck checkOnLeave(QStringView field, const QString& text, const Clock& clock);
    // The same on the model's box: writes the answered text back and answers the check.
    static Status leave(ApplicationModel& model, ControlName field, const Clock& clock);
};

} // namespace velmora
