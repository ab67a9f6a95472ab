#pragma once

#include "platform/data/RecordSet.h"

#include <QAbstractTableModel>
#include <QList>

class QTableView;

namespace velmora {

// One shown column: the record set's column it reads (by name, any case; a name the set
// lacks shows empty cells), its header caption and its width in twips (1440 to the inch;
// 0 leaves the view's default).
struct ColumnBinding {
    QString column;
    QString caption;
    int widthTwips = 0;
};

// The one table model of the windows: a live view of a record-set cursor. It reads rows
// by position (never moves the cursor) and follows the set's change notifications: rows
// added, changed and removed through any cursor sharing the rows, and the cursor's filter
// or sort being set (a reset). Grids and drop-down lists sit on it.
class RecordSetModel : public QAbstractTableModel, private RecordSetListener {
    Q_OBJECT
public:
    explicit RecordSetModel(QObject* parent = nullptr);
    ~RecordSetModel() override;

    // The cursor shown (not owned; nullptr shows nothing). Without columns set, every
    // column of the set is shown with its name as caption.
    void setRecordSet(RecordSet* set);
    RecordSet* recordSet() const { return m_set; }
    void setColumns(const QList<ColumnBinding>& columns);
    const QList<ColumnBinding>& columns() const { return m_columns; }
    int columnOf(QStringView name) const; // shown column index, -1 when not shown
    // Width of one shown column; kept when the set's own columns are shown and re-read.
    void setColumnWidthTwips(int shownColumn, int twips);

    // How many leading columns name a row (the order, code and name the lists put first): its
    // vertical header text, which screen readers say for the row, where the row number would be.
    void setRowNameColumns(int count) { m_rowNameColumns = count; }

    // Re-reads everything (after the cursor changed in a way it does not tell).
    void refresh();

    qint64 rowIdAt(int row) const;
    int rowOfRowId(qint64 rowId) const;
    // The text of a set column (by name, shown or not) at a model row.
    QString text(int row, QStringView column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void rowAdded(qint64 rowId) override;
    void rowChanged(qint64 rowId, int column) override;
    void rowAboutToBeRemoved(qint64 rowId) override;
    void rowRemoved(qint64 rowId) override;
    void viewReset() override;
    void recordSetDestroyed() override;
    void readLayout(); // shown columns and row count from the set, inside a reset

    RecordSet* m_set = nullptr;
    QList<ColumnBinding> m_columns;
    bool m_columnsGiven = false; // setColumns() was called; otherwise the set's columns
    QList<int> m_setColumns;     // set column index per shown column, -1 when the set lacks it
    int m_rows = 0;              // the row count the views were last told
    int m_removing = -1;
    int m_rowNameColumns = 3;
};

// Twips to device-independent pixels on a 96-dpi screen.
int twipsToPixels(int twips);

// Gives each shown column of `view` (over `model`) its width in twips, where one is set.
void applyColumnWidths(QTableView& view, const RecordSetModel& model);

} // namespace velmora
