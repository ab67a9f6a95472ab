#include "office/SymbolFinder.h"

#include "printing/BarcodeReader.h"

namespace velmora {

QStringList findBarcodeTexts(const QImage& page) {
    return readPdf417(page);
}

} // namespace velmora
