// velmora-tools print: prints a saved application of an installation the way "Imprimir"
// does, to a PDF, from its document and XML companion.
#include "SavedApplicationRun.h"
#include "ToolArguments.h"
#include "ToolCommand.h"

#include "app/SaveAndPrintFlow.h"
#include "editor/ApplicationModel.h"
#include "platform/AppFolders.h"
#include "printing/BarcodeText.h"

#include <QDir>
#include <QFileInfo>

namespace velmora::tools {
namespace {

const QString kUsage = QStringLiteral("print CARPETA FICHERO.doc [--draft] [--older] [--pdf SALIDA.pdf]");

int print(const QStringList& args) {
    ToolArguments parsed(
        kUsage,
        {{QStringLiteral("draft"), QStringLiteral("Imprime una copia borrador, sin códigos de barras.")},
         {QStringLiteral("older"), QStringLiteral("Usa la rutina de los procesadores de texto antiguos.")},
         {QStringLiteral("pdf"), QStringLiteral("PDF que se escribe (por omisión, junto a la solicitud)."),
          QStringLiteral("SALIDA.pdf")}});
    if (!parsed.parse(args, 2, 2))
        return parsed.exitCode();
    const QStringList& positional = parsed.positional();
    const bool draft = parsed.isSet(QStringLiteral("draft"));
    const bool older = parsed.isSet(QStringLiteral("older"));
    const AppFolders folders = AppFolders::at(positional.at(0));
    const QFileInfo document = applicationDocument(folders, positional.at(1));
    if (!document.isFile()) {
        printErr(
            QStringLiteral("No existe la solicitud %1.").arg(QDir::toNativeSeparators(document.filePath())));
        return 1;
    }
    // Checked before anything is loaded: the output must not be one of the files read.
    const QString pdf = parsed.value(
        QStringLiteral("pdf"),
        QDir(document.absolutePath()).filePath(document.completeBaseName() + QStringLiteral(".pdf")));
    if (!outputAllowed(pdf, document, folders))
        return 2;
    SavedApplicationRun run;
    if (!run.load(folders, document))
        return 1;
    SaveAndPrintFlow& flow = run.flow(pdf, older);
    auto printed = draft ? flow.save(true, true) : flow.print();
    run.finish();
    // Why, on the console; the exit status tells scripts.
    if (!printed.ok()) {
        run.messages().tell(printed.error());
        return 1;
    }
    // Nobody is there to open the PDF: the notice is only said.
    if (const std::optional<PrintoutNotice>& notice = printed.value().notice)
        run.messages().inform(notice->text, notice->title, notice->icon);
    printOut(QStringLiteral("PDF escrito en %1 (%2 páginas)")
                 .arg(QDir::toNativeSeparators(printed.value().outcome.pdfPath))
                 .arg(printed.value().outcome.pageCount));
    // The kind letter and the page follow the key and the date and time.
    const qsizetype kind = ClaveCodigoBarras(run.model().text(ctl::txtDNI), run.model().value(ctl::cboCuerpo),
                                             run.model().value(ctl::cboGrupo))
                               .size() +
                           18;
    for (const QString& text : printed.value().barcodes)
        printOut(QStringLiteral("código de barras %1 %2: %3 caracteres")
                     .arg(text.mid(kind, 1), text.mid(kind + 1, 3))
                     .arg(text.size()));
    return 0;
}

const ToolCommand printCommand("print", kUsage,
                               QStringLiteral("Imprime una solicitud guardada de la instalación."), print);

} // namespace
} // namespace velmora::tools
