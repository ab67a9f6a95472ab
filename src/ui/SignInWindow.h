#pragma once

#include "users/DniValidator.h"
#include "users/SignInFlow.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

class DniLineEdit;
class MessageService;
class UserStore;
struct RunState;

// The sign-in window (frmUsuario): a DNI, then for a known user the password. Opens the user
// store when it is built; the signed-in DNI and the two flags are written to the run state.
// Shown modally with exec(); a store that cannot be read has been reported by then, and the
// window is not usable (exec() returns at once, nobody signed in).
class SignInWindow : public QDialog {
    Q_OBJECT
public:
    SignInWindow(UserStore& store, MessageService& messages, RunState& state, QWidget* parent = nullptr);

    bool isUsable() const { return m_usable; }
    int exec() override;

private:
    void buildControls();
    void onDniKeyReleased();
    void onDniFocusLeft(Qt::FocusReason reason);
    void checkDniAfterLeaving();
    void acceptDni();
    void acceptPassword();
    void showPasswordStep();
    void publishOutcome();

    SignInFlow m_flow;
    MessageService& m_messages;
    RunState& m_state;
    bool m_usable = false;
    bool m_checkingDni = false;

    QLabel* m_label1 = nullptr;
    DniLineEdit* m_txtDNI = nullptr;
    QPushButton* m_cmdAceptarDNI = nullptr;
    QLabel* m_lblPwd = nullptr;
    QLineEdit* m_txtPwd = nullptr;
    QPushButton* m_cmdAceptarPwd = nullptr;
    QPushButton* m_cmdSalir = nullptr;
};

} // namespace velmora
