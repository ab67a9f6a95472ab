#include "users/PasswordCreation.h"

#include "platform/MessageService.h"
#include "users/UserStore.h"

namespace velmora {

PasswordCreation::PasswordCreation(UserStore& store, MessageService& messages)
    : m_store(store), m_messages(messages) {}

PasswordCreation::Answer PasswordCreation::accept(const QString& dni, const QString& password,
                                                  const QString& repeated) {
    if (password.size() < kMinimumLength || repeated.size() < kMinimumLength) {
        m_messages.show(QStringLiteral("El password debe tener al menos 6 caracteres"), programTitle(),
                        MessageIcon::None, MessageButtons::Ok);
        return Answer::TooShort;
    }
    if (password != repeated) {
        m_messages.show(QStringLiteral("Escriba la misma contraseña en las dos casillas"), programTitle(),
                        MessageIcon::None, MessageButtons::Ok);
        return Answer::Different;
    }
    m_store.BajaUsuario(dni);
    return m_store.AltaUsuario(dni, password.toUpper()) ? Answer::Stored : Answer::SaveFailed;
}

} // namespace velmora
