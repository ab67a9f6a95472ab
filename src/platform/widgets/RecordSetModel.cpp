#include "platform/widgets/RecordSetModel.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace velmora {

RecordSetModel::RecordSetModel(QObject* parent) : QAbstractTableModel(parent) {}

RecordSetModel::~RecordSetModel() {
    if (m_set)
        m_set->removeListener(this);
}

void RecordSetModel::setRecordSet(RecordSet* set) {
    beginResetModel();
    if (m_set != set) {
        if (m_set)
            m_set->removeListener(this);
        m_set = set;
        if (m_set)
            m_set->addListener(this);
    }
    readLayout();
    endResetModel();
}

void RecordSetModel::setColumns(const QList<ColumnBinding>& columns) {
    beginResetModel();
    m_columns = columns;
    m_columnsGiven = true;
    readLayout();
    endResetModel();
}

void RecordSetModel::setColumnWidthTwips(int shownColumn, int twips) {
    if (shownColumn >= 0 && shownColumn < m_columns.size())
        m_columns[shownColumn].widthTwips = twips;
}

int RecordSetModel::columnOf(QStringView name) const {
    for (int i = 0; i < m_columns.size(); ++i)
        if (name.trimmed().compare(m_columns[i].column, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void RecordSetModel::refresh() {
    beginResetModel();
    readLayout();
    endResetModel();
}

void RecordSetModel::readLayout() {
    if (!m_columnsGiven) {
        QList<ColumnBinding> shown;
        if (m_set) {
            for (const QString& name : m_set->columnNames()) {
                ColumnBinding binding{name, name, 0};
                if (shown.size() < m_columns.size())
                    binding.widthTwips = m_columns[shown.size()].widthTwips;
                shown << binding;
            }
        }
        m_columns = shown;
    }
    m_setColumns.clear();
    for (const ColumnBinding& binding : m_columns)
        m_setColumns << (m_set ? m_set->columnIndex(binding.column) : -1);
    m_rows = m_set ? m_set->recordCount() : 0;
    m_removing = -1;
}

qint64 RecordSetModel::rowIdAt(int row) const {
    return (m_set && row >= 0 && row < m_rows) ? m_set->rowIdAt(row) : -1;
}

int RecordSetModel::rowOfRowId(qint64 rowId) const {
    if (!m_set)
        return -1;
    const int row = m_set->positionOfRowId(rowId);
    return row < m_rows ? row : -1;
}

QString RecordSetModel::text(int row, QStringView column) const {
    if (!m_set || row < 0 || row >= m_rows)
        return {};
    return m_set->textAt(row, m_set->columnIndex(column));
}

int RecordSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int RecordSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant RecordSetModel::data(const QModelIndex& index, int role) const {
    if (!m_set || !index.isValid() || index.row() >= m_rows || index.column() >= m_setColumns.size())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const int column = m_setColumns[index.column()];
    return column < 0 ? QString() : m_set->textAt(index.row(), column);
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_columns.size())
        return m_columns[section].caption;
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && m_set && section >= 0 && section < m_rows) {
        QStringList name;
        for (int shown = 0; shown < std::min<int>(m_rowNameColumns, m_setColumns.size()); ++shown)
            if (const QString text = data(index(section, shown)).toString().trimmed(); !text.isEmpty())
                name << text;
        return name.join(u' ');
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

// The set's views only ever grow at the end; anything else means this model missed a
// step, and a reset puts it right.
void RecordSetModel::rowAdded(qint64 rowId) {
    const int position = m_set->positionOfRowId(rowId);
    if (position < 0)
        return;
    if (position != m_rows) {
        refresh();
        return;
    }
    beginInsertRows(QModelIndex(), position, position);
    ++m_rows;
    endInsertRows();
}

void RecordSetModel::rowChanged(qint64 rowId, int column) {
    const int row = rowOfRowId(rowId);
    if (row < 0)
        return;
    for (int shown = 0; shown < m_setColumns.size(); ++shown)
        if (m_setColumns[shown] == column)
            Q_EMIT dataChanged(index(row, shown), index(row, shown), {Qt::DisplayRole, Qt::EditRole});
}

void RecordSetModel::rowAboutToBeRemoved(qint64 rowId) {
    const int row = rowOfRowId(rowId);
    if (row < 0)
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_removing = row;
}

void RecordSetModel::rowRemoved(qint64 /*rowId*/) {
    if (m_removing < 0)
        return;
    m_removing = -1;
    --m_rows;
    endRemoveRows();
}

void RecordSetModel::viewReset() {
    refresh();
}

void RecordSetModel::recordSetDestroyed() {
    beginResetModel();
    m_set = nullptr;
    readLayout();
    endResetModel();
}

int twipsToPixels(int twips) {
    return (twips + 7) / 15;
}

void applyColumnWidths(QTableView& view, const RecordSetModel& model) {
    const QList<ColumnBinding>& columns = model.columns();
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].widthTwips > 0)
            view.setColumnWidth(i, twipsToPixels(columns[i].widthTwips));
}

} // namespace velmora
