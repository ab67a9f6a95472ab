#include "platform/data/RecordSet.h"

#include "platform/data/RecordTable.h"

#include <algorithm>
#include <utility>

namespace velmora {

namespace {

Error closedSetError() {
    return Error::make(ErrorCode::ObjectClosed,
                       QStringLiteral("La operación no se permite si el objeto está cerrado."));
}

} // namespace

RecordSet::RecordSet() : m_table(std::make_shared<RecordTable>()), m_view(std::make_unique<View>()) {}

RecordSet::~RecordSet() {
    if (m_view->listeners.empty())
        return;
    stopListening();
    for (RecordSetListener* listener : std::exchange(m_view->listeners, {}))
        listener->recordSetDestroyed();
}

RecordSet::RecordSet(RecordSet&& other) noexcept : RecordSet() {
    takeRowsOf(other);
}

RecordSet& RecordSet::operator=(RecordSet&& other) noexcept {
    takeRowsOf(other);
    return *this;
}

// Listeners belong to the cursor object they were added to, not to the rows: a window's
// drop-down bound to a catalogue table keeps following it when the table is rebuilt or
// released by assignment. The moved-from set is left new and empty, so it stays usable.
void RecordSet::takeRowsOf(RecordSet& other) {
    if (this == &other)
        return;
    stopListening();
    other.stopListening();
    std::vector<RecordSetListener*> mine = std::exchange(m_view->listeners, {});
    std::vector<RecordSetListener*> theirs = std::exchange(other.m_view->listeners, {});
    m_table = std::exchange(other.m_table, std::make_shared<RecordTable>());
    m_view = std::exchange(other.m_view, std::make_unique<View>());
    m_view->listeners = std::move(mine);
    other.m_view->listeners = std::move(theirs);
    for (RecordSet* cursor : {this, &other}) {
        if (!cursor->m_view->listeners.empty()) {
            cursor->startListening();
            cursor->announceReset();
        }
    }
}

Status RecordSet::closedError() const {
    return closedSetError();
}

Status RecordSet::noCurrentRecord() const {
    return Error::make(ErrorCode::NoCurrentRecord,
                       QStringLiteral("BOF o EOF es True, o el registro actual se eliminó; la operación "
                                      "solicitada necesita un registro actual."));
}

Status RecordSet::appendColumn(const QString& name, ColumnType type, int size) {
    if (m_table->opened)
        return Error::make(
            ErrorCode::InvalidProcedureCall,
            QStringLiteral("No se pueden añadir columnas a un conjunto de registros abierto."));
    if (name.trimmed().isEmpty() || m_table->resolve(name) >= 0)
        return Error::make(ErrorCode::InvalidProcedureCall,
                           QStringLiteral("Nombre de columna no válido o repetido: «%1»").arg(name));
    m_table->columns.push_back({name, type, size});
    m_table->texts.emplace_back();
    m_table->ints.emplace_back();
    m_table->indexes.emplace_back();
    return {};
}

Status RecordSet::open() {
    if (m_table->columns.empty())
        return Error::make(ErrorCode::InvalidProcedureCall,
                           QStringLiteral("El conjunto de registros no tiene columnas."));
    m_table->opened = true;
    m_view->closed = false;
    rebuildView();
    announceReset();
    return {};
}

void RecordSet::close() {
    m_view->closed = true;
    announceReset();
}

bool RecordSet::isOpen() const {
    return m_table->opened && !m_view->closed;
}

int RecordSet::columnCount() const {
    return int(m_table->columns.size());
}

const ColumnDef& RecordSet::column(int index) const {
    return m_table->columns.at(size_t(index));
}

int RecordSet::columnIndex(QStringView name) const {
    return m_table->resolve(name);
}

QStringList RecordSet::columnNames() const {
    QStringList names;
    for (const auto& c : m_table->columns)
        names << c.name;
    return names;
}

std::unique_ptr<RecordSet> RecordSet::clone() const {
    auto copy = std::make_unique<RecordSet>();
    copy->m_table = m_table;
    copy->rebuildView();
    return copy;
}

std::unique_ptr<RecordSet> RecordSet::cloneInSortOrder() const {
    auto copy = std::make_unique<RecordSet>();
    copy->m_table = m_table;
    refresh();
    copy->takeOrderOf(*this);
    return copy;
}

RecordSet RecordSet::copy() const {
    RecordSet out;
    RecordTable& t = *out.m_table;
    const RecordTable& from = *m_table;
    t.columns = from.columns;
    t.texts = from.texts;
    t.ints = from.ints;
    t.alive = from.alive;
    t.opened = from.opened;
    t.indexes.resize(from.columns.size());
    out.m_view->closed = m_view->closed;
    out.takeOrderOf(*this);
    return out;
}

// Takes the sort of `other`, a cursor over the same rows (this table or a copy of it), and,
// when its unfiltered view is as built, its rows in that order instead of sorting them again.
void RecordSet::takeOrderOf(const RecordSet& other) {
    const View& theirs = *other.m_view;
    View& v = *m_view;
    v.sortColumn = theirs.sortColumn;
    v.sortDescending = theirs.sortDescending;
    v.sortText = theirs.sortText;
    if (theirs.filter || !other.holdsBuiltOrder()) {
        rebuildView();
        return;
    }
    const RecordTable& t = *m_table;
    v.rows = theirs.rows;
    v.seenLimit = v.builtLimit = t.rowLimit();
    v.seenDeletes = t.deleteVersion;
    v.builtChanges = t.changeCount;
}

// Whether the view is exactly as its filter and sort built it, no row added, written or
// deleted since: then its rows are what building it again would give.
bool RecordSet::holdsBuiltOrder() const {
    return isOpen() && m_view->builtChanges == m_table->changeCount;
}

bool RecordSet::sharesRowsWith(const RecordSet& other) const {
    return m_table == other.m_table;
}

// Brings the view up to date with rows other cursors added or deleted.
void RecordSet::refresh() const {
    View& v = *m_view;
    const RecordTable& t = *m_table;
    if (v.seenDeletes + 1 == t.deleteVersion) {
        // One row went since the last look (always so for watched cursors): drop just it.
        const int at = locate(t.lastDeleted);
        if (at >= 0) {
            v.rows.erase(v.rows.begin() + at);
            if (at < v.pos)
                --v.pos;
            else if (at == v.pos)
                v.currentDeleted = true;
            v.positionValid = false;
        }
        v.seenDeletes = t.deleteVersion;
    } else if (v.seenDeletes != t.deleteVersion) {
        const int current =
            (v.pos >= 0 && v.pos < int(v.rows.size()) && !v.currentDeleted) ? v.rows[size_t(v.pos)] : -1;
        int deadBefore = 0;
        std::vector<int> kept;
        kept.reserve(v.rows.size());
        for (size_t i = 0; i < v.rows.size(); ++i) {
            if (t.alive[size_t(v.rows[i])])
                kept.push_back(v.rows[i]);
            else if (int(i) < v.pos)
                ++deadBefore;
        }
        v.rows.swap(kept);
        if (v.pos > 0)
            v.pos -= deadBefore;
        if (current >= 0 && !t.alive[size_t(current)])
            v.currentDeleted = true;
        v.seenDeletes = t.deleteVersion;
        v.positionValid = false;
    }
    if (v.seenLimit != t.rowLimit()) {
        // New rows join at the end of the view, as freshly added records do.
        for (int row = v.seenLimit; row < t.rowLimit(); ++row)
            if (t.alive[size_t(row)] && (!v.filter || t.matches(*v.filter, row)))
                v.append(row);
        v.seenLimit = t.rowLimit();
    }
}

int RecordSet::locate(int row) const {
    View& v = *m_view;
    if (v.sortColumn < 0) {
        const auto at = std::lower_bound(v.rows.begin(), v.rows.end(), row);
        return (at != v.rows.end() && *at == row) ? int(at - v.rows.begin()) : -1;
    }
    if (!v.positionValid) {
        v.positionOf.assign(size_t(m_table->rowLimit()), -1);
        for (size_t i = 0; i < v.rows.size(); ++i)
            v.positionOf[size_t(v.rows[i])] = int(i);
        v.positionValid = true;
    }
    return (row >= 0 && size_t(row) < v.positionOf.size()) ? v.positionOf[size_t(row)] : -1;
}

int RecordSet::currentRow() const {
    if (!isOpen())
        return -1;
    refresh();
    const View& v = *m_view;
    if (v.currentDeleted || v.pos < 0 || v.pos >= int(v.rows.size()))
        return -1;
    return v.rows[size_t(v.pos)];
}

Result<int> RecordSet::resolve(QStringView column) const {
    const int index = m_table->resolve(column);
    if (index < 0)
        return Error::make(ErrorCode::ItemNotFound,
                           QStringLiteral("No se encontró el elemento «%1» en la colección.").arg(column));
    return index;
}

Status RecordSet::addNew() {
    if (!isOpen())
        return closedError();
    refresh();
    View& v = *m_view;
    const int row = m_table->addRow();
    v.append(row);
    v.seenLimit = m_table->rowLimit();
    v.pos = int(v.rows.size()) - 1;
    v.currentDeleted = false;
    if (!m_table->listened.empty())
        announceRowAdded(row);
    return {};
}

Status RecordSet::deleteCurrent() {
    const int row = currentRow();
    if (row < 0)
        return isOpen() ? noCurrentRecord() : closedError();
    const std::shared_ptr<RecordTable> table = m_table; // listeners may replace this cursor's rows
    std::vector<RecordSet*> told;
    if (!table->listened.empty()) {
        // Told while the row is still in every view, so a model can say where it was.
        for (RecordSet* cursor : std::vector<RecordSet*>(table->listened)) {
            if (!table->isListened(cursor) || !cursor->isOpen())
                continue;
            cursor->refresh();
            if (cursor->locate(row) < 0)
                continue;
            told.push_back(cursor);
            cursor->tellListeners([row](RecordSetListener& l) { l.rowAboutToBeRemoved(row); });
        }
        if (m_table != table || !table->alive[size_t(row)])
            return {}; // a listener deleted it or replaced the rows meanwhile
    }
    table->deleteRow(row);
    View& v = *m_view;
    if (!v.currentDeleted && v.pos >= 0 && v.pos < int(v.rows.size()) && v.rows[size_t(v.pos)] == row &&
        v.seenDeletes + 1 == table->deleteVersion) {
        v.rows.erase(v.rows.begin() + v.pos);
        v.currentDeleted = true;
        v.seenDeletes = table->deleteVersion;
        v.positionValid = false;
    } else {
        refresh(); // a listener moved this cursor: find the row again
    }
    for (RecordSet* cursor : told) {
        if (!table->isListened(cursor))
            continue;
        cursor->refresh();
        cursor->tellListeners([row](RecordSetListener& l) { l.rowRemoved(row); });
    }
    return {};
}

Result<QVariant> RecordSet::value(int column) const {
    if (column < 0 || column >= columnCount())
        return Error::make(ErrorCode::ItemNotFound, QStringLiteral("Columna fuera de rango: %1").arg(column));
    const int row = currentRow();
    if (row < 0)
        return isOpen() ? noCurrentRecord().error() : closedError().error();
    if (m_table->isText(column))
        return QVariant(m_table->texts[size_t(column)][size_t(row)]);
    return QVariant(m_table->ints[size_t(column)][size_t(row)]);
}

Result<QVariant> RecordSet::value(QStringView column) const {
    auto index = resolve(column);
    if (!index)
        return index.error();
    return value(*index);
}

Status RecordSet::setValue(int column, const QVariant& value) {
    if (column < 0 || column >= columnCount())
        return Error::make(ErrorCode::ItemNotFound, QStringLiteral("Columna fuera de rango: %1").arg(column));
    const int row = currentRow();
    if (row < 0)
        return isOpen() ? noCurrentRecord() : closedError();
    RecordTable& t = *m_table;
    if (t.isText(column)) {
        t.indexErase(column, row);
        t.texts[size_t(column)][size_t(row)] = value.toString();
        t.indexInsert(column, row);
        if (!t.listened.empty())
            announceWrite(row, column);
        return {};
    }
    qint64 number = 0;
    bool ok = true;
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray)
        number = value.toString().trimmed().toLongLong(&ok);
    else
        number = value.toLongLong(&ok);
    if (!ok)
        return Error::make(ErrorCode::TypeMismatch,
                           QStringLiteral("No coinciden los tipos: «%1» no es un número "
                                          "entero (columna %2).")
                               .arg(value.toString(), t.columns[size_t(column)].name));
    t.indexErase(column, row);
    t.ints[size_t(column)][size_t(row)] = number;
    t.indexInsert(column, row);
    if (!t.listened.empty())
        announceWrite(row, column);
    return {};
}

Status RecordSet::setValue(QStringView column, const QVariant& value) {
    auto index = resolve(column);
    if (!index)
        return index.error();
    return setValue(*index, value);
}

QString RecordSet::text(int column) const {
    if (column < 0 || column >= columnCount())
        return QString();
    const int row = currentRow();
    if (row < 0)
        return QString();
    return m_table->isText(column) ? m_table->texts[size_t(column)][size_t(row)]
                                   : QString::number(m_table->ints[size_t(column)][size_t(row)]);
}

Status RecordSet::setText(int column, const QString& text) {
    if (column < 0 || column >= columnCount() || !m_table->isText(column))
        return setValue(column, QVariant(text));
    const int row = currentRow();
    if (row < 0)
        return isOpen() ? noCurrentRecord() : closedError();
    RecordTable& t = *m_table;
    t.indexErase(column, row);
    t.texts[size_t(column)][size_t(row)] = text;
    t.indexInsert(column, row);
    if (!t.listened.empty())
        announceWrite(row, column);
    return {};
}

Status RecordSet::addRow(std::span<const QString> texts) {
    RecordTable& t = *m_table;
    bool plain = t.listened.empty() && texts.size() <= t.columns.size();
    for (size_t c = 0; plain && c < texts.size(); ++c)
        plain = t.isText(int(c));
    if (!plain) { // told to listeners, or converted, column by column
        VELMORA_TRY(addNew());
        for (size_t c = 0; c < texts.size(); ++c)
            VELMORA_TRY(setText(int(c), texts[c]));
        return {};
    }
    if (!isOpen())
        return closedError();
    refresh();
    const int row = t.rowLimit();
    for (size_t c = 0; c < t.columns.size(); ++c) {
        if (!t.isText(int(c)))
            t.ints[c].push_back(0);
        else if (c < texts.size())
            t.texts[c].push_back(texts[c]);
        else
            t.texts[c].emplace_back();
    }
    t.alive.push_back(1);
    for (size_t c = 0; c < t.columns.size(); ++c)
        t.indexInsert(int(c), row);
    View& v = *m_view;
    v.append(row);
    v.seenLimit = t.rowLimit();
    v.pos = int(v.rows.size()) - 1;
    v.currentDeleted = false;
    return {};
}

void RecordSet::reserve(int rows) {
    RecordTable& t = *m_table;
    const size_t wanted = t.alive.size() + size_t(std::max(rows, 0));
    for (size_t c = 0; c < t.columns.size(); ++c) {
        if (t.isText(int(c)))
            t.texts[c].reserve(wanted);
        else
            t.ints[c].reserve(wanted);
    }
    t.alive.reserve(wanted);
}

QString RecordSet::text(QStringView column) const {
    return text(m_table->resolve(column));
}

qint64 RecordSet::integer(QStringView column) const {
    auto v = value(column);
    return v ? v->toLongLong() : 0;
}

void RecordSet::moveFirst() {
    refresh();
    m_view->pos = 0;
    m_view->currentDeleted = false;
}

void RecordSet::moveLast() {
    refresh();
    m_view->pos = m_view->rows.empty() ? 0 : int(m_view->rows.size()) - 1;
    m_view->currentDeleted = false;
}

void RecordSet::moveNext() {
    refresh();
    View& v = *m_view;
    if (v.currentDeleted) {
        // The row after a deleted one already sits at the deleted row's place.
        v.currentDeleted = false;
        return;
    }
    if (v.pos < int(v.rows.size()))
        ++v.pos;
}

void RecordSet::movePrevious() {
    refresh();
    View& v = *m_view;
    v.currentDeleted = false;
    if (v.pos >= 0)
        --v.pos;
}

bool RecordSet::isEOF() const {
    refresh();
    return m_view->rows.empty() || m_view->pos >= int(m_view->rows.size());
}

bool RecordSet::isBOF() const {
    refresh();
    return m_view->rows.empty() || m_view->pos < 0;
}

int RecordSet::recordCount() const {
    if (!isOpen())
        return 0;
    refresh();
    return int(m_view->rows.size());
}

int RecordSet::absolutePosition() const {
    refresh();
    const View& v = *m_view;
    return (v.pos < 0 || v.pos >= int(v.rows.size())) ? -1 : v.pos;
}

void RecordSet::setAbsolutePosition(int position) {
    refresh();
    View& v = *m_view;
    v.currentDeleted = false;
    v.pos = std::clamp(position, -1, int(v.rows.size()));
}

qint64 RecordSet::currentRowId() const {
    return currentRow();
}

bool RecordSet::moveToRowId(qint64 rowId) {
    refresh();
    if (rowId < 0 || rowId >= m_table->rowLimit())
        return false;
    const int at = locate(int(rowId));
    if (at < 0)
        return false;
    m_view->pos = at;
    m_view->currentDeleted = false;
    return true;
}

qint64 RecordSet::rowIdAt(int position) const {
    if (!isOpen())
        return -1;
    refresh();
    const View& v = *m_view;
    return (position >= 0 && position < int(v.rows.size())) ? v.rows[size_t(position)] : -1;
}

int RecordSet::positionOfRowId(qint64 rowId) const {
    if (!isOpen())
        return -1;
    refresh();
    if (rowId < 0 || rowId >= m_table->rowLimit())
        return -1;
    return locate(int(rowId));
}

QVariant RecordSet::valueAt(int position, int column) const {
    const qint64 row = rowIdAt(position);
    if (row < 0 || column < 0 || column >= columnCount())
        return {};
    const RecordTable& t = *m_table;
    if (t.isText(column))
        return QVariant(t.texts[size_t(column)][size_t(row)]);
    return QVariant(t.ints[size_t(column)][size_t(row)]);
}

QString RecordSet::textAt(int position, int column) const {
    const qint64 row = rowIdAt(position);
    if (row < 0 || column < 0 || column >= columnCount())
        return {};
    const RecordTable& t = *m_table;
    return t.isText(column) ? t.texts[size_t(column)][size_t(row)]
                            : QString::number(t.ints[size_t(column)][size_t(row)]);
}

QString RecordSet::textOfRowId(qint64 rowId, int column) const {
    const RecordTable& t = *m_table;
    if (rowId < 0 || rowId >= t.rowLimit() || !t.alive[size_t(rowId)] || column < 0 ||
        column >= columnCount())
        return {};
    return t.isText(column) ? t.texts[size_t(column)][size_t(rowId)]
                            : QString::number(t.ints[size_t(column)][size_t(rowId)]);
}

Status createTable(RecordSet& table, const std::vector<ColumnDef>& columns) {
    table = RecordSet();
    for (const ColumnDef& column : columns)
        VELMORA_TRY(table.appendColumn(column.name, column.type, column.size));
    return table.open();
}

} // namespace velmora
