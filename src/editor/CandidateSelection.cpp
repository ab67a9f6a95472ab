#include "editor/CandidateSelection.h"

#include "catalog/CandidatePositionsTable.h"
#include "catalog/CatalogColumns.h"
#include "editor/ApplicationModel.h"
#include "editor/CandidateTables.h"

namespace velmora {
namespace {

// A new candidates table with the rows of `source` (all of them, whatever its cursor
// shows), columns matched by name. The lookup entry stays untouched: the editor filters
// its own copy.
Result<RecordSet> copyOf(const RecordSet& source, const QString& sortText) {
    RecordSet target;
    VELMORA_TRY(createCandidatePositions(target));
    const std::unique_ptr<RecordSet> rows = source.clone();
    std::vector<std::pair<int, int>> columns; // (target, source)
    for (int column = 0; column < target.columnCount(); ++column)
        if (const int from = rows->columnIndex(target.column(column).name); from >= 0)
            columns.emplace_back(column, from);
    const int count = rows->recordCount();
    target.reserve(count);
    for (int position = 0; position < count; ++position) {
        VELMORA_TRY(target.addNew());
        for (const auto& [to, from] : columns)
            VELMORA_TRY(target.setText(to, rows->textAt(position, from)));
    }
    if (!sortText.isEmpty())
        VELMORA_TRY(target.setSort(sortText));
    target.moveFirst();
    return target;
}

} // namespace

CandidateSelection::CandidateSelection(const std::vector<BodyPositions>& bodyPositions,
                                       CandidateTables& tables)
    : m_bodyPositions(bodyPositions), m_tables(tables) {}

Result<std::optional<QString>> CandidateSelection::SeleccionaPlazasRS(const ApplicationModel& model) {
    if (!model.isListItem(ctl::cboCuerpo) || model.text(ctl::cboCuerpo).isEmpty())
        return std::optional<QString>();
    Result<QString> caption = selectBody(model.value(ctl::cboCuerpo));
    if (!caption)
        return caption.error();
    return std::optional<QString>(std::move(caption).value());
}

Result<QString> CandidateSelection::selectBody(const QString& bodyCode) {
    const auto fail = [] {
        return Error::told(
            ErrorCode::ItemNotFound,
            QStringLiteral("Error en la carga de datos. Debe cerrar el programa y volver a "
                           "arrancarlo. Guarde la información si desea conservar los cambios."),
            QStringLiteral("Cuerpo no válido"), MessageIcon::Exclamation);
    };
    const BodyPositions* entry = findBodyPositions(m_bodyPositions, bodyCode, true);
    if (!entry || !entry->vacancy || !entry->resultas)
        return fail();
    // Both copies are made before either table changes, so a failure leaves the tables
    // (and the views bound to them) as they were.
    Result<RecordSet> vacancies = copyOf(*entry->vacancy, col::Positions::CodConvocatoria.toString());
    Result<RecordSet> resultas = copyOf(*entry->resultas, QString());
    if (!vacancies.ok() || !resultas.ok())
        return fail();
    m_tables.vacancies = std::move(vacancies).value();
    m_tables.resultas = std::move(resultas).value();
    return positionsCaption(m_tables.vacancies.recordCount());
}

void CandidateSelection::release() {
    m_tables.release();
}

QString CandidateSelection::positionsCaption(int rows) {
    return QStringLiteral("Códigos Localizados: ") + QString::number(rows);
}

} // namespace velmora
