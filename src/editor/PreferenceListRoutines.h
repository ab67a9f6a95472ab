#pragma once

#include "platform/Result.h"
#include "platform/data/ColumnName.h"

#include <QHash>
#include <QString>

#include <functional>
#include <optional>

namespace velmora {

class RecordSet;

// The list-keeping routines of the two preference lists (vacancy and resultas), which keep
// the `Orden` column exactly 1..n through every change. They work on cursors of their own
// over the list's rows, so the cursor a grid shows is never moved or filtered; only
// NumeraOrden sets that cursor's sort, so it shows the new order.

// The largest value of a column plus one over every row of `table`, counting from 0; 0 for
// an empty table. The column is "Id" + name when `withPrefix`, else `name` (any case).
Result<qint64> SiguienteValor(const RecordSet& table, const QString& name, bool withPrefix);

// Whether a row of `list` has `code` as its CodConvocatoria.
Result<bool> PlazaIncluida(const QString& code, const RecordSet& list);

// The order a new row takes from the text of an order box, making room for it: an empty
// box or an order beyond the end appends; an order inside the list moves the rows from
// there on down by one.
Result<int> CalculaOrden(RecordSet& list, const QString& orderText);

// Adds `step` to `column` of every row whose value is `from` or more.
Status DesplazaOrden(RecordSet& list, int from, ColumnName column, int step);

// Moves the other rows when one row's order changes from `oldOrder` to `newOrder`; that
// row still holds `oldOrder` and is left alone (the caller gives it `newOrder`).
Status ReordenaPlazas(RecordSet& list, ColumnName column, int oldOrder, int newOrder);

// Gives the rows, taken in ascending order of `column` (ties in the order they were added),
// the values 1, 2, 3 ...
Status NumeraOrden(RecordSet& list, ColumnName column);

// Names looked up for a new row's area and zone codes, in the areas and zones catalogues
// whatever their cursors' filters. Made for one operation: it remembers the names it found.
class AreaZoneNames {
public:
    AreaZoneNames(const RecordSet& areas, const RecordSet& zones) : m_areas(areas), m_zones(zones) {}
    // The name of the first row with the code, or an empty text when none has it.
    QString areaName(const QString& code) const;
    QString zoneName(const QString& code) const;

private:
    const RecordSet& m_areas;
    const RecordSet& m_zones;
    mutable QHash<QString, QString> m_areaNames;
    mutable QHash<QString, QString> m_zoneNames;
};

// Called while "Insertar Todas" appends, with the rows appended so far, each time the next
// order to give is a multiple of 300: the window repaints.
using InsertProgress = std::function<void(int appended)>;

// Appends every row the candidates cursor shows (with its filter, in its order) whose
// position code is not in `list` yet, at orders after the last row and with new ids.
// Returns the number of rows appended.
Result<int> InsertaTodasPlazas(const RecordSet& candidates, RecordSet& list, const AreaZoneNames& names,
                               const InsertProgress& progress = {});

// The largest order an order box accepts.
inline constexpr int kMaxOrder = 32000;

// The order written in an order box: a whole number from 1 to kMaxOrder. Any other text
// (empty, 0, negative, too large, with a decimal part, a lone "-") has no order.
std::optional<int> orderOfText(const QString& text);

} // namespace velmora
