#include "catalog/PositionLookup.h"

#include "catalog/CandidatePositionsTable.h"
#include "catalog/CatalogLoader.h"
#include "platform/CannotFail.h"
#include "platform/Progress.h"

#include <QHash>

#include <utility>
#include <vector>

namespace velmora {
namespace {

constexpr int kCandidateColumns = 10; // CodConvocatoria .. Area, in the candidates' order
const char* const kCandidateNames[kCandidateColumns] = {
    "CodConvocatoria", "NomConvocatoria", "Consejeria", "Localidad", "CodConsejeria",
    "CodLocalidad",    "CodProvincia",    "CodArea",    "CodZona",   "Area"};

// Where each position code first stands in a source table, in the table's own order, which
// is where a find from the first row stops. It points into the table rather than copying
// it: the tables stay unchanged, unfiltered, while the lookups run.
class SourceIndex {
public:
    explicit SourceIndex(RecordSet& source) : m_source(source) {
        source.clearFilter();
        for (int c = 0; c < kCandidateColumns; ++c)
            m_columns[c] = source.columnIndex(QString::fromLatin1(kCandidateNames[c]));
        const int rows = source.recordCount();
        m_firstRow.reserve(rows);
        for (int row = 0; row < rows; ++row) {
            const QString key = source.textAt(row, m_columns[0]).toCaseFolded();
            if (!m_firstRow.contains(key))
                m_firstRow.insert(key, row);
        }
        source.moveFirst();
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
QHash<QString, QStringList> linksByOwner(RecordSet& links, const QString& ownerColumn) {
    QHash<QString, QStringList> byOwner;
    links.clearFilter();
    const int owner = links.columnIndex(ownerColumn);
    const int code = links.columnIndex(u"CodPlaza");
    for (links.moveFirst(); !links.isEOF(); links.moveNext())
        byOwner[links.text(owner).toCaseFolded()].append(links.text(code));
    return byOwner;
}

enum class CodeFrom { Link, Source };

Status copyPositions(const QStringList& codes, const SourceIndex& source, RecordSet& target,
                     CodeFrom codeFrom, bool copyArea) {
    std::vector<std::pair<const QString*, int>> found; // the link's code and its source row
    found.reserve(size_t(codes.size()));
    for (const QString& code : codes)
        if (const int row = source.find(code); row >= 0)
            found.emplace_back(&code, row);
    // Exactly the rows kept: thousands of candidate tables must not each carry spare room.
    target.reserve(int(found.size()));
    const int last = copyArea ? kCandidateColumns : kCandidateColumns - 1;
    for (const auto& [code, row] : found) {
        VELMORA_TRY(target.addNew());
        VELMORA_TRY(target.setText(0, codeFrom == CodeFrom::Link ? *code : source.text(row, 0)));
        for (int c = 1; c < last; ++c)
            VELMORA_TRY(target.setText(c, source.text(row, c)));
    }
    return {};
}

std::unique_ptr<RecordSet> newCandidates() {
    auto table = std::make_unique<RecordSet>();
    cannotFail(createCandidatePositions(*table)); // columns declared in code, fresh table
    return table;
}

} // namespace

Status positionsByBody(const PositionSources& sources, std::vector<BodyPositions>& entries,
                       Progress& progress, int step) {
    sources.bodies.moveFirst();
    entries.clear();
    entries.resize(size_t(2 * sources.bodies.recordCount()));

    const auto links = linksByOwner(sources.positionBody, QStringLiteral("CodCuerpo"));
    const SourceIndex offeredResultas(sources.resultasPositions);
    const SourceIndex detailResultas(sources.resultasDetails);
    const SourceIndex offeredVacancies(sources.vacantPositions);
    const SourceIndex detailVacancies(sources.vacancyDetails);

    // The first entry pair made for each (case-folded) body code; links are grouped by that
    // code, so a repeated body has exactly the same candidates.
    QHash<QString, size_t> firstPair;
    size_t next = 0;
    for (; !sources.bodies.isEOF(); sources.bodies.moveNext()) {
        if (sources.bodies.text(u"Grupo") == QLatin1String("X"))
            continue;
        const QString body = sources.bodies.text(u"CodCuerpo");
        const QString folded = body.toCaseFolded();
        const auto seen = firstPair.constFind(folded);
        if (seen != firstPair.constEnd()) {
            for (size_t k = 0; k < 2; ++k) {
                BodyPositions& entry = entries[next++];
                progress.advance(float(step));
                progress.advance(float(step));
                entry.bodyCode = body;
                entry.offeredOnly = entries[*seen + k].offeredOnly;
                entry.resultas = entries[*seen + k].resultas;
                entry.vacancy = entries[*seen + k].vacancy;
            }
            continue;
        }
        firstPair.insert(folded, next);
        const QStringList codes = links.value(folded);
        for (const bool offeredOnly : {true, false}) {
            BodyPositions& entry = entries[next++];
            progress.advance(float(step));
            entry.bodyCode = body;
            entry.offeredOnly = offeredOnly;
            entry.resultas = newCandidates();
            VELMORA_TRY(copyPositions(codes, offeredOnly ? offeredResultas : detailResultas, *entry.resultas,
                                      CodeFrom::Link, true));
            entry.vacancy = newCandidates();
            progress.advance(float(step));
            VELMORA_TRY(copyPositions(codes, offeredOnly ? offeredVacancies : detailVacancies, *entry.vacancy,
                                      CodeFrom::Link, true));
        }
    }
    return {};
}

Status positionsByGroup(const PositionSources& sources, std::vector<GroupPositions>& entries,
                        Progress& progress, int step) {
    sources.groups.moveFirst();
    entries.clear();
    entries.resize(size_t(sources.groups.recordCount()));

    const auto links = linksByOwner(sources.positionGroup, QStringLiteral("CodGrupo"));
    const SourceIndex offeredResultas(sources.resultasPositions);
    const SourceIndex offeredVacancies(sources.vacantPositions);

    for (size_t k = 0; !sources.groups.isEOF() && k < entries.size(); sources.groups.moveNext(), ++k) {
        progress.advance(float(step));
        GroupPositions& entry = entries[k];
        entry.group = sources.groups.text(u"Grupo");
        const QStringList codes = links.value(entry.group.toCaseFolded());
        entry.resultas = newCandidates();
        entry.vacancy = newCandidates();
        VELMORA_TRY(copyPositions(codes, offeredResultas, *entry.resultas, CodeFrom::Source, false));
        VELMORA_TRY(copyPositions(codes, offeredVacancies, *entry.vacancy, CodeFrom::Source, false));
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
