#pragma once

#include "catalog/PositionLookup.h"
#include "platform/data/RecordSet.h"

#include <memory>
#include <vector>

namespace velmora {

// Every catalogue table the program shares, from start-up until the editor closes (the
// application's own lists live with the editor). All of them exist from construction on, open and empty with
// their columns, so code that runs after a failed or partial load sees empty tables, never missing ones.
struct CatalogTables {
    CatalogTables();

    RecordSet bodies;           // F0004: CodCuerpo, DescCuerpo, Grupo
    RecordSet groups;           // F0005: Grupo
    RecordSet provinces;        // F0002
    RecordSet addressProvinces; // F0001
    RecordSet localities;       // F0003, three separate loads
    RecordSet localities2;
    RecordSet localities3;
    std::unique_ptr<RecordSet> localitiesClone; // own cursor over `localities`
    RecordSet departments;                      // F0006, two loads
    RecordSet departments2;
    RecordSet areas; // F0014, two loads
    RecordSet areas2;
    RecordSet zones; // F0013, two loads
    RecordSet zones2;
    RecordSet situations;        // F0015
    RecordSet institutions;      // F0016
    RecordSet vacancyDetails;    // F0009
    RecordSet resultasDetails;   // F0010
    RecordSet positionBody;      // F0008
    RecordSet positionGroup;     // F0007
    RecordSet vacantPositions;   // F0011 + vacancy details
    RecordSet resultasPositions; // F0012 + resultas details

    std::vector<BodyPositions> bodyPositions;
    std::vector<GroupPositions> groupPositions;

    // Makes `localitiesClone` afresh once `localities` is filled and sorted, so that the
    // drop-down bound to it lists the localities by name as the table does.
    void cloneLocalities();

    // Closes every table and drops its rows; later reads see closed, empty tables.
    void release();
};

// A cursor of its own over the rows of `table`, seen in the same sort order. A plain clone
// starts unsorted, which would show a sorted catalogue in file order.
std::unique_ptr<RecordSet> cloneKeepingOrder(const RecordSet& table);

} // namespace velmora
