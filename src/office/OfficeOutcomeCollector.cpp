#include "office/OfficeOutcomeCollector.h"

#include "office/ApplicationAssembler.h"
#include "office/ScannedBarcode.h"
#include "office/SignedApplication.h"

#include <algorithm>
#include <tuple>

namespace velmora {
namespace {

QString snippet(const QString& text) {
    constexpr int kShown = 60;
    return text.size() > kShown ? text.left(kShown) + QStringLiteral("…") : text;
}

} // namespace

OfficeReadOutcome OfficeOutcomeCollector::finish(int files, bool cancelled) {
    // Problems of files and pages are listed by file and page, never in the order the
    // workers happened to finish.
    std::stable_sort(m_scans.begin(), m_scans.end(), [](const ScannedPage& x, const ScannedPage& y) {
        return std::tie(x.origin.file, x.origin.page, x.error, x.texts) <
               std::tie(y.origin.file, y.origin.page, y.error, y.texts);
    });

    OfficeReadOutcome outcome;
    outcome.files = files;
    outcome.cancelled = cancelled;
    ApplicationAssembler assembler(m_contest);
    for (const ScannedPage& scan : m_scans) {
        if (scan.origin.page == 0) {
            outcome.fileProblems.push_back(OfficeProblem{scan.origin.file, QStringLiteral("Archivo ilegible"),
                                                         scan.error.value_or(QString())});
            continue;
        }
        ++outcome.pages;
        const QString where = scan.origin.text();
        if (scan.error) {
            outcome.fileProblems.push_back(
                OfficeProblem{where, QStringLiteral("Página ilegible"), *scan.error});
        } else if (scan.texts.isEmpty()) {
            ++outcome.pagesWithoutBarcode;
            outcome.fileProblems.push_back(
                OfficeProblem{where, QStringLiteral("Página sin código de barras"),
                              QStringLiteral("no se ha encontrado ningún código PDF417")});
        }
        for (const QString& text : scan.texts) {
            Result<ScannedBarcode> barcode = parseScannedBarcode(text);
            if (barcode)
                assembler.add(scan.origin, barcode.value());
            else
                outcome.fileProblems.push_back(OfficeProblem{
                    where, QStringLiteral("Código ajeno"),
                    QStringLiteral("%1: «%2»").arg(barcode.error().description, snippet(text))});
        }
    }
    outcome.applications = assembler.assemble();

    // Each signed file gives its signature to the application read from it; one that gave
    // none keeps its problems among the files'.
    std::stable_sort(m_signed.begin(), m_signed.end(),
                     [](const SignedFileCheck& x, const SignedFileCheck& y) { return x.file < y.file; });
    for (const SignedFileCheck& check : m_signed) {
        const auto readFromIt = [&](const OfficeApplication& a) {
            return std::any_of(a.pages.begin(), a.pages.end(),
                               [&](const PageOrigin& page) { return page.file == check.file; });
        };
        auto a = std::find_if(outcome.applications.begin(), outcome.applications.end(), readFromIt);
        if (a != outcome.applications.end() && a->signature == OfficeApplication().signature)
            applySignature(*a, check);
        else if (a == outcome.applications.end())
            outcome.fileProblems.insert(outcome.fileProblems.end(), check.problems.begin(),
                                        check.problems.end());
    }
    outcome.signedFiles = std::move(m_signed);
    m_signed.clear();
    outcome.scans = std::move(m_scans);
    m_scans.clear();
    return outcome;
}

} // namespace velmora
