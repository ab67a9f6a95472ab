#pragma once

#include <QImage>
#include <QStringList>

namespace velmora {

// Every PDF417 text on a scanned page, whichever way up the page lies and however slightly
// it is skewed, top to bottom. Empty when there is none. Tries the cheap reads first: most
// pages give their symbol to the first, and only a page without one pays for them all.
QStringList findBarcodeTexts(const QImage& page);

// The cheap reads of a page, meant for a coarse rendering looked at before the full one:
// each area where a symbol can lie is read with a fixed threshold, levelled first when the
// scan is skewed; the whole page only when no area gives a symbol. Often empty for faint
// scans; then the full rendering decides.
QStringList glanceTexts(const QImage& page);

} // namespace velmora
