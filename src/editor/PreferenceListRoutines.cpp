#include "editor/PreferenceListRoutines.h"

#include "applications/ApplicationColumns.h"
#include "catalog/CatalogColumns.h"
#include "editor/EditPanel.h"
#include "platform/data/RecordSet.h"

#include <QSet>

#include <algorithm>

namespace velmora {
namespace {

Result<int> columnOf(const RecordSet& set, QStringView name) {
    const int index = set.columnIndex(name);
    if (index < 0)
        return Error::make(ErrorCode::ItemNotFound,
                           QStringLiteral("No se encontró el elemento «%1» en la colección.").arg(name));
    return index;
}

// Adds `delta` to an integer column of every row the cursor shows. The cursor's view was
// chosen when its filter was set, so the changed values do not drop rows out of it.
Status addToEveryRow(RecordSet& cursor, int column, qint64 delta) {
    const int rows = cursor.recordCount();
    for (int position = 0; position < rows; ++position) {
        cursor.setAbsolutePosition(position);
        VELMORA_TRY(cursor.setValue(column, cursor.valueAt(position, column).toLongLong() + delta));
    }
    return {};
}

Status shiftWhere(RecordSet& list, ColumnName column, const Filter& criteria, qint64 delta) {
    auto cursor = list.clone();
    const auto index = columnOf(*cursor, column);
    if (!index)
        return index.error();
    VELMORA_TRY(cursor->setFilter(criteria));
    return addToEveryRow(*cursor, *index, delta);
}

QString firstMatch(const RecordSet& table, ColumnName keyColumn, const QString& code, ColumnName nameColumn) {
    if (code.isEmpty() || !table.isOpen())
        return QString();
    auto cursor = table.clone();
    const int name = cursor->columnIndex(nameColumn);
    if (name < 0 || !cursor->setFilter(Filter::equals(keyColumn, code)))
        return QString();
    return cursor->recordCount() > 0 ? cursor->textAt(0, name) : QString();
}

} // namespace

std::optional<int> orderOfText(const QString& text) {
    const std::optional<qint64> value = wholeNumberOf(text);
    if (!value || *value < 1 || *value > kMaxOrder)
        return std::nullopt;
    return int(*value);
}

Result<qint64> SiguienteValor(const RecordSet& table, const QString& name, bool withPrefix) {
    auto copy = table.clone();
    const auto column = columnOf(*copy, withPrefix ? QStringLiteral("Id") + name : name);
    if (!column)
        return column.error();
    const int rows = copy->recordCount();
    if (rows == 0)
        return qint64(0);
    qint64 largest = 0;
    for (int position = 0; position < rows; ++position)
        largest = std::max(largest, copy->valueAt(position, *column).toLongLong());
    return largest + 1;
}

Result<bool> PlazaIncluida(const QString& code, const RecordSet& list) {
    auto copy = list.clone();
    if (copy->recordCount() == 0)
        return false;
    // The equality search is answered by the column's index, not by a walk.
    VELMORA_TRY(copy->find(Filter::equals(col::PreferenceList::CodConvocatoria, code)));
    return !copy->isEOF();
}

Result<int> CalculaOrden(RecordSet& list, const QString& orderText) {
    const auto next = SiguienteValor(list, col::PreferenceList::Orden.toString(), false);
    if (!next)
        return next.error();
    const int atEnd = *next == 0 ? 1 : int(*next);
    const std::optional<int> wanted = orderOfText(orderText);
    if (!wanted || *wanted >= *next)
        return atEnd;
    VELMORA_TRY(DesplazaOrden(list, *wanted, col::PreferenceList::Orden, 1));
    return *wanted;
}

Status DesplazaOrden(RecordSet& list, int from, ColumnName column, int step) {
    return shiftWhere(list, column, Filter::compare(column, Filter::Op::GreaterEqual, from), step);
}

Status ReordenaPlazas(RecordSet& list, ColumnName column, int oldOrder, int newOrder) {
    using Op = Filter::Op;
    if (oldOrder == newOrder)
        return {};
    if (oldOrder > newOrder) // the row moves up: the rows it passes move down one place
        return shiftWhere(list, column,
                          Filter::compare(column, Op::Less, oldOrder)
                              .andAlso(Filter::compare(column, Op::GreaterEqual, newOrder)),
                          1);
    return shiftWhere(list, column,
                      Filter::compare(column, Op::GreaterEqual, oldOrder + 1)
                          .andAlso(Filter::compare(column, Op::LessEqual, newOrder)),
                      -1);
}

Status NumeraOrden(RecordSet& list, ColumnName column) {
    auto cursor = list.clone();
    const auto index = columnOf(*cursor, column);
    if (!index)
        return index.error();
    const QString sort = ascending(column);
    VELMORA_TRY(cursor->setSort(sort));
    const int rows = cursor->recordCount();
    for (int position = 0; position < rows; ++position) {
        // Rows already in place are not written, so views are told only of real changes.
        if (cursor->valueAt(position, *index).toLongLong() == position + 1)
            continue;
        cursor->setAbsolutePosition(position);
        VELMORA_TRY(cursor->setValue(*index, position + 1));
    }
    return list.setSort(sort);
}

QString AreaZoneNames::areaName(const QString& code) const {
    auto found = m_areaNames.constFind(code);
    if (found == m_areaNames.constEnd())
        found = m_areaNames.insert(code, firstMatch(m_areas, col::Areas::CodArea, code, col::Areas::Area));
    return *found;
}

QString AreaZoneNames::zoneName(const QString& code) const {
    auto found = m_zoneNames.constFind(code);
    if (found == m_zoneNames.constEnd())
        found = m_zoneNames.insert(code, firstMatch(m_zones, col::Zones::CodZona, code, col::Zones::Zona));
    return *found;
}

Result<int> InsertaTodasPlazas(const RecordSet& candidates, RecordSet& list, const AreaZoneNames& names,
                               const InsertProgress& progress) {
    auto writer = list.clone();
    const auto nextId = SiguienteValor(*writer, QStringLiteral("Solicitud"), true);
    if (!nextId)
        return nextId.error();
    if (candidates.recordCount() == 0)
        return 0;

    // Candidate columns copied into a new row, and the list columns they go to.
    namespace pos = col::Positions;
    namespace pl = col::PreferenceList;
    static constexpr std::pair<ColumnName, ColumnName> copied[] = {
        {pos::CodConvocatoria, pl::CodConvocatoria},
        {pos::NomConvocatoria, pl::NomConvocatoria},
        {pos::Consejeria, pl::Consejeria},
        {pos::Localidad, pl::Localidad},
        {pos::CodArea, pl::CodArea},
        {pos::CodZona, pl::CodZona}};
    std::vector<std::pair<int, int>> columns; // candidate column -> list column
    for (const auto& [fromName, toName] : copied) {
        const auto from = columnOf(candidates, fromName);
        if (!from)
            return from.error();
        const auto to = columnOf(*writer, toName);
        if (!to)
            return to.error();
        columns.emplace_back(*from, *to);
    }
    const int code = columns[0].first;
    const int listCode = columns[0].second;
    const int areaCode = columns[4].second;
    const int zoneCode = columns[5].second;
    QList<int> listColumns;
    for (const ColumnName name : {pl::IdSolicitud, pl::Orden, pl::Area, pl::Zona}) {
        const auto index = columnOf(*writer, name);
        if (!index)
            return index.error();
        listColumns << *index;
    }

    // Position codes compare as the list's own searches do: without regard to case.
    QSet<QString> listed;
    const int listRows = writer->recordCount();
    listed.reserve(listRows + candidates.recordCount());
    for (int position = 0; position < listRows; ++position)
        listed.insert(writer->textAt(position, listCode).toCaseFolded());

    qint64 id = *nextId;
    int order = listRows + 1;
    int appended = 0;
    const int candidateRows = candidates.recordCount();
    for (int position = 0; position < candidateRows; ++position) {
        const QString key = candidates.textAt(position, code).toCaseFolded();
        if (listed.contains(key))
            continue;
        listed.insert(key);
        VELMORA_TRY(writer->addNew());
        VELMORA_TRY(writer->setValue(listColumns[0], id));
        VELMORA_TRY(writer->setValue(listColumns[1], order));
        for (const auto& [from, to] : columns)
            VELMORA_TRY(writer->setText(to, candidates.textAt(position, from)));
        const QString area = writer->text(areaCode);
        if (!area.isEmpty())
            VELMORA_TRY(writer->setText(listColumns[2], names.areaName(area)));
        const QString zone = writer->text(zoneCode);
        if (!zone.isEmpty())
            VELMORA_TRY(writer->setText(listColumns[3], names.zoneName(zone)));
        ++id;
        ++order;
        ++appended;
        if (order % 300 == 0 && progress)
            progress(appended);
    }
    return appended;
}

} // namespace velmora
