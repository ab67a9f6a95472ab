#include "catalog/CatalogTables.h"

#include "catalog/CatalogLoader.h"
#include "platform/CannotFail.h"

namespace velmora {

std::unique_ptr<RecordSet> cloneKeepingOrder(const RecordSet& table) {
    return table.cloneInSortOrder();
}

CatalogTables::CatalogTables() {
    // Empty tables with their real columns, declared in code: what a failed load leaves behind.
    cannotFail(CatalogLoader::createBodies(bodies));
    cannotFail(CatalogLoader::createGroups(groups));
    cannotFail(CatalogLoader::createProvinces(provinces));
    cannotFail(CatalogLoader::createProvinces(addressProvinces));
    for (RecordSet* t : {&localities, &localities2, &localities3})
        cannotFail(CatalogLoader::createLocalities(*t));
    cloneLocalities();
    cannotFail(CatalogLoader::createDepartments(departments));
    cannotFail(CatalogLoader::createDepartments(departments2));
    cannotFail(CatalogLoader::createAreas(areas));
    cannotFail(CatalogLoader::createAreas(areas2));
    cannotFail(CatalogLoader::createZones(zones));
    cannotFail(CatalogLoader::createZones(zones2));
    cannotFail(CatalogLoader::createSituations(situations));
    cannotFail(CatalogLoader::createInstitutions(institutions));
    cannotFail(CatalogLoader::createDetailsTable(vacancyDetails, true));
    cannotFail(CatalogLoader::createDetailsTable(resultasDetails, false));
    cannotFail(CatalogLoader::createPositionBody(positionBody));
    cannotFail(CatalogLoader::createPositionGroup(positionGroup));
    cannotFail(CatalogLoader::createPositionsTable(vacantPositions));
    cannotFail(CatalogLoader::createPositionsTable(resultasPositions));
}

void CatalogTables::cloneLocalities() {
    localitiesClone = cloneKeepingOrder(localities);
}

void CatalogTables::release() {
    for (RecordSet* t :
         {&bodies,           &groups,          &provinces,    &addressProvinces, &localities,
          &localities2,      &localities3,     &departments,  &departments2,     &areas,
          &areas2,           &zones,           &zones2,       &situations,       &institutions,
          &vacancyDetails,   &resultasDetails, &positionBody, &positionGroup,    &vacantPositions,
          &resultasPositions}) {
        t->close();
        *t = RecordSet();
    }
    localitiesClone.reset();
    bodyPositions.clear();
    groupPositions.clear();
}

} // namespace velmora
