#pragma once

#include "platform/Result.h"
#include "printing/BarcodeReader.h"
#include "printing/BarcodeText.h"

#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

namespace velmora {

class Clock;
class Pdf417Writer;

namespace docengine {
class Cursor;
class DocumentLayout;
} // namespace docengine

// Width of every barcode picture of the printed form, in twips.
inline constexpr qint16 kBarcodePictureWidth = 6000;

// The barcodes of one print, from the moment each picture goes into the document to the
// check that reads them back from the pages as they will print.
//
// A list page's barcode carries the number of the physical page it prints on, the same
// number as that page's "Página N de M". That page is only known once the document is laid
// out, so pictures go in with the number the caller expects, and numberByPage() makes anew
// those that landed elsewhere, in the laid-out pages (their place does not move: every list
// barcode has the same size).
class PrintBarcodes {
public:
    // `header` is the key, date and time every barcode starts with; picture files are made
    // in `pictureFolder` and deleted once in the document.
    PrintBarcodes(Pdf417Writer& encoder, QString header, QString pictureFolder, const Clock& clock);

    // Makes the picture of the barcode of `kind` carrying `data`, numbered `page`, and puts
    // it at `at` in a place `height` twips high as GeneraCodigoBarras gets it (2000 or 900).
    // An encoder that cannot hold the text gives its error and nothing is inserted, as does a
    // list page numbered past what the barcode's page field holds.
    Status insert(docengine::Cursor& at, BarcodeKind kind, int page, const QString& data, qint16 height);

    // Finds each picture on the laid-out pages and gives every list barcode the number of
    // its page. A barcode missing from the pages is an error, and so is a list barcode on a
    // page that continues a table from the page before (its rows are not all on its page) or
    // on a page past what its page field holds.
    Status numberByPage(docengine::DocumentLayout& layout);

    // Renders each barcode's place of its page at `dpi` as the printer gets it, decodes it
    // and compares it with the text it must carry. The error names the page.
    Status verify(const docengine::DocumentLayout& layout, int dpi = kBarcodeScanDpi) const;

    // The folded texts of the barcodes, in page order (numbered by page once numberByPage ran).
    QStringList texts() const;
    int count() const { return int(m_placed.size()); }

private:
    struct Placed {
        BarcodeKind kind = BarcodeKind::FirstPage;
        QString data = {};
        int page = 0;
        qint16 height = 0; // as the caller asked for it
        QString text = {}; // folded, as encoded
        int pageIndex = -1;
        QRectF rect = {}; // twips, on page pageIndex
    };
    Result<QImage> picture(Placed& placed, int id);

    Pdf417Writer& m_encoder;
    QString m_header;
    QString m_folder;
    const Clock& m_clock;
    std::vector<Placed> m_placed;
};

} // namespace velmora
