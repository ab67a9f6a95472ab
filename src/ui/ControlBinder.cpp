#include "ui/ControlBinder.h"

#include "editor/ApplicationModel.h"
#include "platform/widgets/DataComboBox.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace velmora {

ControlBinder::ControlBinder(ApplicationModel& model, QWidget& root) : m_model(model) {
    for (const FormControl& control : model.controls()) {
        auto* widget = root.findChild<QWidget*>(control.name);
        if (!widget)
            continue;
        m_widgets.insert(control.name, widget);
        connectWidget(control, widget);
    }
    m_model.addListener(this);
}

ControlBinder::~ControlBinder() {
    m_model.removeListener(this);
}

void ControlBinder::focusRequested(QStringView name) {
    if (QWidget* widget = m_widgets.value(name.toString())) {
        widget->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            edit->selectAll();
    }
}

void ControlBinder::connectWidget(const FormControl& control, QWidget* widget) {
    const QString name = control.name;
    if (auto* combo = qobject_cast<DataComboBox*>(widget)) {
        connect(combo, &DataComboBox::textEdited, this, [this, combo, name] {
            m_model.setChoice(ControlName(name), combo->value(), combo->text(), combo->isListItem());
            Q_EMIT textEdited(name);
        });
        connect(combo, &DataComboBox::choiceConfirmed, this, [this, combo, name] {
            m_model.setChoice(ControlName(name), combo->value(), combo->text());
            Q_EMIT choiceConfirmed(name);
        });
        connect(combo, &DataComboBox::listClosed, this, [this, name] { Q_EMIT listClosed(name); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        connect(edit, &QLineEdit::textEdited, this, [this, name](const QString& text) {
            m_model.setText(ControlName(name), text);
            Q_EMIT textEdited(name);
        });
    } else if (auto* option = qobject_cast<QRadioButton*>(widget)) {
        connect(option, &QAbstractButton::clicked, this, [this, name] {
            m_model.setSelected(ControlName(name), true);
            Q_EMIT optionClicked(name);
        });
    }
}

void ControlBinder::pushAll() {
    for (const FormControl& control : m_model.controls())
        push(control);
}

void ControlBinder::push(const FormControl& control) {
    QWidget* widget = m_widgets.value(control.name);
    if (!widget || m_pushing)
        return;
    m_pushing = true;
    if (auto* combo = qobject_cast<DataComboBox*>(widget)) {
        if (combo->text() != control.text || combo->value() != control.value) {
            if (control.value.isEmpty()) {
                combo->setText(control.text);
                // A text set in code finds its row in the list, as the drop-down itself does.
                m_model.setChoice(ControlName(control.name), combo->value(), control.text,
                                  combo->isListItem());
            } else {
                combo->setChoice(control.value, control.text);
            }
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (edit->text() != control.text)
            edit->setText(control.text);
    } else if (auto* option = qobject_cast<QRadioButton*>(widget)) {
        if (option->isChecked() != control.selected) {
            // An exclusive group refuses to leave every button clear: open it for the moment.
            QButtonGroup* group = option->group();
            const bool exclusive = group && group->exclusive();
            if (exclusive && !control.selected)
                group->setExclusive(false);
            option->setChecked(control.selected);
            if (exclusive && !control.selected)
                group->setExclusive(true);
        }
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (!control.text.isEmpty() && label->text() != control.text)
            label->setText(control.text);
    }
    if (widget->isEnabledTo(widget->parentWidget()) != control.enabled)
        widget->setEnabled(control.enabled);
    if (widget->isHidden() == control.visible)
        widget->setVisible(control.visible);
    m_pushing = false;
}

} // namespace velmora
