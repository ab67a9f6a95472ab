#pragma once

#include "platform/widgets/RecordSetModel.h"

#include <QTableView>

namespace velmora {

// The data-bound grid: a QTableView over a record-set cursor through RecordSetModel.
// Whole rows are selected; cells are read-only (rows change through the panels).
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);

    void bind(RecordSet* set); // not owned; nullptr empties the grid
    RecordSet* boundSet() const;
    void setColumns(const QList<ColumnBinding>& columns);
    RecordSetModel* recordModel() const { return m_model; }

    // Selected rows as row ids, in view order; the current row when none is selected.
    QList<qint64> selectedRowIds() const;
    // The first selected row's id, -1 when none.
    qint64 selectedRowId() const;
    // A column (by name) of the first selected row; empty when none is selected.
    QString selectedText(QStringView column) const;
    void selectRowId(qint64 rowId);
    void clearRowSelection();

Q_SIGNALS:
    // The selection changed by the user or in code.
    void rowSelectionChanged();

private:
    RecordSetModel* m_model;
    bool m_hadSelection = false;
};

} // namespace velmora
