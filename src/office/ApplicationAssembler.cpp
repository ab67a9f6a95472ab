#include "office/ApplicationAssembler.h"

#include "applications/ApplicationFiles.h"
#include "office/ApplicationReadChecks.h"
#include "office/PrintRecordFields.h"
#include "office/Unfolding.h"

#include <QHash>

#include <algorithm>
#include <tuple>

namespace velmora {
namespace {

QString kindName(BarcodeKind kind) {
    switch (kind) {
    case BarcodeKind::FirstPage:
        return QStringLiteral("primera página");
    case BarcodeKind::Vacancies:
        return QStringLiteral("vacantes");
    case BarcodeKind::Resultas:
        return QStringLiteral("resultas");
    }
    return QString();
}

QString pageName(const ScannedBarcode& b) {
    return QStringLiteral("página %1 (%2)").arg(b.page).arg(kindName(b.kind));
}

void report(OfficeApplication& a, const QString& problem, const QString& detail) {
    a.problems.push_back(OfficeProblem{a.id, problem, detail});
}

// Whole rows of 9 characters: the order in 4 digits, the code right-aligned in 5.
std::vector<RequestedPosition> listRows(const ScannedBarcode& b, OfficeApplication& a) {
    std::vector<RequestedPosition> rows;
    for (qsizetype at = 0; at + 9 <= b.data.size(); at += 9) {
        bool ok = false;
        const int order = b.data.mid(at, 4).toInt(&ok);
        if (!ok) {
            report(a, QStringLiteral("Fila ilegible"),
                   QStringLiteral("%1: «%2»").arg(pageName(b), b.data.mid(at, 9)));
            continue;
        }
        rows.push_back(RequestedPosition{order, b.data.mid(at + 4, 5).trimmed(), b.page});
    }
    return rows;
}

int kindRank(BarcodeKind kind) {
    return kind == BarcodeKind::FirstPage ? 0 : kind == BarcodeKind::Vacancies ? 1 : 2;
}

} // namespace

void ApplicationAssembler::add(const PageOrigin& origin, const ScannedBarcode& barcode) {
    m_prints[barcode.printId()].push_back(Read{origin, barcode});
}

OfficeApplication ApplicationAssembler::assembleOne(const std::vector<Read>& reads) const {
    std::vector<const Read*> sorted;
    for (const Read& r : reads)
        sorted.push_back(&r);
    // Where the scans of one page were found decides which is kept and how a repeat is
    // named, never the order the pages were read in.
    std::stable_sort(sorted.begin(), sorted.end(), [](const Read* x, const Read* y) {
        return std::tuple(kindRank(x->barcode.kind), x->barcode.page, x->origin.file, x->origin.page) <
               std::tuple(kindRank(y->barcode.kind), y->barcode.page, y->origin.file, y->origin.page);
    });

    OfficeApplication a;
    const ScannedBarcode& first = sorted.front()->barcode;
    a.key = first.key;
    a.dni = first.dni;
    a.body = first.body;
    a.group = first.group;
    a.printDate = first.date;
    a.printTime = first.time;

    // One reading per printed page: a page scanned twice is named, the first kept.
    std::vector<const Read*> pages;
    for (const Read* r : sorted) {
        if (!pages.empty() && pages.back()->barcode.kind == r->barcode.kind &&
            pages.back()->barcode.page == r->barcode.page) {
            const bool same = pages.back()->barcode.text == r->barcode.text;
            a.problems.push_back(
                OfficeProblem{QString(),
                              same ? QStringLiteral("Página repetida")
                                   : QStringLiteral("Página repetida con datos distintos"),
                              QStringLiteral("%1 leída en %2 y en %3")
                                  .arg(pageName(r->barcode), pages.back()->origin.text(), r->origin.text())});
            continue;
        }
        pages.push_back(r);
    }

    std::vector<int> vacancyPages;
    std::vector<int> resultasPages;
    int recordPieces = kPrintRecordFieldCount;
    for (const Read* r : pages) {
        const ScannedBarcode& b = r->barcode;
        a.pages.push_back(r->origin);
        if (b.cut)
            a.problems.push_back(OfficeProblem{
                QString(), QStringLiteral("Código de barras cortado"),
                QStringLiteral("%1 en %2: falta la «F» final").arg(pageName(b), r->origin.text())});
        switch (b.kind) {
        case BarcodeKind::FirstPage:
            a.hasFirstPage = true;
            a.foldedRecord = b.data;
            a.foldedFields = splitPrintRecord(b.data, &recordPieces);
            a.fields = readablePrintRecord(a.foldedFields);
            break;
        case BarcodeKind::Vacancies:
            vacancyPages.push_back(b.page);
            for (RequestedPosition& row : listRows(b, a))
                a.vacancies.push_back(row);
            break;
        case BarcodeKind::Resultas:
            resultasPages.push_back(b.page);
            for (RequestedPosition& row : listRows(b, a))
                a.resultas.push_back(row);
            break;
        }
    }

    if (a.hasFirstPage) {
        a.dni = a.fields[record::Dni - 1];
        a.body = a.fields[record::Body - 1];
        a.group = a.fields[record::Group - 1];
    }
    a.id = applicationFileName(a.dni, a.body, a.group).chopped(4);
    for (OfficeProblem& p : a.problems)
        p.where = a.id;

    if (!a.hasFirstPage) {
        report(a, QStringLiteral("Falta la primera página"),
               QStringLiteral("no se ha leído la página 1 con los datos del solicitante"));
    } else {
        if (recordPieces != kPrintRecordFieldCount && !pages.front()->barcode.cut)
            report(a, QStringLiteral("Datos de la primera página incompletos"),
                   QStringLiteral("la página 1 trae %1 campos en lugar de %2")
                       .arg(recordPieces)
                       .arg(kPrintRecordFieldCount));
        const QString recordKey =
            ClaveCodigoBarras(a.foldedFields[record::Dni - 1], a.foldedFields[record::Body - 1],
                              a.foldedFields[record::Group - 1]);
        if (recordKey != a.key)
            report(a, QStringLiteral("Clave distinta"),
                   QStringLiteral("los códigos llevan la clave «%1» y los datos de la página 1 dan «%2»")
                       .arg(a.key, recordKey));
    }
    checkListPageRun(a, vacancyPages, resultasPages);
    checkListRows(a);
    checkRequiredData(a);
    if (m_contest)
        checkAgainstContest(a, *m_contest);
    return a;
}

std::vector<OfficeApplication> ApplicationAssembler::assemble() const {
    std::vector<OfficeApplication> applications;
    for (const auto& [id, reads] : m_prints)
        applications.push_back(assembleOne(reads));

    // Pages without their first page, printed in the same second as another application,
    // most likely belong to that print under a key misprinted or misread.
    QHash<QString, std::vector<OfficeApplication*>> byMoment;
    for (OfficeApplication& a : applications)
        byMoment[a.printDate + a.printTime].push_back(&a);
    for (const auto& group : std::as_const(byMoment)) {
        if (group.size() < 2 || std::all_of(group.begin(), group.end(),
                                            [](const OfficeApplication* a) { return a->hasFirstPage; }))
            continue;
        for (OfficeApplication* a : group)
            for (const OfficeApplication* other : group)
                if (other != a)
                    report(*a, QStringLiteral("Clave distinta"),
                           QStringLiteral("hay páginas impresas el %1 a las %2 con la clave «%3»")
                               .arg(a->printDate, a->printTime, other->key));
    }

    std::sort(
        applications.begin(), applications.end(), [](const OfficeApplication& x, const OfficeApplication& y) {
            const auto moment = [](const OfficeApplication& a) {
                return a.printDate.mid(6, 4) + a.printDate.mid(3, 2) + a.printDate.left(2) + a.printTime;
            };
            return std::pair(x.id, moment(x)) < std::pair(y.id, moment(y));
        });
    // Two prints of one application keep the program's stem, told apart by a number.
    std::map<QString, int> seen;
    for (OfficeApplication& a : applications) {
        const int n = ++seen[a.id];
        if (n > 1) {
            a.id += QStringLiteral("-%1").arg(n);
            for (OfficeProblem& p : a.problems)
                p.where = a.id;
        }
    }
    return applications;
}

} // namespace velmora
