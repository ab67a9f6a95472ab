#pragma once

#include "printing/BarcodeText.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace velmora {

// Where something was read: a file and its 1-based page (1 for a picture file).
struct PageOrigin {
    QString file;
    int page = 0;
    QString text() const; // "carta.pdf, página 3"
};

// A problem found while reading, named the way the office's lists show it.
struct OfficeProblem {
    QString where;   // the application, or a file and page
    QString problem; // a short name ("Falta la primera página", ...)
    QString detail;  // what exactly, with the printed page when it concerns one
};

// One position requested on a vacancy or resultas page.
struct RequestedPosition {
    int order = 0;
    QString code;
    int page = 0; // printed page number that carried it
    bool operator==(const RequestedPosition& other) const = default;
};

// One printed application read back from its barcodes.
struct OfficeApplication {
    QString id;  // file name stem as the program names the application (unique in a batch)
    QString key; // barcode key: DNI + body + group
    QString dni;
    QString body;
    QString group;
    QString printDate; // "DD/MM/YYYY"
    QString printTime; // "HH:mm:ss"

    bool hasFirstPage = false;
    QString foldedRecord;     // the print record as the barcode carries it
    QStringList foldedFields; // its 37 fields, still folded (dates as printed: YYYYMMDD)
    QStringList fields;       // its 37 fields unfolded, dates as DD/MM/YYYY (empty without a first page)

    std::vector<RequestedPosition> vacancies;
    std::vector<RequestedPosition> resultas;
    std::vector<PageOrigin> pages; // every scanned page that carried one of its barcodes
    std::vector<OfficeProblem> problems;

    // The signature of the PDF it was read from: "Válida", "No válida: <motivos>", or
    // "Sin firma" when it came from scanned pages.
    QString signature = QStringLiteral("Sin firma");
    QString signer;      // the certificate's holder
    QString signingTime; // "DD/MM/YYYY HH:mm:ss", local time

    bool complete() const { return problems.empty(); }
    QString status() const; // "Completa" or "Con incidencias"
};

// What one page (or a file that could not be opened, as page 0) gave the reader: the
// batch's raw material, kept so that runs over parts of a batch can be merged.
struct ScannedPage {
    PageOrigin origin;
    QStringList texts;            // barcode texts in reading order; empty: none found
    std::optional<QString> error; // the page or file could not be read
};

// What the signature of a signed PDF gave, for the application read from it.
struct SignedFileCheck {
    QString file; // its name, as PageOrigin names it
    QString signerName;
    QString signerNif;
    QDateTime signingTime;               // UTC
    std::vector<OfficeProblem> problems; // `where`: the file; empty when the signature holds
};

// Everything a batch gives back.
struct OfficeReadOutcome {
    std::vector<OfficeApplication> applications; // in order of their id
    std::vector<OfficeProblem> fileProblems;     // unreadable files, pages without a barcode, foreign texts
    int files = 0;
    int pages = 0; // pages (and pictures) looked at
    int pagesWithoutBarcode = 0;
    bool cancelled = false;
    std::vector<ScannedPage> scans;           // by file name and page
    std::vector<SignedFileCheck> signedFiles; // by file name

    int completeApplications() const;
    // Every page was read and every application is complete.
    bool allComplete() const;
};

} // namespace velmora
