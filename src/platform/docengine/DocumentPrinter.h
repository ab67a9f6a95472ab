#pragma once

#include "platform/Result.h"

#include <QString>

namespace velmora {
class SystemPrinter;
}

namespace velmora::docengine {

class Document;
class DocumentLayout;

enum class PrintDestination {
    Automatic, // the default system printer when one is configured, else a PDF beside the document
    Printer,   // the default system printer
    Pdf,       // a PDF beside the document
};

struct PrintOutcome {
    bool printed = false; // sent to a printer
    QString printerName;  // when printed
    QString pdfPath;      // when written as PDF
    int pageCount = 0;
};

// Prints documents one page at a time through QPainter: to the default printer, or to an A4 PDF
// that asks viewers not to scale it. Both produce the same pages. Printers come from
// `printers`; without them (null) there is no default printer.
class DocumentPrinter {
public:
    static Result<PrintOutcome> print(Document& document,
                                      PrintDestination destination = PrintDestination::Automatic,
                                      SystemPrinter* printers = nullptr);
    // Prints pages already laid out (and checked) from the document saved at `documentPath`.
    static Result<PrintOutcome> print(const DocumentLayout& layout, const QString& documentPath,
                                      PrintDestination destination = PrintDestination::Automatic,
                                      SystemPrinter* printers = nullptr);
    // Writes the document as PDF (replacing `pdfPath` atomically); returns the page count.
    static Result<int> writePdf(Document& document, const QString& pdfPath);
    static Result<int> writePdf(const DocumentLayout& layout, const QString& pdfPath, const QString& title);
    // The document's path with its extension replaced by ".pdf".
    static QString pdfPathFor(const QString& documentPath);
};

} // namespace velmora::docengine
