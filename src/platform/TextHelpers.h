#pragma once

#include <QString>

namespace velmora {

// Pads text with `caracter` up to `length`, in front (padLeft) or behind; a text already
// that long comes back unchanged, never cut.
QString PadText(const QString& text, qint16 length, bool padLeft, QChar caracter);

// Converts text read as Windows-1252 whose bytes were really in the OEM code page 850,
// character for character (same length).
QString OemToAnsi(const QString& text);

} // namespace velmora
