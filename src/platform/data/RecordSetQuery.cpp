#include "platform/data/RecordSet.h"

#include "platform/data/RecordTable.h"
#include "platform/data/SpanishCollation.h"

namespace velmora {

void sortRows(const RecordTable& table, int column, bool descending, std::vector<int>& rows) {
    if (column < 0) {
        if (!std::is_sorted(rows.begin(), rows.end())) // a view is built in row order already
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
    v.builtChanges = t.changeCount;
    v.seenDeletes = t.deleteVersion;
    v.positionValid = false;
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

} // namespace velmora
