#pragma once

#include "platform/Result.h"
#include "platform/docengine/Cursor.h"
#include "platform/docengine/DocTypes.h"
#include "platform/docengine/Table.h"
#include "printing/ListPages.h"
#include "printing/TemplateLayout.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace velmora {

class ListCellFitter;
class Progress;
class RecordSet;

namespace docengine {
class Document;
}

// Columns of a list as they print, in the table's order; an empty name prints the row's
// number in the list.
QStringList listDataColumns(ListKind kind, TemplateGeneration generation);

// Rows of a list in the order they print, read through a cursor of their own.
struct ListRows {
    std::unique_ptr<RecordSet> rows;
    QList<int> columns; // column indexes; kRunningNumber for the row's number, -1 for a missing column
    int count = 0;

    static constexpr int kRunningNumber = -2;

    ListRows(const RecordSet& list, const QStringList& names, const QString& fallbackSort);
    ~ListRows();
    ListRows(ListRows&&) noexcept;

    // The current row's texts; `number` is its position in the list, from 1.
    QStringList texts(int number) const;
};

// A list as it goes onto paper: the template's table, the table that takes the next rows,
// and every table that got rows.
struct ListOnPaper {
    ListKind kind;
    docengine::Table first;
    docengine::Table current;
    int headerRows = 0;
    bool currentHasRows = false;
    std::vector<docengine::Table> filled;
    int pageBreaks = 0;

    ListOnPaper(ListKind k, docengine::Table table)
        : kind(k), first(table), current(table), headerRows(table.rowCount()) {}
};

// Writes the rows of the printed lists into a document made from a template: the rows'
// texts and type, the continuation tables with the template's header, widths and header
// heights, and the paragraph below each page of a position list where its barcode goes.
class ListTableWriter {
public:
    // Receives the paragraph below a page of a position list and the barcode data of the
    // page's rows; it places the page's barcode there.
    using PageCloser = std::function<void(docengine::Cursor& at, const QString& data)>;

    ListTableWriter(docengine::Document& document, TemplateGeneration generation, Progress& progress);

    // The face the lists are printed in.
    QString typeface() const;

    // Courses and documents: a new table with the list's header on a new page every 35 rows.
    // Fails when a row or a continuation table cannot be added: the printout would lack rows.
    Status fillTableList(ListOnPaper& list, ListRows& rows);
    // The courses tables as they print: the typeface at 10 pt, with borders.
    void setCoursesPrintLook(ListOnPaper& list);
    // Vacancies and resultas: pages of the rows that fit a sheet with the page's barcode, at
    // most `perPage`, each closed by `closePage` with the data of exactly the rows on it; with
    // `breakAfter` a page break follows the last page. Every body cell has the list's one type
    // size and wraps its text onto as many lines as it needs; a row is as tall as its tallest
    // cell. Fails like fillTableList, when a row lacks the order or code its page's barcode
    // carries, and when a row's texts are too long for a sheet.
    Status fillPositionList(ListOnPaper& list, ListRows& rows, int perPage, bool breakAfter,
                            const PageCloser& closePage);

private:
    qreal headerHeight(const ListOnPaper& list) const;
    // `leastHeight` > 0: the row is at least that tall.
    Status writeRow(ListOnPaper& list, const QStringList& texts, docengine::Twips leastHeight);
    docengine::Cursor paragraphBelow(const ListOnPaper& list);
    Status continueOnNewPage(ListOnPaper& list, docengine::Cursor* after);
    docengine::Cursor closePositionPage(ListOnPaper& list, const QString& data, const PageCloser& closePage);

    docengine::Document& m_doc;
    TemplateGeneration m_generation;
    bool m_older;
    Progress& m_progress;
    docengine::RunFormat m_dataFont;
};

} // namespace velmora
