// usuarios.xml through sign-in: opening the store, looking a user up, checking a password
// and adding one (which writes the store back).

#include "FuzzSupport.h"

#include "users/UserStore.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzz::writeScratchFile(QStringLiteral("usuarios.xml"), fuzz::bytesOf(data, size));
    UserStore store(fuzz::scratchFolder());
    if (!store.AbreUsuarios(path).ok())
        return 0;
    const QString dni = QStringLiteral("12345678Z");
    if (store.ExisteUsuario(dni))
        (void)store.CompruebaPwd(dni, QStringLiteral("CLAVE"));
    store.BajaUsuario(dni);
    (void)store.AltaUsuario(dni, QStringLiteral("CLAVE"));
    return 0;
}
