#include "platform/docengine/TableLayout.h"

#include "platform/docengine/LayoutConstants.h"
#include "platform/docengine/PageFlow.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace velmora::docengine {

using namespace layout;

// Merges collinear vertical border segments so that a long table costs a few lines per page.
class VerticalBorders {
public:
    void add(qreal x, qreal y0, qreal y1, const BorderLine& b, PageContent& out) {
        const Key k{x, b.width, b.color};
        auto it = m_open.find(k);
        if (it != m_open.end()) {
            if (std::abs(it->second.second - y0) < kJoinTolerance) {
                it->second.second = std::max(it->second.second, y1);
                return;
            }
            out.lines.push_back(PageLine{{x, it->second.first}, {x, it->second.second}, b.width, b.color});
            it->second = {y0, y1};
            return;
        }
        m_open.emplace(k, std::make_pair(y0, y1));
    }
    void flush(PageContent& out) {
        for (const auto& [k, span] : m_open)
            out.lines.push_back(PageLine{
                {std::get<0>(k), span.first}, {std::get<0>(k), span.second}, std::get<1>(k), std::get<2>(k)});
        m_open.clear();
    }

private:
    using Key = std::tuple<qreal, qreal, QRgb>;
    std::map<Key, std::pair<qreal, qreal>> m_open;
};

namespace {

struct HorizontalSegment {
    qreal x0;
    qreal x1;
    BorderLine border;
};

// Segments arrive left to right; contiguous ones of the same style become one line.
void drawHorizontal(const std::vector<HorizontalSegment>& segments, qreal y, PageContent& out) {
    size_t i = 0;
    while (i < segments.size()) {
        auto [x0, x1, b] = segments[i];
        size_t j = i + 1;
        while (j < segments.size() && segments[j].border == b &&
               std::abs(segments[j].x0 - x1) < kJoinTolerance) {
            x1 = segments[j].x1;
            ++j;
        }
        if (b.on)
            out.lines.push_back(PageLine{{x0, y}, {x1, y}, b.width, b.color});
        i = j;
    }
}

// A cell's own border wins over the table's; the table's outer or inner one applies otherwise.
BorderLine cellTop(const TableBlock& table, size_t r, const LaidCell& c) {
    if (c.block->merge == VerticalMerge::Continue)
        return {};
    if (c.block->top)
        return *c.block->top;
    return r == 0 ? table.borders.top : table.borders.insideH;
}

BorderLine cellBottom(const TableBlock& table, const std::vector<LaidRow>& rows, size_t r,
                      const LaidCell& c) {
    if (c.mergedBelow)
        return {};
    if (c.block->bottom)
        return *c.block->bottom;
    return r + 1 == rows.size() ? table.borders.bottom : table.borders.insideH;
}

qreal rowHeight(const TableRowBlock& row, qreal content) {
    qreal height = content;
    if (row.heightStated && row.height.rule == HeightRule::Exact && row.height.value > 0)
        height = row.height.value;
    else if (row.heightStated && row.height.rule != HeightRule::Auto)
        height = std::max<qreal>(row.height.value, content);
    return height > 0 ? height : kMinimumRowHeight;
}

// A merged cell taller than the rows it spans stretches the last of them.
void stretchForMergedCells(std::vector<LaidRow>& rows) {
    for (size_t r = 0; r < rows.size(); ++r)
        for (const LaidCell& c : rows[r].cells) {
            if (c.block->merge != VerticalMerge::Restart)
                continue;
            qreal spanned = rows[r].height;
            size_t last = r;
            for (size_t k = r + 1; k < rows.size(); ++k) {
                bool continues = false;
                for (const LaidCell& below : rows[k].cells)
                    if (below.block->merge == VerticalMerge::Continue && std::abs(below.x - c.x) < 1)
                        continues = true;
                if (!continues)
                    break;
                spanned += rows[k].height;
                last = k;
            }
            const qreal need = c.contentHeight + c.block->margins.top + c.block->margins.bottom;
            if (need > spanned)
                rows[last].height += need - spanned;
        }
}

} // namespace

std::vector<LaidRow> TableLayout::rows(const TableBlock& table, qreal x0, qreal width) const {
    std::vector<qreal> grid = table.grid;
    if (grid.empty())
        for (const qreal w : table.gridGuess)
            grid.push_back(w > 0 ? w : width / kColumnsGuessedWithoutGrid);
    qreal total = 0;
    for (qreal w : grid)
        total += w;
    qreal tableX = x0 + table.indent;
    if (table.alignment == Alignment::Center)
        tableX = x0 + (width - total) / 2;
    else if (table.alignment == Alignment::Right)
        tableX = x0 + width - total;
    std::vector<qreal> gridX(grid.size() + 1, tableX);
    for (size_t i = 0; i < grid.size(); ++i)
        gridX[i + 1] = gridX[i] + grid[i];
    auto columnX = [&](int g) { return gridX[static_cast<size_t>(std::clamp<int>(g, 0, int(grid.size())))]; };

    std::vector<LaidRow> out;
    // Grid column -> (row, cell) of the cell that a vertical merge continues.
    std::map<int, std::pair<size_t, size_t>> openMerges;
    for (const TableRowBlock& rowBlock : table.rows) {
        LaidRow row;
        row.header = rowBlock.header;
        const qreal exactHeight =
            rowBlock.heightStated && rowBlock.height.rule == HeightRule::Exact ? rowBlock.height.value : 0;
        int g = rowBlock.gridBefore;
        qreal contentMax = 0;
        std::map<int, std::pair<size_t, size_t>> stillOpen;
        for (const TableCellBlock& cellBlock : rowBlock.cells) {
            LaidCell cell;
            cell.block = &cellBlock;
            cell.x = columnX(g);
            cell.width = columnX(g + cellBlock.gridSpan) - cell.x;
            if (cell.width <= 0)
                cell.width = cellBlock.statedWidth.value_or(kDefaultCellWidth);
            const CellMargins& mar = cellBlock.margins;
            if (cellBlock.merge != VerticalMerge::Continue) {
                m_layoutCell(cell, exactHeight);
                if (cellBlock.merge == VerticalMerge::None)
                    contentMax = std::max(contentMax, cell.contentHeight + mar.top + mar.bottom);
            }
            if (cellBlock.merge == VerticalMerge::Continue) {
                auto it = openMerges.find(g);
                if (it != openMerges.end()) {
                    out[it->second.first].cells[it->second.second].mergedBelow = true;
                    stillOpen[g] = {out.size(), row.cells.size()};
                }
            } else if (cellBlock.merge == VerticalMerge::Restart) {
                stillOpen[g] = {out.size(), row.cells.size()};
            }
            row.cells.push_back(std::move(cell));
            g += cellBlock.gridSpan;
        }
        openMerges = std::move(stillOpen);
        row.height = rowHeight(rowBlock, contentMax);
        out.push_back(std::move(row));
    }
    stretchForMergedCells(out);
    return out;
}

void TableLayout::drawRow(const TableBlock& table, const std::vector<LaidRow>& rows, size_t r, qreal y,
                          PageContent& out, VerticalBorders& verticals) const {
    const LaidRow& row = rows[r];
    std::vector<HorizontalSegment> tops;
    for (size_t i = 0; i < row.cells.size(); ++i) {
        const LaidCell& c = row.cells[i];
        const TableCellBlock& block = *c.block;
        if (block.fill)
            out.fills.push_back(PageFill{QRectF(c.x, y, c.width, row.height), block.fill});
        if (block.merge != VerticalMerge::Continue) {
            qreal offset = block.margins.top;
            const qreal free = row.height - block.margins.top - block.margins.bottom - c.contentHeight;
            if (free > 0 && block.align == VerticalAlignment::Center)
                offset += free / 2;
            else if (free > 0 && block.align == VerticalAlignment::Bottom)
                offset += free;
            out.append(c.content, QPointF(c.x + block.margins.left, y + offset));
        }
        tops.push_back(HorizontalSegment{c.x, c.x + c.width, cellTop(table, r, c)});
        BorderLine left;
        if (block.left)
            left = *block.left;
        else if (i > 0 && row.cells[i - 1].block->right)
            left = *row.cells[i - 1].block->right;
        else
            left = i == 0 ? table.borders.left : table.borders.insideV;
        if (left.on)
            verticals.add(c.x, y, y + row.height, left, out);
        if (i + 1 == row.cells.size()) {
            const BorderLine right = block.right ? *block.right : table.borders.right;
            if (right.on)
                verticals.add(c.x + c.width, y, y + row.height, right, out);
        }
    }
    drawHorizontal(tops, y, out);
}

void TableLayout::drawBottom(const TableBlock& table, const std::vector<LaidRow>& rows, size_t r, qreal y,
                             PageContent& out) const {
    std::vector<HorizontalSegment> bottoms;
    for (const LaidCell& c : rows[r].cells)
        bottoms.push_back(HorizontalSegment{c.x, c.x + c.width, cellBottom(table, rows, r, c)});
    drawHorizontal(bottoms, y, out);
}

void TableLayout::place(const TableBlock& table, qreal x0, qreal width, PageFlow& flow) const {
    const std::vector<LaidRow> laid = rows(table, x0, width);
    if (laid.empty())
        return;
    flow.applyPendingBreak();
    size_t headers = 0;
    while (headers < laid.size() && laid[headers].header)
        ++headers;
    VerticalBorders verticals;
    size_t lastOnPage = SIZE_MAX;
    bool bodyRowPlaced = false;
    for (size_t r = 0; r < laid.size(); ++r) {
        const qreal h = laid[r].height;
        // A row that does not fit goes whole to the next page, after the repeated header rows.
        if (flow.paginated() && flow.y + h > flow.bottom + kFitTolerance && flow.pageHasContent) {
            if (lastOnPage != SIZE_MAX)
                drawBottom(table, laid, lastOnPage, flow.y, flow.out());
            verticals.flush(flow.out());
            flow.newPage();
            flow.out().continuesTable = bodyRowPlaced;
            if (r >= headers)
                for (size_t hr = 0; hr < headers; ++hr) {
                    drawRow(table, laid, hr, flow.y, flow.out(), verticals);
                    flow.y += laid[hr].height;
                }
        }
        drawRow(table, laid, r, flow.y, flow.out(), verticals);
        flow.y += h;
        flow.pageHasContent = true;
        lastOnPage = r;
        bodyRowPlaced = bodyRowPlaced || r >= headers;
    }
    drawBottom(table, laid, laid.size() - 1, flow.y, flow.out());
    verticals.flush(flow.out());
}

} // namespace velmora::docengine
