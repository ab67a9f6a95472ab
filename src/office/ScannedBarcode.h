#pragma once

#include "platform/Result.h"
#include "printing/BarcodeText.h"

#include <QString>

namespace velmora {

// One barcode text of a printed application, split into its pieces. The text keeps its
// folding (see foldBarcodeText); unfolding is left to the readers of each piece.
struct ScannedBarcode {
    QString text;  // the whole text as read
    QString key;   // DNI + body + group as ClaveCodigoBarras builds it
    QString dni;   // the key's first 9 characters, blanks dropped
    QString body;  // the key's next 5 characters
    QString group; // the rest of the key, blanks dropped
    QString date;  // "DD/MM/YYYY"
    QString time;  // "HH:mm:ss"
    BarcodeKind kind = BarcodeKind::FirstPage;
    int page = 0;     // the printed page number
    QString data;     // between the page number and the final "F"
    bool cut = false; // the final "F" is missing: the symbol or the text was cut short

    // Key, date and time: the texts of one print share it.
    QString printId() const { return key + date + time; }
};

// Reads a barcode text as the printing builds it. Texts that are not ours (no date and
// time followed by a kind letter and a page number) give an error.
Result<ScannedBarcode> parseScannedBarcode(const QString& text);

} // namespace velmora
