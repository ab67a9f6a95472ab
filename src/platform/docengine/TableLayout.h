#pragma once

#include "platform/docengine/BlockModel.h"
#include "platform/docengine/DocumentLayout.h"

#include <functional>
#include <vector>

namespace velmora::docengine {

class PageFlow;
class VerticalBorders;

// A cell placed in its row: its column, its laid-out content and its borders.
struct LaidCell {
    const TableCellBlock* block = nullptr;
    qreal x = 0;
    qreal width = 0;
    PageContent content;
    qreal contentHeight = 0;
    bool mergedBelow = false; // a vertical merge continues in the row below
};

struct LaidRow {
    std::vector<LaidCell> cells;
    qreal height = 0;
    bool header = false;
};

// Lays a table out: columns from its grid, every cell's content at its width, row heights from
// their rules and their content; then its rows go down the flow, a row that does not fit
// starting a new page where the header rows are repeated. Borders of neighbouring cells are
// drawn as one line.
class TableLayout {
public:
    // Lays a cell's content out at the cell's width; `exactHeight` > 0 for a row of exact height.
    using CellContentLayout = std::function<void(LaidCell& cell, qreal exactHeight)>;

    explicit TableLayout(CellContentLayout layoutCell) : m_layoutCell(std::move(layoutCell)) {}

    void place(const TableBlock& table, qreal x0, qreal width, PageFlow& flow) const;

private:
    std::vector<LaidRow> rows(const TableBlock& table, qreal x0, qreal width) const;
    void drawRow(const TableBlock& table, const std::vector<LaidRow>& rows, size_t r, qreal y,
                 PageContent& out, VerticalBorders& verticals) const;
    void drawBottom(const TableBlock& table, const std::vector<LaidRow>& rows, size_t r, qreal y,
                    PageContent& out) const;

    CellContentLayout m_layoutCell;
};

} // namespace velmora::docengine
