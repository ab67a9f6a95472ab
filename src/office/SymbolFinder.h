#pragma once

#include <QImage>
#include <QStringList>

namespace velmora {

// Every PDF417 text on a scanned page, whichever way up the page lies and however slightly
// it is skewed. Empty when there is none.
QStringList findBarcodeTexts(const QImage& page);

} // namespace velmora
