#pragma once

#include "platform/docengine/DocTypes.h"
#include "printing/PositionsPerPage.h"
#include "printing/TemplateLayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

namespace velmora {

// Height the list pages' barcode picture is asked for (1170 twips on the page).
inline constexpr qint16 kListBarcodeHeight = 900;

// Rows of each printed page of the vacancy or resultas list, in order. A page ends after
// every row whose position (from 1) is a multiple of `perPage`; when the rows of the last,
// partial page would be 32 or more (r = rows mod perPage), a page also ends after row
// rows - r + 31, so that a last partial page holds at most 31 rows.
std::vector<int> listPageSizes(int rows, int perPage);

// Rows of the courses and documents tables per printed table: a new table after every 35.
inline constexpr int kRowsPerListTable = 35;

// The type of a vacancy or resultas list: one size for every body cell and rows of one
// height, holding one line or two (longer texts are cut with "…" by the row's exact height).
struct ListType {
    double size = 9;                // points
    int lines = 1;                  // lines a row holds
    docengine::Twips rowHeight = 0; // the rows' exact height
};

// Chooses a list's type from its texts and measures list tables, with the faces pages are
// drawn with. A list keeps its base size when every text fits the lines its rows allow;
// otherwise it takes the largest half-point size, down to kMinimumPoints, at which they
// all do, and at worst kMinimumPoints with two lines.
class ListCellFitter {
public:
    static constexpr double kMinimumPoints = 7.0;
    static constexpr int kMaximumLines = 2;
    // Left plus right cell margins of a table that sets none of its own.
    static constexpr docengine::Twips kCellMargins = 216;

    explicit ListCellFitter(const docengine::RunFormat& base);
    ~ListCellFitter();

    double baseSize() const { return m_baseSize; }

    // The type for rows of `texts` (one list per row, one text per column of `widths`) when
    // a row may be at most `rowRoom` twips tall.
    ListType choose(const std::vector<QStringList>& texts, const QList<docengine::Twips>& widths,
                    docengine::Twips rowRoom);
    // Height of a row of `lines` lines at `size` points.
    docengine::Twips rowHeight(double size, int lines);

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
    std::map<int, std::unique_ptr<Face>> m_faces;
};

// Room for the rows of one list page on a sheet of `page` whose table header is
// `headerHeight` twips tall: what is left after the header, the page's barcode and the
// list's heading, with a safety margin against measuring error.
qreal listPageRoom(const docengine::PageSetup& page, qreal headerHeight);
// How many rows of one line at the smallest size fit in `room`.
int rowsThatFit(qreal room, const docengine::RunFormat& dataFont);
// Height of a list table's header rows as the templates write them.
qreal listHeaderHeight(const ListTableShape& shape);
// The most vacancy or resultas rows one sheet holds with its barcode, for the lists of both
// template generations: a larger places-per-page value is lowered to this.
int largestPositionsPerPage();

} // namespace velmora
