#include "platform/widgets/OptionArrows.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QKeyEvent>

namespace velmora {
namespace {

class ArrowSelection : public QObject {
public:
    explicit ArrowSelection(QButtonGroup* group) : QObject(group), m_group(group) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        int step = 0;
        if (key->key() == Qt::Key_Right || key->key() == Qt::Key_Down)
            step = 1;
        else if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Up)
            step = -1;
        if (step == 0)
            return false;
        const QList<QAbstractButton*> buttons = m_group->buttons();
        const qsizetype from = buttons.indexOf(static_cast<QAbstractButton*>(watched));
        if (from < 0)
            return false;
        // The next button that can be used; the one left when no other can.
        QAbstractButton* next = buttons[from];
        for (qsizetype i = 1; i < buttons.size(); ++i) {
            QAbstractButton* candidate = buttons[(from + step * i + buttons.size()) % buttons.size()];
            if (candidate->isEnabled() && candidate->isVisible()) {
                next = candidate;
                break;
            }
        }
        next->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        if (!next->isChecked())
            next->click(); // as a click of the applicant's: what follows a choice follows
        return true;
    }

private:
    QButtonGroup* m_group;
};

} // namespace

void selectWithArrowKeys(QButtonGroup* group) {
    auto* selection = new ArrowSelection(group);
    for (QAbstractButton* button : group->buttons())
        button->installEventFilter(selection);
}

} // namespace velmora
