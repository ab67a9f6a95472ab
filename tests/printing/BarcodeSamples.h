#pragma once

#include "printing/BarcodeText.h"

#include <QDateTime>

namespace velmora::test {

// The key and moment of a print, as the barcodes of the printing tests start.
inline QString sampleHeader() {
    return barcodeHeader(ClaveCodigoBarras(u"12345678Z"_s, u"0012341"_s, u"1"_s),
                         QDateTime(QDate(2026, 3, 5), QTime(14, 5, 9)));
}

} // namespace velmora::test
