#pragma once

#include "platform/Result.h"
#include "platform/docengine/DocTypes.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

#include <pugixml.hpp>

namespace velmora::docengine {

struct DocumentData;
struct TableState;
class Cursor;

// A table of a document. Rows and cells are numbered from 1; a cell is addressed by its
// position in the row (after merging, the merged cell counts once).
class Table {
public:
    Table() = default;
    bool isValid() const;

    int rowCount() const;
    int columnCount() const; // columns of the table grid
    int cellCount(int row) const;

    // Appends a row shaped like the last one (same cells, widths and formatting), empty.
    // Returns the new row's number.
    Result<int> addRow();
    // Appends a row holding `texts` in its first cells.
    Result<int> appendRow(const QStringList& texts);

    // Replaces the content of a cell. '\n' is a line break; '\r' starts a new paragraph.
    Status setCellText(int row, int cell, const QString& text);
    Result<QString> cellText(int row, int cell) const;
    // A cursor at the end of the cell's text.
    Result<Cursor> cellCursor(int row, int cell) const;

    Result<Twips> columnWidth(int column) const;
    Status setColumnWidth(int column, Twips width);
    QList<Twips> columnWidths() const;
    Status setColumnWidths(const QList<Twips>& widths);

    Result<RowHeight> rowHeight(int row) const;
    Status setRowHeight(int row, RowHeight height);
    // Rows repeated at the top of every page the table runs onto.
    Status setHeaderRow(int row, bool repeat);

    // All borders of the table and its cells on (single thin line) or off.
    void setBorders(bool on);
    bool hasBorders() const;
    // Character formatting of all the table's text, including text typed later into it.
    void setFont(const RunFormat& format);
    Status setRowFont(int row, const RunFormat& format);
    Status setCellAlignment(int row, int cell, Alignment alignment);
    Status setCellShading(int row, int cell, const QColor& fill);
    Status clearCellShading(int row, int cell);
    // In a row of exact height, text of a fitting cell is set smaller before it is cut.
    Status setCellFitText(int row, int cell, bool fit);
    // Merges cells first..last of a row into one; their texts are kept as paragraphs.
    Status mergeCells(int row, int firstCell, int lastCell);
    // Horizontal placement of the whole table between the margins.
    void setAlignment(Alignment alignment);

    bool operator==(const Table& o) const { return m_state == o.m_state; }

private:
    friend class Document;
    friend class Cursor;
    Table(DocumentData* d, TableState* s) : m_d(d), m_state(s) {}
    // Writes a new table before `before` under `parent`: borders on, fixed layout, columns of
    // the `grid` widths and `rows` rows whose cell paragraphs carry the marks of `cellRPr`.
    static pugi::xml_node insertXml(pugi::xml_node parent, pugi::xml_node before, const QList<Twips>& grid,
                                    int rows, pugi::xml_node cellRPr);
    // The w:tc of a 1-based row and cell, or the error a stale table or a bad cell gives.
    Result<pugi::xml_node> cellNode(int row, int cell) const;

    DocumentData* m_d = nullptr;
    TableState* m_state = nullptr;
};

} // namespace velmora::docengine
