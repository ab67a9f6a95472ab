#pragma once

#include "platform/docengine/DocTypes.h"
#include "printing/PositionsPerPage.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <map>
#include <memory>
#include <vector>

namespace velmora {

// Rows of each printed page of the vacancy or resultas list, in order. A page ends after
// every row whose position (from 1) is a multiple of `perPage`; when the rows of the last,
// partial page would be 32 or more (r = rows mod perPage), a page also ends after row
// rows - r + 31, so that a last partial page holds at most 31 rows.
std::vector<int> listPageSizes(int rows, int perPage);

// Rows of the courses and documents tables per printed table: a new table after every 35.
inline constexpr int kRowsPerListTable = 35;

// Chooses the type size of the cells of a vacancy or resultas page so that a page's rows
// fit on one sheet: a cell keeps the base size when its text, wrapped at the cell's width,
// fits the row height allowed; otherwise it takes the largest half-point size (down to
// kMinimumPoints) at which it does. Text is measured with the faces pages are drawn with.
class ListCellFitter {
public:
    static constexpr double kMinimumPoints = 4.0;
    // Left plus right cell margins of a table that sets none of its own.
    static constexpr docengine::Twips kCellMargins = 216;

    ListCellFitter(const docengine::RunFormat& base, docengine::Twips rowHeight);
    ~ListCellFitter();

    docengine::Twips rowHeight() const { return m_rowHeight; }
    double baseSize() const { return m_baseSize; }

    // The size in points for `text` in a cell `width` twips wide (margins included).
    double sizeFor(const QString& text, docengine::Twips width);

    // Height of `text` (paragraphs split at '\n') wrapped at `width`, in `format`.
    static qreal textHeight(const QString& text, docengine::Twips width, const docengine::RunFormat& format);
    // Height of one line in `format`.
    static qreal lineHeight(const docengine::RunFormat& format);

private:
    struct Face;
    Face& face(int halfPoints);

    QString m_family;
    bool m_bold = false;
    double m_baseSize = 10;
    docengine::Twips m_rowHeight = 0;
    std::map<int, std::unique_ptr<Face>> m_faces;
};

} // namespace velmora
