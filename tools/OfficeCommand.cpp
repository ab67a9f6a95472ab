// velmora-tools office: the contest office reads scanned printouts back into applications.
#include "ToolArguments.h"
#include "ToolCommand.h"

#include "app/LoadingSequence.h"
#include "catalog/CatalogTables.h"
#include "office/ContestRules.h"
#include "office/OfficeBatchReader.h"
#include "office/OfficeCsvExport.h"
#include "office/OfficeRunMerge.h"
#include "platform/AppFolders.h"
#include "platform/MessageService.h"
#include "signing/SignatureTrust.h"

#include <QElapsedTimer>

#include <cstdio>
#include <limits>
#include <memory>

namespace velmora::tools {
namespace {

const QString kReadUsage =
    QStringLiteral("office read FICHEROS... --out CARPETA [--contest INSTALACION] [--confianza CARPETA]");
const QString kMergeUsage = QStringLiteral("office merge CARPETAS... --out CARPETA [--contest INSTALACION]");
const QString kUsage = kReadUsage + QStringLiteral("\n       velmora-tools ") + kMergeUsage;

// The exit statuses, told in the help.
constexpr int kIncomplete = 1;
constexpr int kWrongArguments = 2;
constexpr int kResultsNotWritten = 3;
const QString kExitStatuses = QStringLiteral(
    "Estado de salida: 0 si se leyeron todas las páginas y todas las solicitudes están completas, "
    "1 si hay incidencias, 2 si los argumentos son erróneos o la instalación no se carga, 3 si no se "
    "han podido escribir los resultados (la carpeta conserva los anteriores).");

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

// The options both commands take; the first positional argument comes after `first`.
class OfficeArguments {
public:
    explicit OfficeArguments(const QString& usage)
        : m_parsed(usage,
                   {{QStringLiteral("out"), QStringLiteral("Carpeta donde se escriben los CSV."),
                     QStringLiteral("CARPETA")},
                    {QStringLiteral("contest"),
                     QStringLiteral("Instalación del concurso con la que se comprueban las solicitudes."),
                     QStringLiteral("INSTALACION")},
                    {QStringLiteral("confianza"),
                     QStringLiteral("Autoridades en las que se confía para las solicitudes firmadas: una "
                                    "carpeta de certificados (PEM o DER) o una base de datos NSS."),
                     QStringLiteral("CARPETA")}},
                   kExitStatuses) {}

    // False when the command must stop, with exitCode() to return.
    bool parse(const QStringList& args) {
        if (!m_parsed.parse(args, 1, std::numeric_limits<qsizetype>::max())) {
            m_exitCode = m_parsed.exitCode();
            return false;
        }
        if (out().isEmpty()) {
            m_exitCode = m_parsed.usageError(QStringLiteral("Falta la carpeta de salida (--out)."));
            return false;
        }
        if (m_parsed.isSet(QStringLiteral("contest"))) {
            const QString installation = m_parsed.value(QStringLiteral("contest"));
            CatalogTables tables;
            ConsoleMessageService messages;
            const LoadingOutcome loaded = loadInstallation(AppFolders::at(installation), tables);
            messages.tell(loaded.notice);
            if (!loaded.loaded) {
                printErr(
                    QStringLiteral("No se puede cargar la instalación del concurso %1").arg(installation));
                m_exitCode = kWrongArguments;
                return false;
            }
            m_rules = std::make_unique<CatalogContestRules>(tables);
        }
        if (m_parsed.isSet(QStringLiteral("confianza"))) {
            Result<std::shared_ptr<const SignatureTrust>> trust =
                SignatureTrust::load(m_parsed.value(QStringLiteral("confianza")));
            if (!trust) {
                printErr(trust.error().description);
                m_exitCode = 2;
                return false;
            }
            m_trust = trust.value();
        }
        return true;
    }
    int exitCode() const { return m_exitCode; }
    const QStringList& positional() const { return m_parsed.positional(); }
    QString out() const { return m_parsed.value(QStringLiteral("out")); }
    const ContestRules* contest() const { return m_rules.get(); }
    const SignatureTrust* trust() const { return m_trust.get(); }

private:
    ToolArguments m_parsed;
    std::unique_ptr<CatalogContestRules> m_rules;
    std::shared_ptr<const SignatureTrust> m_trust;
    int m_exitCode = 0;
};

// Writes the CSV files and the summary; the exit status says whether all is complete. Results
// that could not be written are a failure of their own: the summary would send the office to
// files that do not hold it.
int report(const OfficeReadOutcome& outcome, const QString& out, qint64 milliseconds) {
    if (Status written = writeOfficeCsv(outcome, out); !written) {
        printErr(written.error().description);
        return kResultsNotWritten;
    }
    const int total = int(outcome.applications.size());
    const int complete = outcome.completeApplications();
    printOut(QStringLiteral("Solicitudes leídas: %1").arg(total));
    printOut(QStringLiteral("Completas: %1").arg(complete));
    printOut(QStringLiteral("Con incidencias: %1").arg(total - complete));
    printOut(QStringLiteral("Páginas leídas: %1 de %2 archivos en %3 s")
                 .arg(outcome.pages)
                 .arg(outcome.files)
                 .arg(double(milliseconds) / 1000.0, 0, 'f', 1));
    printOut(QStringLiteral("Páginas sin código de barras: %1").arg(outcome.pagesWithoutBarcode));
    if (!outcome.fileProblems.empty())
        printOut(QStringLiteral("Archivos o páginas con incidencias: %1").arg(outcome.fileProblems.size()));
    printOut(QStringLiteral("Resultados en %1").arg(out));
    return outcome.allComplete() ? 0 : kIncomplete;
}

int read(const QStringList& args) {
    OfficeArguments parsed(kReadUsage);
    if (!parsed.parse(args))
        return parsed.exitCode();
    QElapsedTimer clock;
    clock.start();
    OfficeBatchReader reader(OfficeReadOptions{.contest = parsed.contest(), .trust = parsed.trust()});
    const OfficeReadOutcome outcome = reader.read(parsed.positional(), showProgress);
    return report(outcome, parsed.out(), clock.elapsed());
}

int merge(const QStringList& args) {
    OfficeArguments parsed(kMergeUsage);
    if (!parsed.parse(args))
        return parsed.exitCode();
    QElapsedTimer clock;
    clock.start();
    Result<OfficeReadOutcome> outcome = mergeOfficeRuns(parsed.positional(), parsed.contest());
    if (!outcome) {
        printErr(outcome.error().description);
        return kWrongArguments;
    }
    return report(outcome.value(), parsed.out(), clock.elapsed());
}

const ToolCommand command(
    "office", kUsage,
    QStringLiteral("Lee las solicitudes escaneadas (PDF e imágenes) y las firmadas, y escribe sus datos e "
                   "incidencias en CSV; merge junta las carpetas de lecturas hechas por partes."),
    [](const QStringList& args) {
        if (args.value(0) == QLatin1String("read"))
            return read(args.mid(1));
        if (args.value(0) == QLatin1String("merge"))
            return merge(args.mid(1));
        return ToolArguments(kUsage, {}).usageError();
    });

} // namespace
} // namespace velmora::tools
