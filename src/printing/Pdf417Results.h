#pragma once

// What the program's two barcode readers (printing's check and the office's) do with the
// decoder's findings. Included by their .cpp files only: it brings in zxing's types.

#include <QStringList>

#include <ZXing/Result.h>

namespace velmora {

// The texts of the valid symbols, top to bottom, then left to right. Symbols without ECI
// carry Windows-1252 bytes (what the printing's writer encodes); those with ECI, the
// character set they name.
QStringList pdf417TextsInReadingOrder(ZXing::Results results);

} // namespace velmora
