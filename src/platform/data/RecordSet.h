#pragma once

#include "platform/CannotFail.h"
#include "platform/Result.h"
#include "platform/data/Filter.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace velmora {

enum class ColumnType { Text, Integer };

struct ColumnDef {
    QString name;
    ColumnType type = ColumnType::Text;
    int size = 0; // declared maximum length of a text column; never truncates
};

class RecordTable;
class Criteria;

// Told about changes of a record set, so a view can follow a cursor without walking it.
// Row events come from any cursor sharing the rows; viewReset() only from the cursor the
// listener was added to. Row ids are those of currentRowId().
class RecordSetListener {
public:
    virtual ~RecordSetListener() = default;
    // A row joined this cursor's view (added through any cursor); it is the view's last row.
    // A row added elsewhere joins when it matches this cursor's filter, judged when it is
    // added and again as its values are written while it is the table's newest row.
    virtual void rowAdded(qint64 /*rowId*/) {}
    // A column of a row of this cursor's view was written (column index of the set).
    virtual void rowChanged(qint64 /*rowId*/, int /*column*/) {}
    // A row is about to leave every view; it is still readable.
    virtual void rowAboutToBeRemoved(qint64 /*rowId*/) {}
    virtual void rowRemoved(qint64 /*rowId*/) {}
    // This cursor's rows changed wholesale: filter or sort set, opened or closed, its
    // table replaced (move assignment, createTable) or released.
    virtual void viewReset() {}
    // The cursor is being destroyed: forget it (no need to remove the listener).
    virtual void recordSetDestroyed() {}
};

// An in-memory record set: typed columns, shared rows, and a cursor with its own
// filter, sort order and position. Copies made with clone() share the rows but keep
// their own filter, sort and position; a row added or deleted through one cursor is
// seen by every other.
//
// Column names match without regard to case. Filters are criteria texts such as
// "CodArea='01' ", " ORDEN >= 3 and ORDEN <= 5 " or "(CodZona='1' OR CodZona='2')";
// equality comparisons on a column are answered through an index built on demand.
// As with the record sets the program was designed around, a filter and a sort order
// choose the visible rows and their order when they are set; later changes of values
// do not re-filter or re-sort, while added rows join every view whose filter they match
// and deleted rows leave every view.
class RecordSet {
public:
    RecordSet();
    ~RecordSet();
    RecordSet(const RecordSet&) = delete;
    RecordSet& operator=(const RecordSet&) = delete;
    RecordSet(RecordSet&&) noexcept;
    RecordSet& operator=(RecordSet&&) noexcept;

    // --- structure -----------------------------------------------------------
    // Columns are appended before open(); appending to an open set is an error.
    Status appendColumn(const QString& name, ColumnType type, int size = 0);
    Status open();
    void close();
    bool isOpen() const;
    int columnCount() const;
    const ColumnDef& column(int index) const;
    int columnIndex(QStringView name) const; // -1 when the set has no such column
    QStringList columnNames() const;

    // A second cursor over the same rows, unfiltered, unsorted, at the first row.
    std::unique_ptr<RecordSet> clone() const;
    // The same, seen in this cursor's sort order.
    std::unique_ptr<RecordSet> cloneInSortOrder() const;
    // A table of its own with these columns and rows, unfiltered, in this cursor's sort order,
    // at the first row: what making the same table again would give, without the making.
    RecordSet copy() const;
    bool sharesRowsWith(const RecordSet& other) const;

    // --- rows ----------------------------------------------------------------
    // Adds an empty row (texts empty, integers 0) and makes it current. It stays
    // visible in this cursor even when it does not match the cursor's filter.
    Status addNew();
    // Writes are immediate; update() exists for callers written against committed edits.
    Status update() { return isOpen() ? Status() : closedError(); }
    Status deleteCurrent();

    // Reading and writing a column of the current row, by name or by index.
    Result<QVariant> value(QStringView column) const;
    Status setValue(QStringView column, const QVariant& value);
    Result<QVariant> value(int column) const;
    Status setValue(int column, const QVariant& value);
    // Convenience readers: empty text / 0 when there is no current row or column.
    QString text(QStringView column) const;
    QString text(int column) const;
    qint64 integer(QStringView column) const;
    // Writes a text without going through QVariant: the loaders' hot path.
    Status setText(int column, const QString& text);
    // Adds a row holding `texts` in its first columns (text columns), the rest empty, and
    // makes it current: addNew() and a setText() per column in one step, for bulk loads.
    Status addRow(std::span<const QString> texts);
    // Room for this many more rows, so bulk loads do not grow the storage step by step.
    void reserve(int rows);

    // --- navigation ------------------------------------------------------------
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    bool isEOF() const;
    bool isBOF() const;
    int recordCount() const;      // rows of the current (filtered) view
    int absolutePosition() const; // 0-based position in the view; -1 at BOF/EOF
    void setAbsolutePosition(int position);

    // --- filter, sort, find -------------------------------------------------------
    // An empty text clears the filter. A text that does not parse is an error and
    // leaves the previous filter in place. The cursor moves to the first row.
    Status setFilter(const QString& criteria);
    Status setFilter(const Filter& filter) { return setFilter(filter.text()); }
    void clearFilter() { cannotFail(setFilter(QString())); } // an empty text always clears
    QString filter() const;
    // "Column ASC", "Column DESC" or "Column"; blanks around the pieces are ignored,
    // an empty text restores the natural order.
    Status setSort(const QString& sortText);
    QString sort() const;
    // Searches forward from the current row (inclusive); stops on the first match,
    // or leaves the cursor at EOF.
    Status find(const QString& criteria);
    Status find(const Filter& filter) { return find(filter.text()); }

    // Row identity, stable while the row lives: lets grids keep track of rows.
    qint64 currentRowId() const;
    bool moveToRowId(qint64 rowId);

    // --- reading by position, without moving the cursor --------------------------
    // Positions are 0-based in this cursor's view (0 .. recordCount() - 1).
    qint64 rowIdAt(int position) const;               // -1 outside the view
    int positionOfRowId(qint64 rowId) const;          // -1 when the row is not in this view
    QVariant valueAt(int position, int column) const; // invalid outside the view
    QString textAt(int position, int column) const;   // integers in plain decimal
    // A column of any live row of the table, in this cursor's view or not; empty otherwise.
    QString textOfRowId(qint64 rowId, int column) const;

    // --- change notifications -----------------------------------------------------
    // The listener is not owned; remove it before it dies. It stays with this cursor
    // object when another set is moved into it (and is told viewReset()).
    void addListener(RecordSetListener* listener);
    void removeListener(RecordSetListener* listener);

private:
    struct View;
    Status closedError() const;
    Status noCurrentRecord() const;
    void refresh() const;
    int currentRow() const;
    Result<int> resolve(QStringView column) const;
    void rebuildView();
    bool holdsBuiltOrder() const;
    void takeOrderOf(const RecordSet& other);
    int locate(int row) const; // position in the view, without catching up first
    void takeRowsOf(RecordSet& other);
    // Change notifications, sent only when some cursor of the table has listeners.
    void startListening();
    void stopListening();
    void tellListeners(const std::function<void(RecordSetListener&)>& tell);
    void announceReset();
    void announceRowAdded(int row);
    void announceWrite(int row, int column);
    bool joinNewestRow(int row);

    std::shared_ptr<RecordTable> m_table;
    std::unique_ptr<View> m_view;
};

// Replaces `table` with a new, open, empty set of the given columns.
Status createTable(RecordSet& table, const std::vector<ColumnDef>& columns);

} // namespace velmora
