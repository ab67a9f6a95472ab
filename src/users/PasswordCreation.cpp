#include "users/PasswordCreation.h"

#include "platform/ProgramTitle.h"
#include "users/UserStore.h"

namespace velmora {

PasswordCreation::PasswordCreation(UserStore& store) : m_store(store) {}

Status PasswordCreation::accept(const QString& dni, const QString& password, const QString& repeated) {
    const auto refused = [](const QString& text) {
        return Error::told(ErrorCode::InvalidValue, text, programTitle(), MessageIcon::None);
    };
    if (password.size() < kMinimumLength || repeated.size() < kMinimumLength)
        return refused(QStringLiteral("El password debe tener al menos 6 caracteres"));
    if (password != repeated)
        return refused(QStringLiteral("Escriba la misma contraseña en las dos casillas"));
    m_store.BajaUsuario(dni);
    return m_store.AltaUsuario(dni, password.toUpper());
}

} // namespace velmora
