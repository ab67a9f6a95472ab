#pragma once

#include "applications/ApplicationSelection.h"

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

namespace velmora {

class DataComboBox;
class MessageService;
struct RunState;

// The list of the signed-in user's saved applications (frmSeleccion), over the run state's
// application files table. It does not open the loading window or the editor itself: it
// says which application the user wants and its caller goes on. Deleting happens here.
class SelectionWindow : public QWidget {
    Q_OBJECT
public:
    SelectionWindow(RunState& state, MessageService& messages, QWidget* parent = nullptr);

    // When the user comes back from an application being edited, only saved ones can be opened.
    void hideNewButton();

Q_SIGNALS:
    // "Solicitud Nueva": the load-existing flag is off and no file is selected.
    void newApplicationRequested();
    // "Cargar Solicitud": the run state holds the chosen file and the load-existing flag.
    void applicationRequested(const QString& fileName);
    // The user closed the window without choosing.
    void closedWithoutChoice();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void bindList();
    QString chosenFile() const;
    // The longest text that tells an application apart, to size the box by.
    QString longestSummary() const;
    void onNew();
    void onLoad();
    void onDelete();

    RunState& m_state;
    ApplicationSelection m_selection;
    MessageService& m_messages;
    bool m_choiceMade = false;

    QFrame* m_frame1 = nullptr;
    QLabel* m_label1 = nullptr;
    DataComboBox* m_cboSolicitudes = nullptr;
    QPushButton* m_cmdNueva = nullptr;
    QPushButton* m_cmdCargar = nullptr;
    QPushButton* m_cmdBorrar = nullptr;
};

} // namespace velmora
