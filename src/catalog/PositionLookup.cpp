#include "catalog/PositionLookup.h"

#include "catalog/CandidatePositionsTable.h"
#include "catalog/CatalogColumns.h"
#include "catalog/CatalogLoader.h"
#include "catalog/CatalogTables.h"
#include "platform/CannotFail.h"
#include "platform/Progress.h"

#include <QHash>

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace velmora {
namespace {

constexpr int kCandidateColumns = 10; // CodConvocatoria .. Area, in the candidates' order
const ColumnName kCandidateNames[kCandidateColumns] = {
    col::Positions::CodConvocatoria, col::Positions::NomConvocatoria,
    col::Positions::Consejeria,      col::Positions::Localidad,
    col::Positions::CodConsejeria,   col::Positions::CodLocalidad,
    col::Positions::CodProvincia,    col::Positions::CodArea,
    col::Positions::CodZona,         col::Positions::Area};

// Where each position code first stands in a source table, in the table's own order, which
// is where a find from the first row stops. It points into the table rather than copying it.
class SourceIndex {
public:
    explicit SourceIndex(const RecordSet& source) : m_source(source) {
        for (int c = 0; c < kCandidateColumns; ++c)
            m_columns[c] = m_source.columnIndex(kCandidateNames[c]);
        m_firstRow = firstRowOfEachCode(m_source, m_columns[0]);
    }

    // The row of `code`, or -1.
    int find(const QString& code) const { return m_firstRow.value(code.toCaseFolded(), -1); }
    QString text(int row, int candidateColumn) const {
        const int column = m_columns[candidateColumn];
        return column >= 0 ? m_source.textAt(row, column) : QString();
    }

private:
    const RecordSet& m_source;
    int m_columns[kCandidateColumns];
    QHash<QString, int> m_firstRow;
};

// The codes of a link table grouped by owner (body or group), each list in table order,
// as filtering the table on the owner would show them.
QHash<QString, QStringList> linksByOwner(const RecordSet& links, ColumnName ownerColumn,
                                         ColumnName codeColumn) {
    QHash<QString, QStringList> byOwner;
    const int owner = links.columnIndex(ownerColumn);
    const int code = links.columnIndex(codeColumn);
    const int rows = links.recordCount();
    for (int row = 0; row < rows; ++row)
        byOwner[links.textAt(row, owner).toCaseFolded()].append(links.textAt(row, code));
    return byOwner;
}

// The tables are left unfiltered, at the place a walk over all their rows leaves them, as
// they were when the candidates were made here at once.
void leaveWalked(RecordSet& table, bool atEnd) {
    table.clearFilter();
    if (atEnd) {
        table.moveLast();
        table.moveNext();
    }
}

enum class CodeFrom { Link, Source };

void copyPositions(const QStringList& codes, const SourceIndex& source, RecordSet& target, CodeFrom codeFrom,
                   bool copyArea) {
    cannotFail(createCandidatePositions(target));      // columns declared in code, fresh table
    std::vector<std::pair<const QString*, int>> found; // the link's code and its source row
    found.reserve(size_t(codes.size()));
    for (const QString& code : codes)
        if (const int row = source.find(code); row >= 0)
            found.emplace_back(&code, row);
    // Exactly the rows kept: candidate tables must not each carry spare room.
    target.reserve(int(found.size()));
    const int last = copyArea ? kCandidateColumns : kCandidateColumns - 1;
    for (const auto& [code, row] : found) {
        cannotFail(target.addNew()); // an open table of text columns takes any row and text
        cannotFail(target.setText(0, codeFrom == CodeFrom::Link ? *code : source.text(row, 0)));
        for (int c = 1; c < last; ++c)
            cannotFail(target.setText(c, source.text(row, c)));
    }
}

enum class Source { OfferedResultas, DetailResultas, OfferedVacancies, DetailVacancies };

// What the candidates are made from, shared by every entry of a load: cursors of their own
// over the loaded tables, and the indexes over them, each made when first needed.
class CandidateSources {
public:
    // Each with the sort its table had; the unfiltered view of each is what the lookups read.
    explicit CandidateSources(const PositionSources& s)
        : m_positionBody(cloneKeepingOrder(s.positionBody)),
          m_positionGroup(cloneKeepingOrder(s.positionGroup)), m_tables{
                                                                   cloneKeepingOrder(s.resultasPositions),
                                                                   cloneKeepingOrder(s.resultasDetails),
                                                                   cloneKeepingOrder(s.vacantPositions),
                                                                   cloneKeepingOrder(s.vacancyDetails)} {}

    const SourceIndex& index(Source source) {
        auto& slot = m_indexes[size_t(source)];
        if (!slot)
            slot = std::make_unique<SourceIndex>(*m_tables[size_t(source)]);
        return *slot;
    }
    QStringList bodyLinks(const QString& foldedBody) {
        if (!m_bodyLinks)
            m_bodyLinks =
                linksByOwner(*m_positionBody, col::PositionBody::CodCuerpo, col::PositionBody::CodPlaza);
        return m_bodyLinks->value(foldedBody);
    }
    QStringList groupLinks(const QString& foldedGroup) {
        if (!m_groupLinks)
            m_groupLinks =
                linksByOwner(*m_positionGroup, col::PositionGroup::CodGrupo, col::PositionGroup::CodPlaza);
        return m_groupLinks->value(foldedGroup);
    }

private:
    std::unique_ptr<RecordSet> m_positionBody;
    std::unique_ptr<RecordSet> m_positionGroup;
    std::array<std::unique_ptr<RecordSet>, 4> m_tables;
    std::array<std::unique_ptr<SourceIndex>, 4> m_indexes;
    std::optional<QHash<QString, QStringList>> m_bodyLinks;
    std::optional<QHash<QString, QStringList>> m_groupLinks;
};

CandidatesTable bodyCandidates(const std::shared_ptr<CandidateSources>& sources, const QString& foldedBody,
                               Source from) {
    return CandidatesTable([sources, foldedBody, from](RecordSet& table) {
        copyPositions(sources->bodyLinks(foldedBody), sources->index(from), table, CodeFrom::Link, true);
    });
}

CandidatesTable groupCandidates(const std::shared_ptr<CandidateSources>& sources, const QString& foldedGroup,
                                Source from) {
    return CandidatesTable([sources, foldedGroup, from](RecordSet& table) {
        copyPositions(sources->groupLinks(foldedGroup), sources->index(from), table, CodeFrom::Source, false);
    });
}

} // namespace

CandidatesTable::CandidatesTable(std::unique_ptr<RecordSet> ready) {
    if (ready)
        m_state = std::make_shared<State>(State{{}, std::move(ready)});
}

CandidatesTable::CandidatesTable(Builder builder)
    : m_state(std::make_shared<State>(State{std::move(builder), nullptr})) {}

RecordSet* CandidatesTable::get() const {
    if (!m_state)
        return nullptr;
    if (!m_state->table) {
        auto table = std::make_unique<RecordSet>();
        m_state->builder(*table);
        m_state->table = std::move(table);
        m_state->builder = nullptr; // what it held (the shared sources) is no longer needed
    }
    return m_state->table.get();
}

Status positionsByBody(const PositionSources& sources, std::vector<BodyPositions>& entries,
                       Progress& progress, int step) {
    sources.bodies.moveFirst();
    entries.clear();
    entries.resize(size_t(2 * sources.bodies.recordCount()));
    const auto shared = std::make_shared<CandidateSources>(sources);
    leaveWalked(sources.positionBody, true);
    for (RecordSet* table : {&sources.resultasPositions, &sources.resultasDetails, &sources.vacantPositions,
                             &sources.vacancyDetails})
        leaveWalked(*table, false);

    // The first entry pair made for each (case-folded) body code; links are grouped by that
    // code, so a repeated body has exactly the same candidates.
    QHash<QString, size_t> firstPair;
    size_t next = 0;
    for (; !sources.bodies.isEOF(); sources.bodies.moveNext()) {
        if (sources.bodies.text(col::Bodies::Grupo) == QLatin1String("X"))
            continue;
        const QString body = sources.bodies.text(col::Bodies::CodCuerpo);
        const QString folded = body.toCaseFolded();
        const auto seen = firstPair.constFind(folded);
        if (seen == firstPair.constEnd())
            firstPair.insert(folded, next);
        for (const bool offeredOnly : {true, false}) {
            BodyPositions& entry = entries[next++];
            progress.advance(float(step));
            progress.advance(float(step));
            entry.bodyCode = body;
            entry.offeredOnly = offeredOnly;
            if (seen != firstPair.constEnd()) {
                const BodyPositions& first = entries[*seen + (offeredOnly ? 0 : 1)];
                entry.resultas = first.resultas;
                entry.vacancy = first.vacancy;
                continue;
            }
            entry.resultas = bodyCandidates(shared, folded,
                                            offeredOnly ? Source::OfferedResultas : Source::DetailResultas);
            entry.vacancy = bodyCandidates(shared, folded,
                                           offeredOnly ? Source::OfferedVacancies : Source::DetailVacancies);
        }
    }
    return {};
}

Status positionsByGroup(const PositionSources& sources, std::vector<GroupPositions>& entries,
                        Progress& progress, int step) {
    sources.groups.moveFirst();
    entries.clear();
    entries.resize(size_t(sources.groups.recordCount()));
    const auto shared = std::make_shared<CandidateSources>(sources);
    leaveWalked(sources.positionGroup, true);
    for (RecordSet* table : {&sources.resultasPositions, &sources.vacantPositions})
        leaveWalked(*table, false);

    for (size_t k = 0; !sources.groups.isEOF() && k < entries.size(); sources.groups.moveNext(), ++k) {
        progress.advance(float(step));
        GroupPositions& entry = entries[k];
        entry.group = sources.groups.text(col::Groups::Grupo);
        const QString folded = entry.group.toCaseFolded();
        entry.resultas = groupCandidates(shared, folded, Source::OfferedResultas);
        entry.vacancy = groupCandidates(shared, folded, Source::OfferedVacancies);
    }
    return {};
}

const BodyPositions* findBodyPositions(const std::vector<BodyPositions>& entries, const QString& bodyCode,
                                       bool offeredOnly) {
    for (const BodyPositions& entry : entries)
        if (!entry.isEmpty() && entry.bodyCode == bodyCode && entry.offeredOnly == offeredOnly)
            return &entry;
    return nullptr;
}

const GroupPositions* findGroupPositions(const std::vector<GroupPositions>& entries, const QString& group) {
    for (const GroupPositions& entry : entries)
        if (entry.vacancy && entry.group == group)
            return &entry;
    return nullptr;
}

} // namespace velmora
