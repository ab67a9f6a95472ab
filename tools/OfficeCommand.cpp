// velmora-tools office: the contest office reads scanned printouts back into applications.
#include "ToolArguments.h"
#include "ToolCommand.h"

#include "app/LoadingSequence.h"
#include "catalog/CatalogTables.h"
#include "office/ContestRules.h"
#include "office/OfficeBatchReader.h"
#include "office/OfficeCsvExport.h"
#include "platform/AppFolders.h"
#include "platform/MessageService.h"

#include <QElapsedTimer>

#include <cstdio>
#include <limits>
#include <memory>

namespace velmora::tools {
namespace {

const QString kUsage = QStringLiteral("office read FICHEROS... --out CARPETA [--contest INSTALACION]");

// Batches shorter than this finish before a progress line would help.
constexpr int kPagesWorthProgress = 20;

void showProgress(int done, int total) {
    if (total < kPagesWorthProgress)
        return;
    std::fprintf(stderr, "\rLeyendo páginas: %d de %d", done, total);
    if (done == total)
        std::fputc('\n', stderr);
    std::fflush(stderr);
}

int read(const QStringList& args) {
    ToolArguments parsed(
        kUsage, {{QStringLiteral("out"), QStringLiteral("Carpeta donde se escriben los CSV."),
                  QStringLiteral("CARPETA")},
                 {QStringLiteral("contest"),
                  QStringLiteral("Instalación del concurso con la que se comprueban las solicitudes."),
                  QStringLiteral("INSTALACION")}});
    if (!parsed.parse(args, 1, std::numeric_limits<qsizetype>::max()))
        return parsed.exitCode();
    const QString out = parsed.value(QStringLiteral("out"));
    if (out.isEmpty())
        return parsed.usageError(QStringLiteral("Falta la carpeta de salida (--out)."));

    std::unique_ptr<CatalogContestRules> rules;
    if (parsed.isSet(QStringLiteral("contest"))) {
        const QString installation = parsed.value(QStringLiteral("contest"));
        CatalogTables tables;
        ConsoleMessageService messages;
        if (!loadInstallation(AppFolders::at(installation), tables, messages).loaded) {
            printErr(QStringLiteral("No se puede cargar la instalación del concurso %1").arg(installation));
            return 2;
        }
        rules = std::make_unique<CatalogContestRules>(tables);
    }

    QElapsedTimer clock;
    clock.start();
    OfficeBatchReader reader(OfficeReadOptions{.contest = rules.get()});
    const OfficeReadOutcome outcome = reader.read(parsed.positional(), showProgress);
    if (Status written = writeOfficeCsv(outcome, out); !written) {
        printErr(written.error().description);
        return 2;
    }

    const int total = int(outcome.applications.size());
    const int complete = outcome.completeApplications();
    printOut(QStringLiteral("Solicitudes leídas: %1").arg(total));
    printOut(QStringLiteral("Completas: %1").arg(complete));
    printOut(QStringLiteral("Con incidencias: %1").arg(total - complete));
    printOut(QStringLiteral("Páginas leídas: %1 de %2 archivos en %3 s")
                 .arg(outcome.pages)
                 .arg(outcome.files)
                 .arg(double(clock.elapsed()) / 1000.0, 0, 'f', 1));
    printOut(QStringLiteral("Páginas sin código de barras: %1").arg(outcome.pagesWithoutBarcode));
    if (!outcome.fileProblems.empty())
        printOut(QStringLiteral("Archivos o páginas con incidencias: %1").arg(outcome.fileProblems.size()));
    printOut(QStringLiteral("Resultados en %1").arg(out));
    return outcome.allComplete() ? 0 : 1;
}

const ToolCommand
    command("office", kUsage,
            QStringLiteral("Lee las solicitudes escaneadas (PDF e imágenes) y escribe sus datos e "
                           "incidencias en CSV."),
            [](const QStringList& args) {
                if (args.value(0) == QLatin1String("read"))
                    return read(args.mid(1));
                return ToolArguments(kUsage, {}).usageError();
            });

} // namespace
} // namespace velmora::tools
