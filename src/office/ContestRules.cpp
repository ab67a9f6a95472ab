#include "office/ContestRules.h"

#include "catalog/CatalogColumns.h"
#include "catalog/CatalogTables.h"

namespace velmora {
namespace {

QSet<QString> columnValues(const RecordSet& table, QStringView column) {
    QSet<QString> values;
    std::unique_ptr<RecordSet> rows = table.clone();
    for (rows->moveFirst(); !rows->isEOF(); rows->moveNext())
        values.insert(rows->text(column).trimmed());
    return values;
}

void addPositions(const QString& body, const RecordSet* positions, QSet<QString>& into) {
    if (!positions)
        return;
    for (const QString& code : columnValues(*positions, col::Positions::CodConvocatoria))
        into.insert(body + QLatin1Char('\n') + code);
}

} // namespace

CatalogContestRules::CatalogContestRules(const CatalogTables& tables)
    : m_bodies(columnValues(tables.bodies, col::Bodies::CodCuerpo)),
      m_groups(columnValues(tables.groups, col::Groups::Grupo)) {
    // The editor offers a body the candidates of its offered-only entry.
    for (const BodyPositions& entry : tables.bodyPositions) {
        if (!entry.offeredOnly || entry.isEmpty())
            continue;
        addPositions(entry.bodyCode, entry.vacancy.get(), m_vacancies);
        addPositions(entry.bodyCode, entry.resultas.get(), m_resultas);
    }
}

bool CatalogContestRules::knowsBody(const QString& bodyCode) const {
    return m_bodies.contains(bodyCode.trimmed());
}

bool CatalogContestRules::knowsGroup(const QString& group) const {
    return m_groups.contains(group.trimmed());
}

bool CatalogContestRules::offersVacancy(const QString& bodyCode, const QString& positionCode) const {
    return m_vacancies.contains(bodyCode.trimmed() + QLatin1Char('\n') + positionCode.trimmed());
}

bool CatalogContestRules::offersResultas(const QString& bodyCode, const QString& positionCode) const {
    return m_resultas.contains(bodyCode.trimmed() + QLatin1Char('\n') + positionCode.trimmed());
}

} // namespace velmora
