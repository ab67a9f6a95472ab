#pragma once

#include "platform/data/RecordSet.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace velmora {

class Progress;

// The candidates of one lookup entry, made the first time they are read. A session opens
// the candidates of one or two bodies, while making those of every body and group at load
// cost more time and memory than all the catalogues together. Copies share one table, made
// once; a table handed over ready is simply kept.
class CandidatesTable {
public:
    using Builder = std::function<void(RecordSet&)>;

    CandidatesTable() = default;
    CandidatesTable(std::nullptr_t) {}
    CandidatesTable(std::unique_ptr<RecordSet> ready);
    explicit CandidatesTable(Builder builder);

    // The table, made on the first call; null for an entry left empty.
    RecordSet* get() const;
    RecordSet& operator*() const { return *get(); }
    RecordSet* operator->() const { return get(); }
    explicit operator bool() const { return m_state != nullptr; }
    // The same table (made or still to be made), not merely equal rows.
    bool operator==(const CandidatesTable&) const = default;

private:
    struct State {
        Builder builder;
        std::unique_ptr<RecordSet> table;
    };
    std::shared_ptr<State> m_state;
};

// The positions one body may request. Entries are made in pairs per body: offered-only
// (candidates from the positions offered in the contest) and not (from the details).
// Rows of the bodies table with one code share their candidates: a catalogue repeating a body
// must cost memory for its rows, not for its rows times its links.
struct BodyPositions {
    QString bodyCode;
    bool offeredOnly = false;
    CandidatesTable resultas; // null for an entry left empty
    CandidatesTable vacancy;
    bool isEmpty() const { return !vacancy; }
};

struct GroupPositions {
    QString group;
    CandidatesTable resultas;
    CandidatesTable vacancy;
};

struct PositionSources {
    RecordSet& bodies;
    RecordSet& groups;
    RecordSet& positionBody;
    RecordSet& positionGroup;
    RecordSet& vacantPositions;
    RecordSet& resultasPositions;
    RecordSet& vacancyDetails;
    RecordSet& resultasDetails;
};

// Fills the body positions array: 2 x (rows of the bodies table) entries, two per body
// whose group is not "X" (offered-only first), the rest left empty. Advances the
// progress by `step` twice per entry. The candidates are taken from the sources as they
// stand now when an entry is first read: the catalogues do not change after loading.
Status positionsByBody(const PositionSources& sources, std::vector<BodyPositions>& entries,
                       Progress& progress, int step);
// Fills the group positions array, one entry per group in table order, from the offered
// positions; the area of these candidates stays empty. Advances by `step` per group.
Status positionsByGroup(const PositionSources& sources, std::vector<GroupPositions>& entries,
                        Progress& progress, int step);

// The first entry for the body and flag, as the editor looks it up; null when none.
const BodyPositions* findBodyPositions(const std::vector<BodyPositions>& entries, const QString& bodyCode,
                                       bool offeredOnly);
const GroupPositions* findGroupPositions(const std::vector<GroupPositions>& entries, const QString& group);

} // namespace velmora
