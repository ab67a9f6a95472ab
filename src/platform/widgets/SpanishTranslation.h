#pragma once

class QCoreApplication;

namespace velmora {

// Loads Qt's own Spanish texts (qtbase_es), so standard buttons read "Sí", "No",
// "Cancelar", "Aceptar". False when the translation is not installed.
bool installSpanishTranslation(QCoreApplication& app);

} // namespace velmora
