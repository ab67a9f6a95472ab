#pragma once

#include "editor/ControlName.h"

#include <QWidget>

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace velmora {

class DataComboBox;

// The first tab of the editor: personal data, the contest choices and the professional
// data. It only builds and lays out the controls, each named after its control name; the
// editor binds the drop-downs and mirrors the controls into the application's data.
class PersonalDataPanel : public QWidget {
    Q_OBJECT
public:
    explicit PersonalDataPanel(QWidget* parent = nullptr);

private:
    QGroupBox* buildPersonal();
    QGroupBox* buildContest();
    QGroupBox* buildProfessional();

    QGroupBox* frame(ControlName name, const QString& title);
    QLabel* label(const QString& text);
    QLabel* label(const QString& text, ControlName name);
    QLineEdit* textBox(ControlName name);
    QLineEdit* dniBox(ControlName name);
    QLineEdit* dateBox(ControlName name);
    QRadioButton* option(ControlName name, const QString& caption);
    DataComboBox* dropDown(ControlName name);
    QWidget* optionPair(QRadioButton* first, QRadioButton* second, const QString& question = QString());
};

} // namespace velmora
