#pragma once

#include <QtGlobal>

// Numbers the layout engine works with. Lengths are twips (twentieths of a point) unless the
// name says otherwise.
namespace velmora::docengine::layout {

inline constexpr qreal kTwipsPerPoint = 20;
// Type sizes are written in half-points; fonts are sized in twips so that a pixel of the
// layout is a twip.
inline constexpr int kTwipsPerHalfPoint = 10;
// Picture extents are written in English Metric Units.
inline constexpr qreal kEmuPerTwip = 635;
inline constexpr qreal kCmPerInch = 2.54;

// Measurements of a few twips' excess still fit: the file's numbers are rounded, and a line or
// row that misses by less than this would otherwise move for nothing.
inline constexpr qreal kFitTolerance = 0.5;

// Line spacing is written in 240ths of a single line (or in twips for exact/at-least rules).
inline constexpr int kSingleLineSpacing = 240;
// A line with nothing taller than half its ascent above the baseline still shows its text.
inline constexpr qreal kMinimumBaselineShare = 0.5;

// Superscript and subscript: smaller type raised or lowered by a share of the normal size.
inline constexpr qreal kScriptSizeScale = 0.65;
inline constexpr qreal kSuperscriptRise = 0.33;
inline constexpr qreal kSubscriptDrop = 0.14;

// A form check box is drawn as a square of three quarters of its size, followed by a small gap.
inline constexpr qreal kCheckBoxSquareShare = 0.75;
inline constexpr qreal kCheckBoxGapShare = 0.15;

// A tab stop less than this past the pen is not taken (it would make an empty tab).
inline constexpr qreal kTabStopMinimumAdvance = 1;

// Table defaults of word processors: cell margins left and right, the width of a cell that has
// none, the height of an empty row, the text width under which a cell is never squeezed.
inline constexpr qreal kDefaultCellSideMargin = 108;
inline constexpr int kDefaultCellWidth = 720;
inline constexpr qreal kMinimumRowHeight = 240;
inline constexpr qreal kMinimumCellTextWidth = 20;
// Without a grid, columns of cells that state no width take a quarter of the text width.
inline constexpr int kColumnsGuessedWithoutGrid = 4;
// Borders are written in eighths of a point; thinner than a quarter point does not print.
inline constexpr qreal kTwipsPerBorderUnit = 2.5;
inline constexpr qreal kThinnestBorder = 5;
inline constexpr qreal kDoubleBorderFactor = 3;
// Border segments whose ends are closer than this are one line.
inline constexpr qreal kJoinTolerance = 0.5;

// Room asked for a table that follows a paragraph kept with the next one: about its first row.
inline constexpr qreal kKeepWithTableRoom = 400;

// Cells that fit their text: the size assumed when no run states one (12 pt), and the
// smallest size the text is set down to (7 pt).
inline constexpr int kDefaultHalfPoints = 24;
inline constexpr int kSmallestFittedHalfPoints = 14;

// A document may lay out this many pages and no more: a hostile or broken file (a word of
// millions of characters, thousands of page breaks) must not keep the program busy for minutes.
inline constexpr int kMaxPages = 5000;

} // namespace velmora::docengine::layout
