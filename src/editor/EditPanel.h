#pragma once

#include <QString>

#include <optional>

namespace velmora {

class UserQuestions;

// What the next "Aceptar" of an edit panel does: add a row (the resting mode) or modify
// the row "Modificar" loaded.
enum class PanelMode { Adding = 1, Modifying = 2 };

// "¿Desea borrar la fila seleccionada?" (Yes/No, exclamation, "Solicitudes"), the question
// every list panel asks before "Borrar" deletes a row: true on "Sí".
bool confirmRowDeletion(UserQuestions& questions);

// The number in a numeric box when it is a whole number written with digits only (an
// optional leading "-"); nothing for any other text, one with a decimal part included.
std::optional<qint64> wholeNumberOf(const QString& text);

} // namespace velmora
