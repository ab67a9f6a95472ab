#pragma once

#include "editor/ApplicationModel.h"

#include <QHash>
#include <QObject>

class QWidget;

namespace velmora {

// Keeps the first tab's widgets and the application's data in step. The data is the truth:
// what the user types, clicks or picks is written into it at once (and announced by the
// signals below, after the data holds it), and every change of the data is shown on the
// widget of the same name. Changes made in code never raise the signals.
class ControlBinder : public QObject, private ApplicationModelListener {
    Q_OBJECT
public:
    ControlBinder(ApplicationModel& model, QWidget& root);
    ~ControlBinder() override;

    QWidget* widget(const QString& name) const { return m_widgets.value(name); }
    // Shows every control's state on its widget.
    void pushAll();
    void push(const FormControl& control);

Q_SIGNALS:
    void optionClicked(const QString& name);
    void textEdited(const QString& name);
    void choiceConfirmed(const QString& name);
    void listClosed(const QString& name);

private:
    void controlChanged(const FormControl& control) override { push(control); }
    void focusRequested(QStringView name) override;
    void connectWidget(const FormControl& control, QWidget* widget);

    ApplicationModel& m_model;
    QHash<QString, QWidget*> m_widgets;
    bool m_pushing = false;
};

} // namespace velmora
