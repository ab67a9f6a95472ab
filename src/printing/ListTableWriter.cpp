#include "printing/ListTableWriter.h"

#include "applications/ApplicationColumns.h"
#include "platform/CannotFail.h"
#include "platform/Progress.h"
#include "platform/data/RecordSet.h"
#include "platform/docengine/Document.h"
#include "printing/BarcodePicture.h"
#include "printing/BarcodeText.h"
#include "printing/ListPages.h"

#include <algorithm>
#include <cmath>

namespace velmora {

using namespace docengine;

namespace {

constexpr double kCoursesPrintSize = 10;

// Widths of the cells of a row: the grid's columns, or equal shares when cells were merged.
QList<Twips> cellWidths(const Table& table, int row) {
    QList<Twips> widths = table.columnWidths();
    const int cells = table.cellCount(row);
    if (widths.size() == cells || cells <= 0)
        return widths;
    Twips total = 0;
    for (Twips w : widths)
        total += w;
    return QList<Twips>(cells, total / cells);
}

} // namespace

QStringList listDataColumns(ListKind kind, TemplateGeneration generation) {
    namespace pl = col::PreferenceList;
    switch (kind) {
    case ListKind::Courses:
        return {col::Courses::Curso, col::Courses::NHoras, col::Courses::Ano, col::Courses::Centro};
    case ListKind::Documents:
        if (generation == TemplateGeneration::Legacy)
            return {QString(), col::Documents::Documento, col::Documents::Centro};
        return {QString(), col::Documents::Documento, col::Documents::Horas, col::Documents::Fecha,
                col::Documents::Centro};
    case ListKind::Vacancies:
        return {pl::Orden, pl::CodConvocatoria, pl::NomConvocatoria, pl::Consejeria, pl::Localidad,
                pl::Area,  pl::Demarcacion};
    case ListKind::Resultas:
        return {pl::Orden, pl::CodConvocatoria, pl::NomConvocatoria, pl::Consejeria, pl::Localidad};
    }
    return {};
}

ListRows::ListRows(const RecordSet& list, const QStringList& names, const QString& fallbackSort) {
    if (!list.isOpen())
        return;
    rows = list.clone();
    const QString sort = list.sort().isEmpty() ? fallbackSort : list.sort();
    if (!sort.isEmpty())
        cannotFail(rows->setSort(sort)); // the list's own sort, or its order column
    rows->moveFirst();
    count = rows->recordCount();
    for (const QString& name : names)
        columns << (name.isEmpty() ? kRunningNumber : rows->columnIndex(name));
}

ListRows::~ListRows() = default;
ListRows::ListRows(ListRows&&) noexcept = default;

QStringList ListRows::texts(int number) const {
    QStringList out;
    for (int column : columns)
        out << (column == kRunningNumber ? QString::number(number) : rows->text(column));
    return out;
}

ListTableWriter::ListTableWriter(Document& document, TemplateGeneration generation, Progress& progress)
    : m_doc(document), m_generation(generation), m_older(generation == TemplateGeneration::Legacy),
      m_progress(progress) {
    m_dataFont = listDataFont();
    m_dataFont.font = typeface();
}

QString ListTableWriter::typeface() const {
    return m_older ? QStringLiteral("CG Times") : QStringLiteral("Times New Roman");
}

Status ListTableWriter::fillTableList(ListOnPaper& list, ListRows& rows) {
    if (rows.count == 0)
        return {};
    int number = 0;
    for (rows.rows->moveFirst(); !rows.rows->isEOF(); rows.rows->moveNext()) {
        if (number > 0 && number % kRowsPerListTable == 0)
            VELMORA_TRY(continueOnNewPage(list, nullptr));
        ++number;
        VELMORA_TRY(writeRow(list, rows.texts(number), 0));
        m_progress.advance(1);
        m_progress.yieldToEvents();
    }
    return {};
}

void ListTableWriter::setCoursesPrintLook(ListOnPaper& list) {
    for (Table& t : list.filled) {
        t.setFont(RunFormat{.font = typeface(), .size = kCoursesPrintSize});
        t.setBorders(true);
    }
}

Status ListTableWriter::fillPositionList(ListOnPaper& list, ListRows& rows, int perPage, bool breakAfter,
                                         const PageCloser& closePage) {
    if (rows.count == 0)
        return {};
    const qreal room = listPageRoom(m_doc.pageSetup(), headerHeight(list));
    std::vector<QStringList> texts;
    std::vector<Twips> heights;
    texts.reserve(size_t(rows.count));
    heights.reserve(size_t(rows.count));
    ListCellFitter fitter(m_dataFont);
    const QList<Twips> widths = list.first.columnWidths();
    int number = 0;
    for (rows.rows->moveFirst(); !rows.rows->isEOF(); rows.rows->moveNext()) {
        texts.push_back(rows.texts(++number));
        heights.push_back(fitter.rowHeight(texts.back(), widths));
        // A row taller than a sheet would run off its page, away from the barcode carrying it.
        if (heights.back() > room)
            return Error::make(ErrorCode::InvalidProcedureCall,
                               QStringLiteral("La fila %1 de la lista de %2 tiene textos tan largos que no "
                                              "caben en una hoja; acórtelos.")
                                   .arg(number)
                                   .arg(listName(list.kind)));
    }

    const std::vector<int> pages = listPageSizes(heights, room, perPage);
    rows.rows->moveFirst();
    size_t next = 0;
    for (size_t p = 0; p < pages.size(); ++p) {
        QString data;
        for (int i = 0; i < pages[p] && !rows.rows->isEOF(); ++i, rows.rows->moveNext()) {
            VELMORA_TRY(writeRow(list, texts.at(next++), fitter.rowHeight(1)));
            Result<QString> row = listRowBarcodeData(*rows.rows);
            if (!row.ok())
                return row.error();
            data += row.value();
            m_progress.advance(1);
            m_progress.yieldToEvents();
        }
        Cursor below = closePositionPage(list, data, closePage);
        if (p + 1 < pages.size())
            VELMORA_TRY(continueOnNewPage(list, &below));
        else if (breakAfter)
            below.insertPageBreak();
        VELMORA_TRY(below.status());
    }
    return {};
}

// The header rows of the list's template table, as they print on every page.
qreal ListTableWriter::headerHeight(const ListOnPaper& list) const {
    qreal header = 0;
    for (int r = 1; r <= list.headerRows; ++r) {
        const QList<Twips> cells = cellWidths(list.first, r);
        qreal height = 0;
        for (int c = 1; c <= cells.size(); ++c)
            if (auto text = list.first.cellText(r, c); text.ok())
                height = std::max(
                    height, ListCellFitter::textHeight(text.value(), cells.at(c - 1), listHeaderFont()));
        if (auto set = list.first.rowHeight(r); set.ok() && set.value().rule != HeightRule::Auto)
            height = set.value().rule == HeightRule::Exact ? qreal(set.value().value)
                                                           : std::max(height, qreal(set.value().value));
        header += height;
    }
    return header;
}

Status ListTableWriter::writeRow(ListOnPaper& list, const QStringList& texts, Twips leastHeight) {
    Table& table = list.current;
    Result<int> added = table.addRow();
    if (!added.ok())
        return added.error();
    const int row = added.value();
    const int cells = table.cellCount(row);
    if (!list.currentHasRows) {
        // Later rows copy this one, so the header's look is undone once per table.
        for (int c = 1; c <= cells; ++c) {
            VELMORA_TRY(table.clearCellShading(row, c)); // a copy of a header cell keeps its shading
            VELMORA_TRY(table.setCellAlignment(row, c, Alignment::Left));
        }
        VELMORA_TRY(table.setRowHeight(row, RowHeight{}));
        list.currentHasRows = true;
        list.filled.push_back(table);
    }
    // As tall as its tallest cell; a row of one line keeps a little air below its text.
    if (leastHeight > 0)
        VELMORA_TRY(table.setRowHeight(row, RowHeight{leastHeight, HeightRule::AtLeast}));
    VELMORA_TRY(table.setRowFont(row, m_dataFont));
    for (int c = 0; c < texts.size() && c < cells; ++c)
        if (!texts.at(c).isEmpty())
            VELMORA_TRY(table.setCellText(row, c + 1, texts.at(c)));
    return {};
}

// An empty paragraph right below a table, for a barcode or a page break. The paragraph
// that follows the table keeps its place and look; the new one has no spacing of its own.
Cursor ListTableWriter::paragraphBelow(const ListOnPaper& list) {
    Cursor at = m_doc.cursorAfter(list.current);
    if (!at.isValid())
        return at;
    const QString text = at.paragraphText();
    if (text.isEmpty() || (m_older && text == listMarker(list.kind)))
        return at;
    const bool breakBefore = at.paragraphBreaksPageBefore();
    at.insertParagraph();
    if (breakBefore)
        at.setParagraphFormat(ParagraphFormat{.pageBreakBefore = true});
    at.movePreviousParagraph();
    at.setParagraphFormat(
        ParagraphFormat{.spaceBefore = 0, .spaceAfter = 0, .keepWithNext = false, .pageBreakBefore = false});
    return at;
}

// A page break and a new table with the list's header, its widths and header heights
// copied from the template's table. The newer generation breaks right below the table
// (or after the page's barcode); the older one before the list's marker.
Status ListTableWriter::continueOnNewPage(ListOnPaper& list, Cursor* after) {
    Cursor at = after ? *after : paragraphBelow(list);
    if (m_older) {
        Cursor from = after ? *after : m_doc.cursorAfter(list.current);
        if (auto found = m_doc.findText(listMarker(list.kind), &from); found.ok())
            at = found.value();
    }
    if (!at.isValid())
        return Error::make(ErrorCode::ObjectMissing,
                           QStringLiteral("la plantilla no deja sitio tras la tabla de %1 para continuarla")
                               .arg(listName(list.kind)));
    at.insertPageBreak();
    ++list.pageBreaks;
    Result<Table> inserted = insertListTable(at, list.kind, m_generation);
    if (!inserted.ok())
        return inserted.error();
    Table table = inserted.value();
    const QList<Twips> widths = list.first.columnWidths();
    if (widths.size() == table.columnCount())
        VELMORA_TRY(table.setColumnWidths(widths));
    for (int r = 1; r <= std::min(list.headerRows, table.rowCount()); ++r)
        if (auto height = list.first.rowHeight(r); height.ok())
            VELMORA_TRY(table.setRowHeight(r, height.value()));
    list.current = table;
    list.currentHasRows = false;
    return {};
}

// Below the page's last row: a line break, the page's barcode, another line break.
Cursor ListTableWriter::closePositionPage(ListOnPaper& list, const QString& data,
                                          const PageCloser& closePage) {
    Cursor at = paragraphBelow(list);
    at.setAlignment(Alignment::Center);
    at.insertLineBreak();
    if (closePage)
        closePage(at, data);
    at.insertLineBreak();
    return at;
}

} // namespace velmora
