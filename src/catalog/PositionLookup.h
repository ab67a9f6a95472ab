#pragma once

#include "platform/data/RecordSet.h"

#include <QString>

#include <memory>
#include <vector>

namespace velmora {

class Progress;

// The positions one body may request. Entries are made in pairs per body: offered-only
// (candidates from the positions offered in the contest) and not (from the details).
// Rows of the bodies table with one code share their candidates: a catalogue repeating a body
// must cost memory for its rows, not for its rows times its links.
struct BodyPositions {
    QString bodyCode;
    bool offeredOnly = false;
    std::shared_ptr<RecordSet> resultas; // null for an entry left empty
    std::shared_ptr<RecordSet> vacancy;
    bool isEmpty() const { return !vacancy; }
};

struct GroupPositions {
    QString group;
    std::unique_ptr<RecordSet> resultas;
    std::unique_ptr<RecordSet> vacancy;
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
// progress by `step` twice per entry.
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
