#pragma once

// The position lookups done the plain way: for every link, restart from the first row of
// the source table and walk it until the code matches. Quadratic, but obviously right:
// the reference the indexed lookups are checked and measured against.

#include "catalog/CandidatePositionsTable.h"
#include "catalog/PositionLookup.h"

namespace velmora::literal {

inline bool walkTo(RecordSet& source, const QString& code) {
    source.clearFilter();
    for (source.moveFirst(); !source.isEOF(); source.moveNext())
        if (source.text(u"CodConvocatoria").compare(code, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

inline void copyPositions(RecordSet& links, RecordSet& target, RecordSet& source, bool codeFromLink,
                          bool copyArea) {
    static const char* const names[] = {"NomConvocatoria", "Consejeria",   "Localidad", "CodConsejeria",
                                        "CodLocalidad",    "CodProvincia", "CodArea",   "CodZona"};
    for (links.moveFirst(); !links.isEOF(); links.moveNext()) {
        const QString code = links.text(u"CodPlaza");
        if (!walkTo(source, code))
            continue;
        (void)target.addNew();
        (void)target.setValue(u"CodConvocatoria", codeFromLink ? code : source.text(u"CodConvocatoria"));
        for (const char* name : names)
            (void)target.setValue(QString::fromLatin1(name), source.text(QString::fromLatin1(name)));
        if (copyArea)
            (void)target.setValue(u"Area", source.text(u"Area"));
    }
}

inline void positionsByBody(const PositionSources& s, std::vector<BodyPositions>& entries) {
    s.bodies.moveFirst();
    entries.clear();
    entries.resize(size_t(2 * s.bodies.recordCount()));
    size_t k = 0;
    for (; !s.bodies.isEOF(); s.bodies.moveNext()) {
        if (s.bodies.text(u"Grupo") == QLatin1String("X"))
            continue;
        for (const bool flag : {true, false}) {
            BodyPositions& e = entries[k++];
            e.bodyCode = s.bodies.text(u"CodCuerpo");
            e.offeredOnly = flag;
            for (auto [target, source] :
                 {std::pair{&e.resultas, flag ? &s.resultasPositions : &s.resultasDetails},
                  std::pair{&e.vacancy, flag ? &s.vacantPositions : &s.vacancyDetails}}) {
                *target = std::make_unique<RecordSet>();
                (void)createCandidatePositions(**target);
                s.positionBody.clearFilter();
                s.positionBody.moveFirst();
                (void)s.positionBody.setFilter(QStringLiteral("CodCuerpo='%1'").arg(e.bodyCode));
                copyPositions(s.positionBody, **target, *source, true, true);
            }
        }
    }
}

inline void positionsByGroup(const PositionSources& s, std::vector<GroupPositions>& entries) {
    s.groups.moveFirst();
    entries.clear();
    entries.resize(size_t(s.groups.recordCount()));
    for (size_t k = 0; !s.groups.isEOF(); s.groups.moveNext(), ++k) {
        GroupPositions& e = entries[k];
        e.group = s.groups.text(u"Grupo");
        s.positionGroup.clearFilter();
        (void)s.positionGroup.setFilter(QStringLiteral("CodGrupo='%1'").arg(e.group));
        e.resultas = std::make_unique<RecordSet>();
        (void)createCandidatePositions(*e.resultas);
        e.vacancy = std::make_unique<RecordSet>();
        (void)createCandidatePositions(*e.vacancy);
        copyPositions(s.positionGroup, *e.resultas, s.resultasPositions, false, false);
        copyPositions(s.positionGroup, *e.vacancy, s.vacantPositions, false, false);
    }
}

} // namespace velmora::literal
