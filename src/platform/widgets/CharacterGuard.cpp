#include "platform/widgets/CharacterGuard.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace velmora {

void CharacterGuard::install(QLineEdit* box, QChar refused, QChar standIn) {
    auto* guard = new CharacterGuard(box, refused, standIn);
    box->setValidator(guard);
    box->installEventFilter(guard);
}

QValidator::State CharacterGuard::validate(QString& input, int&) const {
    // Replaced one for one, so the caret stays where it was.
    input.replace(m_refused, m_standIn);
    return Acceptable;
}

bool CharacterGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->text().contains(m_refused))
        return true;
    return QValidator::eventFilter(watched, event);
}

} // namespace velmora
