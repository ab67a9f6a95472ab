// The office's reading of barcode texts from scanned pages: each line of the input is one
// symbol's text (its bytes taken as Windows-1252, as symbols without ECI are read), parsed,
// unfolded and split, then every text gathered into applications and checked.

#include "FuzzSupport.h"

#include "office/ApplicationAssembler.h"
#include "office/PrintRecordFields.h"
#include "office/ScannedBarcode.h"
#include "office/Unfolding.h"
#include "platform/data/CodePages.h"

#include <cstdlib>

using namespace velmora;

namespace {

// Bounds every reader of these texts relies on; breaking one is a fault even without a crash.
void check(bool holds) {
    if (!holds)
        std::abort();
}

void readOne(const ScannedBarcode& b) {
    check(b.key.size() + b.data.size() < b.text.size());
    const QString unfolded = unfoldBarcodeText(b.data);
    check(unfolded.size() <= b.data.size());
    if (b.kind != BarcodeKind::FirstPage)
        return;
    int pieces = 0;
    const QStringList folded = splitPrintRecord(b.data, &pieces);
    check(folded.size() == kPrintRecordFieldCount);
    check(readablePrintRecord(folded).size() == kPrintRecordFieldCount);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString input = codepage::decodeCp1252(QByteArrayView(data, qsizetype(size)));
    ApplicationAssembler assembler;
    int page = 0;
    for (const QString& text : input.split(QLatin1Char('\n'))) {
        ++page;
        Result<ScannedBarcode> barcode = parseScannedBarcode(text);
        if (!barcode)
            continue;
        check(barcode->text == text);
        readOne(barcode.value());
        assembler.add(PageOrigin{QStringLiteral("lote.pdf"), page}, barcode.value());
    }
    for (const OfficeApplication& a : assembler.assemble()) {
        check(!a.id.isEmpty());
        check(a.fields.isEmpty() || a.fields.size() == kPrintRecordFieldCount);
    }
    return 0;
}
