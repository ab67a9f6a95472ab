#pragma once

// The storage behind RecordSet, shared by the files that implement it; nothing else
// includes this header.

#include "platform/data/Criteria.h"
#include "platform/data/RecordSet.h"

#include <QHash>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

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
    int lastDeleted = -1;    // lets a view one deletion behind drop that row without a walk
    quint64 changeCount = 0; // rows added, written or deleted: tells a view whether it is as built
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
        ++changeCount; // every write, addition and deletion passes through here or indexInsert
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
        ++changeCount;
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

    // Criteria evaluation (Criteria.cpp, beside the parser).
    bool compare(const Criteria& c, int row) const;
    bool matches(const Criteria& c, int row) const;
    std::optional<std::vector<int>> candidates(const Criteria& c);
    Result<Criteria> parse(const QString& text) const;
    Status checkLiterals(const Criteria& c, const QString& text) const;
};

// What one cursor sees of the table: its filter, sort order, rows and position.
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
    int builtLimit = 0;       // rows judged by the last rebuild; later ones join as they are added
    quint64 builtChanges = 0; // the table's changeCount at the last rebuild
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

// Orders row ids by a column (natural order when `column` is negative).
void sortRows(const RecordTable& table, int column, bool descending, std::vector<int>& rows);

} // namespace velmora
