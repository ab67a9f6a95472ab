#include "platform/widgets/DataGrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>
#include <utility>

namespace velmora {

DataGrid::DataGrid(QWidget* parent) : QTableView(parent), m_model(new RecordSetModel(this)) {
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setAlternatingRowColors(true);
    setTabKeyNavigation(false);
    // Thousands of rows: one row height for all, so the view never measures each row.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(true);

    // A reset (filter, sort, another table) drops the selection without a word from the
    // selection model: say so when there was one. Widths are re-applied as the header
    // sections come back at their default sizes.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { m_hadSelection = selectionModel()->hasSelection(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnWidths(*this, *m_model);
        if (std::exchange(m_hadSelection, false))
            Q_EMIT rowSelectionChanged();
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &DataGrid::rowSelectionChanged);
}

void DataGrid::bind(RecordSet* set) {
    m_model->setRecordSet(set);
}

RecordSet* DataGrid::boundSet() const {
    return m_model->recordSet();
}

void DataGrid::setColumns(const QList<ColumnBinding>& columns) {
    m_model->setColumns(columns);
}

QList<qint64> DataGrid::selectedRowIds() const {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows << index.row();
    if (rows.isEmpty() && currentIndex().isValid())
        rows << currentIndex().row();
    std::sort(rows.begin(), rows.end());
    QList<qint64> ids;
    for (int row : rows)
        ids << m_model->rowIdAt(row);
    return ids;
}

qint64 DataGrid::selectedRowId() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty())
        return -1;
    const auto first =
        std::min_element(rows.begin(), rows.end(),
                         [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    return m_model->rowIdAt(first->row());
}

QString DataGrid::selectedText(QStringView column) const {
    const qint64 rowId = selectedRowId();
    return rowId < 0 ? QString() : m_model->text(m_model->rowOfRowId(rowId), column);
}

void DataGrid::selectRowId(qint64 rowId) {
    const int row = m_model->rowOfRowId(rowId);
    if (row < 0) {
        clearRowSelection();
        return;
    }
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
}

void DataGrid::clearRowSelection() {
    selectionModel()->clearSelection();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

} // namespace velmora
