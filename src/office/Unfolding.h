#pragma once

#include <QString>

namespace velmora {

// Undoes what it can of foldBarcodeText: "&n" and "&N" give back "ñ" and "Ñ", "&" + a vowel
// that vowel with an acute accent (the folding keeps no more, so a diaeresis or a grave
// accent comes back acute). An "&" before anything else is left as it is.
QString unfoldBarcodeText(const QString& folded);

} // namespace velmora
