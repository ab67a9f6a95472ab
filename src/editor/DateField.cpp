#include "editor/DateField.h"

#include "editor/ApplicationModel.h"
#include "platform/Clock.h"

#include <QRegularExpression>

namespace velmora {

bool DateField::isDateBox(QStringView name) {
    return name == ctl::txtFecNacimiento || name == ctl::txtFechaIngreso || name == ctl::txtFechaSit ||
           name == ctl::txtFecPosesion;
}

QString DateField::afterKeyRelease(const QString& text, bool digitKey) {
    if (digitKey && (text.size() == 2 || text.size() == 5))
        return text + QLatin1Char('/');
    return text;
}

std::optional<QDate> DateField::parse(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})([/-])(\\d{1,2})\\2(\\d{4})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(4).toInt(), match.captured(3).toInt(), match.captured(1).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString DateField::normalised(const QString& text) {
    const std::optional<QDate> date = parse(text);
    return date ? date->toString(QStringLiteral("dd/MM/yyyy")) : text;
}

DateField::LeaveCheck DateField::checkOnLeave(QStringView field, const QString& text, const Clock& clock) {
    const QString wrongDate = QStringLiteral("Fecha Errónea");
    const Error wrongFormat =
        Error::told(ErrorCode::InvalidValue, wrongDate, QStringLiteral("Formato de Fecha erróneo"),
                    MessageIcon::Exclamation);
    if (text.isEmpty())
        return {text, {}};
    const std::optional<QDate> date = parse(text);
    if (!date) {
        if (field == ctl::txtFecNacimiento)
            return {text, Error::told(ErrorCode::InvalidValue, wrongDate, programTitle(), MessageIcon::None)};
        return {text, wrongFormat};
    }
    const QString shown = date->toString(QStringLiteral("dd/MM/yyyy"));
    if (*date < earliest() || *date > clock.now().date())
        return {shown, wrongFormat};
    return {shown, {}};
}

Status DateField::leave(ApplicationModel& model, ControlName field, const Clock& clock) {
    LeaveCheck check = checkOnLeave(field, model.text(field), clock);
    model.setText(field, check.text);
    return std::move(check.date);
}

} // namespace velmora
