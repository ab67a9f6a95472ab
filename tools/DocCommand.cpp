// velmora-tools doc: looks into word-processor documents as the embedded engine reads them
// (form fields, bookmarks, tables, text) and renders them to PDF.
#include "OutputGuard.h"
#include "ToolArguments.h"
#include "ToolCommand.h"

#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/DocumentPrinter.h"
#include "platform/docengine/LayoutDump.h"

#include <QElapsedTimer>
#include <QFileInfo>

namespace velmora::tools {
namespace {

using namespace velmora::docengine;

const QString kUsage = QStringLiteral(
    "doc fields DOCUMENTO | doc text DOCUMENTO | doc pdf DOCUMENTO [SALIDA.pdf] | doc dump DOCUMENTO");

int fields(Document& doc) {
    for (const QString& name : doc.formFieldNames()) {
        auto f = doc.formField(name).value();
        if (f.kind() == FormFieldKind::CheckBox)
            printOut(name + QStringLiteral(" [casilla] ") +
                     (f.checked().valueOr(false) ? QStringLiteral("X") : QString()));
        else
            printOut(name + QStringLiteral(" = ") + f.result().valueOr(QString()));
    }
    for (const QString& name : doc.bookmarkNames())
        printOut(QStringLiteral("marcador ") + name + QStringLiteral(" = ") +
                 doc.bookmarkText(name).valueOr(QString()));
    printOut(QStringLiteral("tablas: %1").arg(doc.tableCount()));
    for (int i = 1; i <= doc.tableCount(); ++i) {
        const Table t = doc.table(i).value();
        printOut(QStringLiteral("  tabla %1: %2 filas x %3 columnas")
                     .arg(i)
                     .arg(t.rowCount())
                     .arg(t.columnCount()));
    }
    return 0;
}

int pdf(Document& doc, const QString& out) {
    // The default output of "x.pdf" is "x.pdf" itself: never write over what is being read.
    if (const Status allowed = checkOutputFile(out, {doc.path()}); !allowed.ok()) {
        printErr(allowed.error().description);
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    const DocumentLayout layout(doc);
    const qint64 laidOut = timer.elapsed();
    auto pages = DocumentPrinter::writePdf(layout, out, QFileInfo(doc.path()).completeBaseName());
    if (!pages.ok()) {
        printErr(pages.error().description);
        return 1;
    }
    printOut(QStringLiteral("%1: %2 páginas (maquetación %3 ms, total %4 ms)")
                 .arg(out)
                 .arg(pages.value())
                 .arg(laidOut)
                 .arg(timer.elapsed()));
    return 0;
}

int run(const QStringList& args) {
    ToolArguments parsed(kUsage, {});
    if (!parsed.parse(args, 2, 3))
        return parsed.exitCode();
    const QStringList& pos = parsed.positional();
    auto doc = Document::open(pos.at(1));
    if (!doc.ok()) {
        printErr(doc.error().description);
        return 1;
    }
    if (pos.at(0) == QLatin1String("fields"))
        return fields(doc.value());
    if (pos.at(0) == QLatin1String("text")) {
        printOut(doc.value().plainText());
        return 0;
    }
    if (pos.at(0) == QLatin1String("dump")) {
        // Every page's texts, lines and pictures with their places: two versions of the
        // engine that print the same pages give the same dump.
        const DocumentLayout layout(doc.value());
        printOut(dumpLayout(layout));
        return 0;
    }
    if (pos.at(0) == QLatin1String("pdf"))
        return pdf(doc.value(), pos.size() > 2 ? pos.at(2) : DocumentPrinter::pdfPathFor(pos.at(1)));
    return parsed.usageError(QStringLiteral("Orden desconocida: doc %1").arg(pos.at(0)));
}

const ToolCommand
    kCommand("doc", kUsage,
             QStringLiteral("Muestra los campos, el texto o las páginas de un documento, o lo pasa a PDF."),
             run);

} // namespace
} // namespace velmora::tools
