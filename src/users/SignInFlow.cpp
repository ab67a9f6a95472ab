#include "users/SignInFlow.h"

#include "platform/MessageService.h"
#include "users/DniValidator.h"
#include "users/UserStore.h"

namespace velmora {

SignInFlow::SignInFlow(UserStore& store, MessageService& messages) : m_store(store), m_messages(messages) {}

bool SignInFlow::openStore() {
    const Status opened = m_store.AbreUsuarios();
    if (opened)
        return true;
    m_messages.show(opened.error().description, programTitle(), MessageIcon::Critical, MessageButtons::Ok);
    return false;
}

bool SignInFlow::checkDniOnLeave(DniTextBox& box) {
    if (box.text().isEmpty())
        return true;
    if (ValidaDNI(box, m_messages))
        return true;
    box.setText(QString());
    return false;
}

SignInFlow::DniAnswer SignInFlow::acceptDni(DniTextBox& box) {
    if (m_step != Step::Dni || box.text().isEmpty())
        return DniAnswer::Ignored;
    box.setText(box.text().toUpper());
    if (!ValidaDNI(box, m_messages)) {
        warn(QStringLiteral("El DNI introducido no es válido"));
        return DniAnswer::Invalid;
    }
    if (m_store.ExisteUsuario(box.text())) {
        m_outcome.hasPassword = true;
        m_step = Step::Password;
        return DniAnswer::PasswordNeeded;
    }
    m_outcome.dni = box.text();
    m_outcome.hasPassword = false;
    m_outcome.signedIn = true;
    m_step = Step::SignedIn;
    return DniAnswer::SignedIn;
}

SignInFlow::PasswordAnswer SignInFlow::acceptPassword(const QString& dni, const QString& password) {
    if (password.isEmpty() || dni.isEmpty()) {
        warn(QStringLiteral("Es obligatorio rellenar Usuario y Password"));
        return PasswordAnswer::Missing;
    }
    // Only a DNI accepted on the first step may be let in: the password alone proves nothing
    // about a DNI the store has never been asked about.
    if (m_step != Step::Password || !m_store.CompruebaPwd(dni.toUpper(), password.toUpper())) {
        warn(QStringLiteral("Usuario no válido"));
        return PasswordAnswer::Wrong;
    }
    m_outcome.dni = dni;
    m_outcome.signedIn = true;
    m_step = Step::SignedIn;
    return PasswordAnswer::SignedIn;
}

void SignInFlow::warn(const QString& text) {
    m_messages.show(text, programTitle(), MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace velmora
