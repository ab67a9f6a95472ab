#pragma once

#include <QColor>
#include <QString>

#include <optional>

namespace velmora::docengine {

// Lengths in the document are twentieths of a point (1440 per inch), the unit of the file format.
using Twips = int;

inline constexpr Twips kTwipsPerInch = 1440;
inline constexpr Twips kTwipsPerCm = 567;

// Error numbers the engine reports. The word processor the program was first written for
// answered 5941 for a named member (field, bookmark, table) that the document lacks; callers
// that skip missing fields test for that number.
namespace DocError {
inline constexpr int MissingMember = 5941;
inline constexpr int WrongFieldKind = 4605;
inline constexpr int BadCell = 5992;
inline constexpr int NotAPackage = 5792;
inline constexpr int Unsupported = 5803;
inline constexpr int StaleHandle = 5825;
inline constexpr int NoPath = 5152;
inline constexpr int PrintFailed = 4198;
} // namespace DocError

enum class Alignment { Left, Center, Right, Justify };

enum class HeightRule { Auto, AtLeast, Exact };

struct RowHeight {
    Twips value = 0;
    HeightRule rule = HeightRule::Auto;
    bool operator==(const RowHeight&) const = default;
};

// Character formatting to apply; unset members leave the inherited value alone.
struct RunFormat {
    QString font{};  // "Times New Roman", "Arial", ...
    double size = 0; // points; 0 keeps the inherited size
    std::optional<bool> bold{};
    std::optional<bool> italic{};
    std::optional<bool> underline{};
    std::optional<bool> hidden{}; // text kept in the file but neither shown nor printed
    std::optional<QColor> color{};

    bool isEmpty() const {
        return font.isEmpty() && size <= 0 && !bold && !italic && !underline && !hidden && !color;
    }
    // Members set in `over` replace those of this format.
    RunFormat mergedWith(const RunFormat& over) const;
};

// Paragraph formatting to apply; unset members leave the inherited value alone.
struct ParagraphFormat {
    std::optional<Alignment> alignment{};
    std::optional<Twips> spaceBefore{};
    std::optional<Twips> spaceAfter{};
    std::optional<Twips> indentLeft{};
    std::optional<Twips> indentRight{};
    std::optional<Twips> firstLineIndent{}; // negative for a hanging indent
    std::optional<double> lineSpacing{};    // multiple of single spacing (1.0, 1.5, 2.0)
    std::optional<bool> keepWithNext{};
    std::optional<bool> pageBreakBefore{};
};

// Paper and margins of the document's (single) section. A4 with the margins Spanish
// word processors propose by default.
struct PageSetup {
    Twips width = 11906;
    Twips height = 16838;
    Twips marginTop = 1417;
    Twips marginBottom = 1417;
    Twips marginLeft = 1701;
    Twips marginRight = 1701;
    Twips header = 708;
    Twips footer = 708;

    Twips contentWidth() const { return width - marginLeft - marginRight; }
    bool operator==(const PageSetup&) const = default;
};

} // namespace velmora::docengine
