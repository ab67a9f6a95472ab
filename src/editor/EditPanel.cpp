#include "editor/EditPanel.h"

#include "platform/UserQuestions.h"

#include <algorithm>

namespace velmora {

bool confirmRowDeletion(UserQuestions& questions) {
    return questions.ask(QStringLiteral("¿Desea borrar la fila seleccionada?"), QStringLiteral("Solicitudes"),
                         MessageIcon::Exclamation, QuestionButtons::YesNo) == MessageAnswer::Yes;
}

std::optional<qint64> wholeNumberOf(const QString& text) {
    const QString trimmed = text.trimmed();
    const QStringView digits = QStringView(trimmed).mid(trimmed.startsWith(QLatin1Char('-')) ? 1 : 0);
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
        return std::nullopt;
    bool ok = false;
    const qint64 value = trimmed.toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

} // namespace velmora
