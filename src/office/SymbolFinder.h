#pragma once

#include <QImage>
#include <QStringList>

namespace velmora {

// Every PDF417 text on a scanned page, whichever way up the page lies and however slightly
// it is skewed, top to bottom. Empty when there is none. Tries the cheap reads first: most
// pages give their symbol to the first, and only a page without one pays for them all.
QStringList findBarcodeTexts(const QImage& page);

// One cheap read of a page: its symbols when they stand out cleanly, often none otherwise
// (faint or skewed scans). Meant for a coarse rendering looked at before the full one.
QStringList glanceBarcodeTexts(const QImage& page);

// The next look at that coarse rendering when the first found nothing: the cheap read, turned
// by the skews a scanner gives, on each area where a symbol can lie. Empty unless every such
// area gave its symbol.
QStringList glanceSkewedTexts(const QImage& page);

} // namespace velmora
