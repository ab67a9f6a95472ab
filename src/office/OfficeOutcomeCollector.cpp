#include "office/OfficeOutcomeCollector.h"

#include "office/ApplicationAssembler.h"
#include "office/ScannedBarcode.h"
#include "office/SignedApplication.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace velmora {
namespace {

QString snippet(const QString& text) {
    constexpr int kShown = 60;
    return text.size() > kShown ? text.left(kShown) + QStringLiteral("…") : text;
}

// The form's second page (courses and documents) carries no barcode by design. A page without
// one that lies, in the same file, between a print's first page and the first page of its
// lists is that page, not a problem: as many such pages as the form has room for before the
// list's printed page number (none when the lists start on page 2), and only when nothing else
// lies between. `scans` are sorted by file and page.
std::vector<bool> formPagesWithoutBarcode(const std::vector<ScannedPage>& scans) {
    std::vector<bool> formPage(scans.size(), false);
    struct PrintInFile {
        std::ptrdiff_t first = -1; // the scan of its first page
        std::ptrdiff_t list = -1;  // the scan of its list page printed first
        int listPage = 0;
    };
    for (size_t begin = 0, end = 0; begin < scans.size(); begin = end) {
        while (end < scans.size() && scans[end].origin.file == scans[begin].origin.file)
            ++end;
        std::map<QString, PrintInFile> prints;
        for (size_t i = begin; i < end; ++i)
            for (const QString& text : scans[i].texts) {
                const Result<ScannedBarcode> barcode = parseScannedBarcode(text);
                if (!barcode)
                    continue;
                PrintInFile& print = prints[barcode->printId()];
                if (barcode->kind == BarcodeKind::FirstPage)
                    print.first = std::ptrdiff_t(i);
                else if (print.list < 0 || barcode->page < print.listPage)
                    print = PrintInFile{print.first, std::ptrdiff_t(i), barcode->page};
            }
        for (const auto& [id, print] : prints) {
            if (print.first < 0 || print.list < 0)
                continue;
            const auto [from, to] = std::minmax(print.first, print.list);
            const auto between = scans.begin() + from + 1;
            const auto until = scans.begin() + to;
            const bool blank = std::all_of(
                between, until, [](const ScannedPage& s) { return s.texts.isEmpty() && !s.error; });
            if (blank && to - from - 1 <= print.listPage - 2)
                std::fill(formPage.begin() + from + 1, formPage.begin() + to, true);
        }
    }
    return formPage;
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
    const std::vector<bool> formPages = formPagesWithoutBarcode(m_scans);
    for (size_t i = 0; i < m_scans.size(); ++i) {
        const ScannedPage& scan = m_scans[i];
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
        } else if (scan.texts.isEmpty() && !formPages[i]) {
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
