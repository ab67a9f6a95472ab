#pragma once

#include "platform/DniTextBox.h"
#include "platform/Result.h"

#include <QColor>

namespace velmora {

// A DNI as the program keeps it: eight digits and a check letter, padded with "0".
inline constexpr int kDniLength = 9;

// Colours the check leaves on the box.
QColor dniValidColor();   // black
QColor dniInvalidColor(); // RGB(254, 0, 0)

// The DNI of an eight-digit `number` (0 to 99999999) with its check letter.
QString dniOf(int number);

// Checks and normalises the DNI typed into `box`: pads it with "0" on the left up to 9
// characters, tests eight digits plus a check letter, and on success leaves the text in
// upper case. Colours the text black or red; a failure is "DNI no válido" (titled "Error en
// DNI"). Never clears the box: what happens next is the caller's choice.
Status ValidaDNI(DniTextBox& box);

} // namespace velmora
