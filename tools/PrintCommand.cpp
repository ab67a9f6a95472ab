// velmora-tools print: prints a saved application of an installation the way "Imprimir"
// does, to a PDF, from its document and XML companion.
#include "OutputGuard.h"
#include "ToolArguments.h"
#include "ToolCommand.h"

#include "app/ContestConfiguration.h"
#include "app/LoadedTables.h"
#include "app/LoadingSequence.h"
#include "app/SaveAndPrintFlow.h"
#include "catalog/CatalogLoader.h"
#include "editor/ApplicationModel.h"
#include "editor/FirstTabRules.h"
#include "editor/SavedApplicationReader.h"
#include "platform/AppFolders.h"
#include "platform/Clock.h"
#include "platform/MessageService.h"
#include "platform/Progress.h"
#include "printing/ApplicationDocument.h"
#include "printing/BarcodeText.h"
#include "printing/PrintingWordProcessor.h"
#include "users/UserStore.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <utility>

namespace velmora::tools {
namespace {

// The save and print flow on the console: the copy it saves goes to a scratch folder, so no
// password is set for it, and its progress is not shown.
class ConsoleHost final : public SaveAndPrintHost {
public:
    PasswordOutcome askForPassword(const QString&) override { return PasswordOutcome::Declined; }
    std::unique_ptr<ProgressWindow> progressWindow() override { return std::make_unique<ProgressWindow>(); }
};

bool loadCatalogues(const AppFolders& folders, LoadedTables& tables, MessageService& messages) {
    return loadInstallation(folders, tables, messages).loaded;
}

// A body or group the catalogue does not know gets no code: the barcodes' key would carry
// "00000" or a blank for it, which the contest office cannot file.
void warnAboutUnknownChoices(const ApplicationModel& model) {
    for (const auto& [control, what] :
         {std::pair(ctl::cboCuerpo, "el cuerpo o categoría"), std::pair(ctl::cboGrupo, "el grupo")}) {
        const QString text = model.text(control);
        if (!text.isEmpty() && model.value(control).isEmpty())
            printErr(QStringLiteral("aviso: %1 de la solicitud («%2») no está en el catálogo del concurso; "
                                    "los códigos de barras no llevarán su código.")
                         .arg(QString::fromUtf8(what), text));
    }
}

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
    const QFileInfo document(positional.at(1).contains(QLatin1Char('/')) ||
                                     positional.at(1).contains(QLatin1Char('\\'))
                                 ? positional.at(1)
                                 : QDir(folders.applications).filePath(positional.at(1)));
    if (!document.isFile()) {
        printErr(
            QStringLiteral("No existe la solicitud %1.").arg(QDir::toNativeSeparators(document.filePath())));
        return 1;
    }
    // Checked before anything is loaded: the output must not be one of the files read.
    const QString pdf = parsed.value(
        QStringLiteral("pdf"),
        QDir(document.absolutePath()).filePath(document.completeBaseName() + QStringLiteral(".pdf")));
    if (const Status allowed = checkOutputFile(
            pdf,
            {document.filePath(),
             QDir(document.absolutePath()).filePath(document.completeBaseName() + QStringLiteral(".xml"))},
            folders.program);
        !allowed.ok()) {
        printErr(allowed.error().description);
        return 2;
    }
    auto configuration = ContestConfiguration::read(folders.program);
    if (!configuration.ok()) {
        printErr(QStringLiteral("No se puede leer conf.xml: %1").arg(configuration.error().description));
        return 1;
    }

    ConsoleMessageService messages;
    LoadedTables tables;
    if (!loadCatalogues(folders, tables, messages)) {
        printErr(QStringLiteral("La carga del concurso ha fallado."));
        return 1;
    }

    ApplicationModel model;
    ApplicationLists lists{tables.vacancyList, tables.resultasList, tables.coursesList, tables.documentsList};
    docengine::WordProcessor reader;
    Progress progress;
    auto loaded = readSavedApplication(document.absolutePath(), document.fileName(), reader, model, lists,
                                       progress, &tables);
    if (!loaded.ok()) {
        printErr(QStringLiteral("No se puede leer la solicitud %1: %2")
                     .arg(QDir::toNativeSeparators(document.filePath()), loaded.error().description));
        return 1;
    }
    for (const QString& notice : loaded.value().notices)
        printErr(notice);
    // The lists print from the companion file: without it the printout would lack them.
    if (loaded.value().lists != SidecarRead::Loaded) {
        printErr(QStringLiteral("No se puede imprimir la solicitud sin sus listas."));
        return 1;
    }
    // What the editor does with a loaded application: the situation found in its list (or
    // the list's "other" row), the boxes it shows.
    FirstTabRules(model).applyLoadedData(tables.situations);
    warnAboutUnknownChoices(model);

    // Printing saves the application again; that copy goes to a scratch folder so the
    // installation's files stay as they were.
    QTemporaryDir scratch;
    AppFolders printFolders = folders;
    printFolders.applications = scratch.path() + QLatin1Char('/');
    SystemClock clock;
    PrintingWordProcessor wordProcessor;
    UserStore users(folders.program, messages); // read only: the flow asks whether the DNI has a password
    ConsoleHost host;
    SaveAndPrintFlow flow(
        SaveAndPrintContext{.model = model,
                            .lists = lists,
                            .situations = tables.situations,
                            .configuration = configuration.value(),
                            .folders = printFolders,
                            .users = users,
                            .printing = wordProcessor,
                            .messages = messages,
                            .clock = clock,
                            .wordProcessorVersion = older ? QStringLiteral("8") : QStringLiteral("16"),
                            .destination = docengine::PrintDestination::Pdf,
                            .pdfPath = QFileInfo(pdf).absoluteFilePath()},
        host);
    auto printed = draft ? flow.save(true, true) : flow.print();
    wordProcessor.closeAndForget();
    // The flow has shown why (on the console); the exit status tells scripts.
    if (!printed.ok())
        return 1;
    printOut(QStringLiteral("PDF escrito en %1 (%2 páginas)")
                 .arg(QDir::toNativeSeparators(printed.value().outcome.pdfPath))
                 .arg(printed.value().outcome.pageCount));
    // The kind letter and the page follow the key and the date and time.
    const qsizetype kind =
        ClaveCodigoBarras(model.text(ctl::txtDNI), model.value(ctl::cboCuerpo), model.value(ctl::cboGrupo))
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
