#pragma once

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

    QGroupBox* frame(const QString& name, const QString& title);
    QLabel* label(const QString& text, const QString& name = QString());
    QLineEdit* textBox(const QString& name);
    QLineEdit* dniBox(const QString& name);
    QLineEdit* dateBox(const QString& name);
    QRadioButton* option(const QString& name, const QString& caption);
    DataComboBox* dropDown(const QString& name);
    QWidget* optionPair(QRadioButton* first, QRadioButton* second, const QString& question = QString());
};

} // namespace velmora
