#pragma once

#include "platform/docengine/DocTypes.h"
#include "platform/docengine/StyleSheet.h"

#include <QRgb>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

// A document as the layout sees it: read once from the package's XML into plain values, with
// every paragraph's and run's style resolved. Nothing here refers back to the XML.
namespace velmora::docengine {

// One thing inside a paragraph, with the character properties it is drawn with.
struct InlineItem {
    enum class Kind { Text, Tab, LineBreak, PageBreak, PageNumber, PageCount, Picture, CheckBox };
    Kind kind = Kind::Text;
    CharProps chars{};
    QString text{};          // Text
    QString pictureTarget{}; // Picture: the part holding it (empty when the file lacks it)
    qreal width = 0;         // Picture: twips
    qreal height = 0;        // Picture: twips
    qreal boxSize = 0;       // CheckBox: twips
    bool checked = false;    // CheckBox
};

// What comes right after a paragraph at its level, for a paragraph kept with the next one.
enum class FollowedBy { Paragraph, Table, Other };

struct ParagraphBlock {
    ParaProps props;
    CharProps mark; // the paragraph mark's properties: an empty line's height, hidden paragraphs
    std::vector<InlineItem> content;
    bool endsSection = false; // a section break that starts a new page after the paragraph
    FollowedBy followedBy = FollowedBy::Other;
    bool lastOfBody = false;
};

struct BorderLine {
    bool on = false;
    qreal width = 0;
    QRgb color = 0xff000000;
    bool operator==(const BorderLine&) const = default;
};

struct TableBorderSet {
    BorderLine top, left, bottom, right, insideH, insideV;
};

struct CellMargins {
    qreal top = 0;
    qreal left = 0;
    qreal bottom = 0;
    qreal right = 0;
};

struct Block;

enum class VerticalMerge { None, Restart, Continue };
enum class VerticalAlignment { Top, Center, Bottom };

struct TableCellBlock {
    int gridSpan = 1;
    std::optional<Twips> statedWidth; // used only when the grid gives the cell no width
    CellMargins margins;              // the table's, overridden by the cell's own
    VerticalMerge merge = VerticalMerge::None;
    VerticalAlignment align = VerticalAlignment::Top;
    QRgb fill = 0; // 0: no shading
    std::optional<BorderLine> top, left, bottom, right;
    bool fitText = false;
    int largestHalfPoints = 0; // largest type size written in the cell
    std::vector<Block> content;
};

struct TableRowBlock {
    std::vector<TableCellBlock> cells;
    int gridBefore = 0;
    bool header = false;
    bool heightStated = false;
    RowHeight height;
};

struct TableBlock {
    std::vector<qreal> grid; // column widths as written (may be empty)
    // Without a grid: the first row's cells' widths per column, 0 where a cell states none.
    std::vector<qreal> gridGuess;
    qreal indent = 0;
    Alignment alignment = Alignment::Left;
    TableBorderSet borders;
    std::vector<TableRowBlock> rows;
};

// Content controls and custom XML around blocks: laid out as their content.
struct BlockGroup {
    std::vector<Block> blocks;
};

struct Block {
    std::variant<ParagraphBlock, TableBlock, BlockGroup> content;
};

// Header or footer content of the document's section.
struct PageDecoration {
    bool titlePage = false;                  // the first page has its own
    std::optional<std::vector<Block>> first; // for the first page when `titlePage`
    std::optional<std::vector<Block>> other;

    const std::optional<std::vector<Block>>& forPage(int pageIndex) const {
        return titlePage && pageIndex == 0 ? first : other;
    }
};

struct DocumentModel {
    PageSetup page;
    qreal defaultTabStop = 720;
    std::vector<Block> body;
    PageDecoration header;
    PageDecoration footer;
};

} // namespace velmora::docengine
