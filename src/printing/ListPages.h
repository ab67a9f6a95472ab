#pragma once

#include "platform/docengine/DocTypes.h"
#include "printing/PositionsPerPage.h"
#include "printing/TemplateLayout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace velmora {

// Height the list pages' barcode picture is asked for (1170 twips on the page).
inline constexpr qint16 kListBarcodeHeight = 900;

// Rows of each printed page of the vacancy or resultas list, in order, for rows `heights`
// twips tall (row and text at the list's size) on pages with `room` twips for rows. A page
// takes the next rows while they fit and it holds fewer than `perPage`; when fewer than
// `perPage` rows remain but 32 or more, it takes at most 31, so that a last partial page
// holds at most 31 rows. A row taller than `room` goes alone on a page (see rowsFitTheirPage).
std::vector<int> listPageSizes(const std::vector<docengine::Twips>& heights, qreal room, int perPage);
// The same for rows that always fit: pages of `perPage` rows but for the last ones.
std::vector<int> listPageSizes(int rows, int perPage);

// Rows of the courses and documents tables per printed table: a new table after every 35.
inline constexpr int kRowsPerListTable = 35;

// Measures the rows of the vacancy and resultas lists with the faces pages are drawn with.
// Every body cell is set at the list's one size (the data font's, never smaller), and a text
// wraps onto as many lines as it needs: nothing is cut.
class ListCellFitter {
public:
    // Left plus right cell margins of a table that sets none of its own.
    static constexpr docengine::Twips kCellMargins = 216;

    explicit ListCellFitter(const docengine::RunFormat& base);
    ~ListCellFitter();

    double size() const { return m_size; }

    // Height of a row of `texts` (one per column of `widths`) as pages are counted with: its
    // tallest cell's lines, wrapped a little early so that no row prints taller than this.
    docengine::Twips rowHeight(const QStringList& texts, const QList<docengine::Twips>& widths);
    // Height of a row of `lines` lines.
    docengine::Twips rowHeight(int lines);

    // Height of `text` (paragraphs split at '\n') wrapped at `width`, in `format`.
    static qreal textHeight(const QString& text, docengine::Twips width, const docengine::RunFormat& format);
    // Height of one line in `format`.
    static qreal lineHeight(const docengine::RunFormat& format);

private:
    struct Face;

    double m_size = 10;
    std::unique_ptr<Face> m_face;
};

// Room for the rows of one list page on a sheet of `page` whose table header is
// `headerHeight` twips tall: what is left after the header, the page's barcode and the
// list's heading, with a safety margin against measuring error.
qreal listPageRoom(const docengine::PageSetup& page, qreal headerHeight);
// How many rows of one line in `dataFont` fit in `room`.
int rowsThatFit(qreal room, const docengine::RunFormat& dataFont);
// Height of a list table's header rows as the templates write them.
qreal listHeaderHeight(const ListTableShape& shape);
// The most vacancy or resultas rows one sheet holds with its barcode (rows of one line), for
// the lists of both template generations: a larger places-per-page value is lowered to this.
int largestPositionsPerPage();

} // namespace velmora
