#include "platform/data/RecordSet.h"

#include "platform/data/Criteria.h"
#include "platform/data/SpanishCollation.h"

#include <QHash>

#include <algorithm>
#include <optional>
#include <utility>

namespace velmora {

// The rows shared by every cursor: column-major storage with tombstones, so row ids
// stay stable for the life of the table and cursors can hold plain integer ids.
class RecordTable {
public:
    struct Index {
        QHash<QString, std::vector<int>> ids; // key -> ascending live row ids
    };

    std::vector<ColumnDef> columns;
    std::vector<std::vector<QString>> texts;
    std::vector<std::vector<qint64>> ints;
    std::vector<char> alive;
    quint64 deleteVersion = 0;
    int lastDeleted = -1; // lets a view one deletion behind drop that row without a walk
    bool opened = false;
    std::vector<std::unique_ptr<Index>> indexes;
    // The cursors that have listeners. Writes test only whether it is empty, so loading a
    // table nobody watches costs nothing more.
    std::vector<RecordSet*> listened;

    bool isListened(const RecordSet* cursor) const {
        return std::find(listened.begin(), listened.end(), cursor) != listened.end();
    }

    int rowLimit() const { return int(alive.size()); }

    int resolve(QStringView name) const {
        const QStringView trimmed = name.trimmed();
        for (size_t i = 0; i < columns.size(); ++i)
            if (trimmed.compare(columns[i].name, Qt::CaseInsensitive) == 0)
                return int(i);
        return -1;
    }

    bool isText(int col) const { return columns[size_t(col)].type == ColumnType::Text; }

    QString keyOf(int col, int row) const {
        return isText(col) ? texts[size_t(col)][size_t(row)].toCaseFolded()
                           : QString::number(ints[size_t(col)][size_t(row)]);
    }

    QString keyOfLiteral(int col, const QString& literal) const {
        return isText(col) ? literal.toCaseFolded() : QString::number(qint64(literal.trimmed().toDouble()));
    }

    Index& index(int col) {
        auto& slot = indexes[size_t(col)];
        if (!slot) {
            slot = std::make_unique<Index>();
            for (int row = 0; row < rowLimit(); ++row)
                if (alive[size_t(row)])
                    slot->ids[keyOf(col, row)].push_back(row);
        }
        return *slot;
    }

    void indexErase(int col, int row) {
        Index* idx = indexes[size_t(col)].get();
        if (!idx)
            return;
        const auto it = idx->ids.find(keyOf(col, row));
        if (it == idx->ids.end())
            return;
        auto& ids = it.value();
        // Rows are usually edited right after they are added: look from the back.
        for (auto r = ids.rbegin(); r != ids.rend(); ++r) {
            if (*r == row) {
                ids.erase(std::next(r).base());
                break;
            }
        }
        if (ids.empty())
            idx->ids.erase(it);
    }

    void indexInsert(int col, int row) {
        Index* idx = indexes[size_t(col)].get();
        if (!idx)
            return;
        auto& ids = idx->ids[keyOf(col, row)];
        ids.insert(std::upper_bound(ids.begin(), ids.end(), row), row);
    }

    int addRow() {
        const int row = rowLimit();
        for (size_t c = 0; c < columns.size(); ++c) {
            if (isText(int(c)))
                texts[c].emplace_back();
            else
                ints[c].push_back(0);
        }
        alive.push_back(1);
        for (size_t c = 0; c < columns.size(); ++c)
            indexInsert(int(c), row);
        return row;
    }

    void deleteRow(int row) {
        for (size_t c = 0; c < columns.size(); ++c)
            indexErase(int(c), row);
        alive[size_t(row)] = 0;
        lastDeleted = row;
        ++deleteVersion;
    }

    bool compare(const Criteria& c, int row) const {
        int order;
        if (isText(c.column)) {
            order = QString::compare(texts[size_t(c.column)][size_t(row)], c.literal, Qt::CaseInsensitive);
        } else {
            const qint64 value = ints[size_t(c.column)][size_t(row)];
            const double literal = c.literal.trimmed().toDouble();
            order = value < literal ? -1 : (value > literal ? 1 : 0);
        }
        switch (c.op) {
        case Criteria::Op::Equal:
            return order == 0;
        case Criteria::Op::NotEqual:
            return order != 0;
        case Criteria::Op::Less:
            return order < 0;
        case Criteria::Op::LessEqual:
            return order <= 0;
        case Criteria::Op::Greater:
            return order > 0;
        case Criteria::Op::GreaterEqual:
            return order >= 0;
        }
        return false;
    }

    bool matches(const Criteria& c, int row) const {
        switch (c.kind) {
        case Criteria::Kind::Compare:
            return compare(c, row);
        case Criteria::Kind::And:
            return std::all_of(c.children.begin(), c.children.end(),
                               [&](const Criteria& child) { return matches(child, row); });
        case Criteria::Kind::Or:
            return std::any_of(c.children.begin(), c.children.end(),
                               [&](const Criteria& child) { return matches(child, row); });
        }
        return false;
    }

    // Ascending row ids that may match, when an index can tell; nullopt means a scan.
    std::optional<std::vector<int>> candidates(const Criteria& c) {
        switch (c.kind) {
        case Criteria::Kind::Compare: {
            if (c.op != Criteria::Op::Equal)
                return std::nullopt;
            const Index& idx = index(c.column);
            const auto it = idx.ids.constFind(keyOfLiteral(c.column, c.literal));
            return it == idx.ids.constEnd() ? std::vector<int>{} : it.value();
        }
        case Criteria::Kind::And: {
            std::optional<std::vector<int>> best;
            for (const Criteria& child : c.children) {
                auto ids = candidates(child);
                if (ids && (!best || ids->size() < best->size()))
                    best = std::move(ids);
            }
            return best;
        }
        case Criteria::Kind::Or: {
            std::vector<int> all;
            for (const Criteria& child : c.children) {
                auto ids = candidates(child);
                if (!ids)
                    return std::nullopt;
                all.insert(all.end(), ids->begin(), ids->end());
            }
            std::sort(all.begin(), all.end());
            all.erase(std::unique(all.begin(), all.end()), all.end());
            return all;
        }
        }
        return std::nullopt;
    }

    Result<Criteria> parse(const QString& text) const {
        auto parsed = parseCriteria(text, [this](QStringView name) { return resolve(name); });
        if (!parsed)
            return parsed;
        // Numbers compared with an integer column must be numbers.
        const Status checked = checkLiterals(*parsed, text);
        if (!checked)
            return checked.error();
        return parsed;
    }

    Status checkLiterals(const Criteria& c, const QString& text) const {
        if (c.kind != Criteria::Kind::Compare) {
            for (const Criteria& child : c.children)
                VELMORA_TRY(checkLiterals(child, text));
            return {};
        }
        if (!isText(c.column)) {
            bool ok = false;
            c.literal.trimmed().toDouble(&ok);
            if (!ok)
                return Error::make(
                    ErrorCode::TypeMismatch,
                    QStringLiteral("Criterio de filtro no válido (se esperaba un número): %1").arg(text));
        }
        return {};
    }
};

struct RecordSet::View {
    bool closed = false;
    std::optional<Criteria> filter;
    QString filterText;
    int sortColumn = -1;
    bool sortDescending = false;
    QString sortText;
    std::vector<int> rows; // row ids in view order
    int pos = 0;           // rows.size() means EOF, -1 means BOF
    bool currentDeleted = false;
    int seenLimit = 0;
    quint64 seenDeletes = 0;
    int builtLimit = 0; // rows judged by the last rebuild; later ones join as they are added
    // Sorted views only (unsorted ones hold ascending row ids and are searched): the
    // position of each row id, -1 when out of the view; kept while positionValid.
    std::vector<int> positionOf;
    bool positionValid = false;
    std::vector<RecordSetListener*> listeners;

    void append(int row) {
        rows.push_back(row);
        if (positionValid) {
            if (positionOf.size() <= size_t(row))
                positionOf.resize(size_t(row) + 1, -1);
            positionOf[size_t(row)] = int(rows.size()) - 1;
        }
    }
};

namespace {

void sortRows(const RecordTable& table, int column, bool descending, std::vector<int>& rows) {
    if (column < 0) {
        std::sort(rows.begin(), rows.end());
        return;
    }
    if (!table.isText(column)) {
        const auto& values = table.ints[size_t(column)];
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
            return descending ? values[size_t(a)] > values[size_t(b)] : values[size_t(a)] < values[size_t(b)];
        });
        return;
    }
    const auto& values = table.texts[size_t(column)];
    struct Keyed {
        QString key;
        int row;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(rows.size());
    for (int row : rows)
        keyed.push_back({spanishSortKey(values[size_t(row)]), row});
    std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        int order = a.key.compare(b.key);
        if (order == 0)
            order = values[size_t(a.row)].compare(values[size_t(b.row)]);
        return descending ? order > 0 : order < 0;
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        rows[i] = keyed[i].row;
}

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

bool RecordSet::sharesRowsWith(const RecordSet& other) const {
    return m_table == other.m_table;
}

void RecordSet::rebuildView() {
    View& v = *m_view;
    RecordTable& t = *m_table;
    v.rows.clear();
    std::optional<std::vector<int>> candidates;
    if (v.filter)
        candidates = t.candidates(*v.filter);
    if (candidates) {
        for (int row : *candidates)
            if (t.matches(*v.filter, row))
                v.rows.push_back(row);
    } else {
        v.rows.reserve(size_t(t.rowLimit()));
        for (int row = 0; row < t.rowLimit(); ++row)
            if (t.alive[size_t(row)] && (!v.filter || t.matches(*v.filter, row)))
                v.rows.push_back(row);
    }
    sortRows(t, v.sortColumn, v.sortDescending, v.rows);
    v.pos = 0;
    v.currentDeleted = false;
    v.seenLimit = t.rowLimit();
    v.builtLimit = t.rowLimit();
    v.seenDeletes = t.deleteVersion;
    v.positionValid = false;
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

Status RecordSet::setFilter(const QString& criteria) {
    if (!isOpen())
        return closedError();
    if (criteria.trimmed().isEmpty()) {
        m_view->filter.reset();
        m_view->filterText.clear();
        rebuildView();
        announceReset();
        return {};
    }
    auto parsed = m_table->parse(criteria);
    if (!parsed)
        return parsed.error();
    m_view->filter = std::move(parsed).value();
    m_view->filterText = criteria;
    rebuildView();
    announceReset();
    return {};
}

QString RecordSet::filter() const {
    return m_view->filterText;
}

Status RecordSet::setSort(const QString& sortText) {
    if (!isOpen())
        return closedError();
    const QStringList parts = sortText.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    int column = -1;
    bool descending = false;
    if (!parts.isEmpty()) {
        column = m_table->resolve(parts.first());
        const bool directionOk =
            parts.size() == 1 ||
            (parts.size() == 2 && (parts[1].compare(QLatin1String("ASC"), Qt::CaseInsensitive) == 0 ||
                                   parts[1].compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0));
        if (column < 0 || !directionOk)
            return Error::make(ErrorCode::BadCriteria, QStringLiteral("Orden no válido: «%1»").arg(sortText));
        descending = parts.size() == 2 && parts[1].compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0;
    }
    m_view->sortColumn = column;
    m_view->sortDescending = descending;
    m_view->sortText = sortText;
    rebuildView();
    announceReset();
    return {};
}

QString RecordSet::sort() const {
    return m_view->sortText;
}

Status RecordSet::find(const QString& criteria) {
    if (!isOpen())
        return closedError();
    auto parsed = m_table->parse(criteria);
    if (!parsed)
        return parsed.error();
    refresh();
    View& v = *m_view;
    RecordTable& t = *m_table;
    const int start = std::max(v.pos, 0);
    v.currentDeleted = false;
    const int count = int(v.rows.size());
    if (start >= count) {
        v.pos = count;
        return {};
    }
    const auto candidates = t.candidates(*parsed);
    if (!candidates) {
        for (int p = start; p < count; ++p) {
            if (t.matches(*parsed, v.rows[size_t(p)])) {
                v.pos = p;
                return {};
            }
        }
        v.pos = count;
        return {};
    }
    int best = count;
    if (v.sortColumn < 0) {
        // Unsorted views keep ascending row ids: a binary search places each candidate.
        const int fromRow = v.rows[size_t(start)];
        for (auto it = std::lower_bound(candidates->begin(), candidates->end(), fromRow);
             it != candidates->end(); ++it) {
            const auto at = std::lower_bound(v.rows.begin() + start, v.rows.end(), *it);
            if (at != v.rows.end() && *at == *it && t.matches(*parsed, *it)) {
                best = int(at - v.rows.begin());
                break;
            }
        }
    } else {
        for (int row : *candidates) {
            const int at = locate(row);
            if (at >= start && at < best && t.matches(*parsed, row))
                best = at;
        }
    }
    v.pos = best;
    return {};
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

void RecordSet::addListener(RecordSetListener* listener) {
    auto& listeners = m_view->listeners;
    if (!listener || std::find(listeners.begin(), listeners.end(), listener) != listeners.end())
        return;
    listeners.push_back(listener);
    startListening();
}

void RecordSet::removeListener(RecordSetListener* listener) {
    auto& listeners = m_view->listeners;
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
    if (listeners.empty())
        stopListening();
}

void RecordSet::startListening() {
    if (!m_table->isListened(this))
        m_table->listened.push_back(this);
    refresh(); // watched cursors stay caught up, so each event finds its row at once
}

void RecordSet::stopListening() {
    auto& listened = m_table->listened;
    listened.erase(std::remove(listened.begin(), listened.end(), this), listened.end());
}

// Listeners may add or remove listeners while they are told: work on a copy and skip
// those that left meanwhile.
void RecordSet::tellListeners(const std::function<void(RecordSetListener&)>& tell) {
    const std::vector<RecordSetListener*> listeners = m_view->listeners;
    for (RecordSetListener* listener : listeners) {
        const auto& now = m_view->listeners;
        if (std::find(now.begin(), now.end(), listener) != now.end())
            tell(*listener);
    }
}

void RecordSet::announceReset() {
    if (!m_view->listeners.empty())
        tellListeners([](RecordSetListener& l) { l.viewReset(); });
}

void RecordSet::announceRowAdded(int row) {
    const std::shared_ptr<RecordTable> table = m_table;
    for (RecordSet* cursor : std::vector<RecordSet*>(table->listened)) {
        if (!table->isListened(cursor) || !cursor->isOpen())
            continue;
        cursor->refresh(); // joins the row where the cursor's filter takes it
        const std::vector<int>& rows = cursor->m_view->rows;
        if (!rows.empty() && rows.back() == row)
            cursor->tellListeners([row](RecordSetListener& l) { l.rowAdded(row); });
    }
}

void RecordSet::announceWrite(int row, int column) {
    const std::shared_ptr<RecordTable> table = m_table;
    for (RecordSet* cursor : std::vector<RecordSet*>(table->listened)) {
        if (!table->isListened(cursor) || !cursor->isOpen())
            continue;
        cursor->refresh();
        if (cursor->locate(row) >= 0)
            cursor->tellListeners([row, column](RecordSetListener& l) { l.rowChanged(row, column); });
        else if (cursor->joinNewestRow(row))
            cursor->tellListeners([row](RecordSetListener& l) { l.rowAdded(row); });
    }
}

// A row added through another cursor is judged against this cursor's filter while it is
// still empty; its values come just after. While it is the table's newest row it is
// judged again at each write, so a watched view does not miss a row it would show.
bool RecordSet::joinNewestRow(int row) {
    View& v = *m_view;
    const RecordTable& t = *m_table;
    if (!v.filter || row != t.rowLimit() - 1 || row < v.builtLimit || !t.alive[size_t(row)] ||
        !t.matches(*v.filter, row))
        return false;
    v.append(row);
    return true;
}

Status createTable(RecordSet& table, const std::vector<ColumnDef>& columns) {
    table = RecordSet();
    for (const ColumnDef& column : columns)
        VELMORA_TRY(table.appendColumn(column.name, column.type, column.size));
    return table.open();
}

} // namespace velmora
