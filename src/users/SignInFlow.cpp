#include "users/SignInFlow.h"

#include "platform/ProgramTitle.h"
#include "users/DniValidator.h"
#include "users/UserStore.h"

namespace velmora {
namespace {

Error warning(const QString& text) {
    return Error::told(ErrorCode::InvalidValue, text, programTitle(), MessageIcon::Exclamation);
}

} // namespace

SignInFlow::SignInFlow(UserStore& store) : m_store(store) {}

Status SignInFlow::openStore() {
    const Status opened = m_store.AbreUsuarios();
    if (opened)
        return opened;
    Error failure = Error::told(opened.error().number, opened.error().description, programTitle());
    failure.endsProgram = opened.error().endsProgram;
    return failure;
}

Status SignInFlow::checkDniOnLeave(DniTextBox& box) {
    if (box.text().isEmpty())
        return {};
    const Status valid = ValidaDNI(box);
    if (!valid)
        box.setText(QString());
    return valid;
}

Result<SignInFlow::DniAnswer> SignInFlow::acceptDni(DniTextBox& box) {
    if (m_step != Step::Dni || box.text().isEmpty())
        return DniAnswer::Ignored;
    box.setText(box.text().toUpper());
    if (const Status valid = ValidaDNI(box); !valid)
        return warning(QStringLiteral("El DNI introducido no es válido")).after(valid.error());
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

Status SignInFlow::acceptPassword(const QString& dni, const QString& password) {
    if (password.isEmpty() || dni.isEmpty())
        return warning(QStringLiteral("Es obligatorio rellenar Usuario y Password"));
    // Only a DNI accepted on the first step may be let in: the password alone proves nothing
    // about a DNI the store has never been asked about.
    if (m_step != Step::Password || !m_store.CompruebaPwd(dni.toUpper(), password.toUpper()))
        return warning(QStringLiteral("Usuario no válido"));
    m_outcome.dni = dni;
    m_outcome.signedIn = true;
    m_step = Step::SignedIn;
    return {};
}

} // namespace velmora
