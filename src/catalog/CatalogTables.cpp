#include "catalog/CatalogTables.h"

#include "catalog/CatalogLoader.h"
#include "catalog/ListTables.h"

namespace velmora {

std::unique_ptr<RecordSet> cloneKeepingOrder(const RecordSet& table) {
    std::unique_ptr<RecordSet> copy = table.clone();
    if (!table.sort().isEmpty())
        (void)copy->setSort(table.sort()); // the sort text already worked on `table`
    return copy;
}

CatalogTables::CatalogTables() {
    // Empty tables with their real columns: what a failed load leaves behind.
    (void)CatalogLoader::createBodies(bodies);
    (void)CatalogLoader::createGroups(groups);
    (void)CatalogLoader::createProvinces(provinces);
    (void)CatalogLoader::createProvinces(addressProvinces);
    for (RecordSet* t : {&localities, &localities2, &localities3})
        (void)CatalogLoader::createLocalities(*t);
    cloneLocalities();
    (void)CatalogLoader::createDepartments(departments);
    (void)CatalogLoader::createDepartments(departments2);
    (void)CatalogLoader::createAreas(areas);
    (void)CatalogLoader::createAreas(areas2);
    (void)CatalogLoader::createZones(zones);
    (void)CatalogLoader::createZones(zones2);
    (void)CatalogLoader::createSituations(situations);
    (void)CatalogLoader::createInstitutions(institutions);
    (void)CatalogLoader::createDetailsTable(vacancyDetails, true);
    (void)CatalogLoader::createDetailsTable(resultasDetails, false);
    (void)CatalogLoader::createPositionBody(positionBody);
    (void)CatalogLoader::createPositionGroup(positionGroup);
    (void)CatalogLoader::createPositionsTable(vacantPositions);
    (void)CatalogLoader::createPositionsTable(resultasPositions);
    (void)createVacancyList(vacancyList);
    (void)createResultasList(resultasList);
    (void)createCoursesList(coursesList);
    (void)createDocumentsList(documentsList);
}

void CatalogTables::cloneLocalities() {
    localitiesClone = cloneKeepingOrder(localities);
}

void CatalogTables::release() {
    for (RecordSet* t : {&bodies,
                         &groups,
                         &provinces,
                         &addressProvinces,
                         &localities,
                         &localities2,
                         &localities3,
                         &departments,
                         &departments2,
                         &areas,
                         &areas2,
                         &zones,
                         &zones2,
                         &situations,
                         &institutions,
                         &vacancyDetails,
                         &resultasDetails,
                         &positionBody,
                         &positionGroup,
                         &vacantPositions,
                         &resultasPositions,
                         &vacancyList,
                         &resultasList,
                         &coursesList,
                         &documentsList}) {
        t->close();
        *t = RecordSet();
    }
    localitiesClone.reset();
    bodyPositions.clear();
    groupPositions.clear();
}

} // namespace velmora
