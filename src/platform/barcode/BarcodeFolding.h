#pragma once

#include <QString>

namespace velmora {

// Folds the characters a barcode does not carry: "&" becomes a blank, then accented and
// diaeresis vowels become "&" + the bare vowel, "ñ"/"Ñ" "&n"/"&N", ordinal signs and
// the middle dot ".", the double quote "'", question and exclamation marks a blank, "ç"
// "c" (53 replacements, in a fixed order). Text typed with combining accents is first
// composed, so it folds like the same text typed with precomposed letters.
QString foldBarcodeText(const QString& text);

} // namespace velmora
