// The catalogue loaders: the first byte picks the catalogue, the rest is its scrambled file.

#include "FuzzSupport.h"

#include "catalog/CatalogLoader.h"

using namespace velmora;

namespace {

using Load = Status (*)(CatalogLoader&, RecordSet&);

// An empty areas table: each input holds one catalogue only, so that runs do not depend on
// what earlier inputs left in the scratch folder.
RecordSet noAreas() {
    RecordSet areas;
    (void)CatalogLoader::createAreas(areas);
    return areas;
}

// One loader per entry of fuzz::kCatalogueFiles, in the same order.
const Load kLoaders[] = {
    [](CatalogLoader& l, RecordSet& t) { return l.buildBodies(t); },
    [](CatalogLoader& l, RecordSet& t) { return l.buildGroups(t); },
    [](CatalogLoader& l, RecordSet& t) { return l.buildLocalities(t); },
    [](CatalogLoader& l, RecordSet& t) { return l.buildDepartments(t); },
    [](CatalogLoader& l, RecordSet& t) { return l.buildSituations(t); },
    [](CatalogLoader& l, RecordSet& t) { return l.buildInstitutions(t); },
    [](CatalogLoader& l, RecordSet& t) { return l.buildPositionBody(t); },
    [](CatalogLoader& l, RecordSet& t) { return l.buildPositionGroup(t); },
    [](CatalogLoader& l, RecordSet& t) -> Status {
        VELMORA_TRY(CatalogLoader::createProvinces(t));
        return l.fillProvinces(t, QStringLiteral("F0001.enc"));
    },
    [](CatalogLoader& l, RecordSet& t) -> Status {
        VELMORA_TRY(CatalogLoader::createAreas(t));
        return l.fillAreas(t, QStringLiteral("F0014.enc"));
    },
    [](CatalogLoader& l, RecordSet& t) -> Status {
        VELMORA_TRY(CatalogLoader::createZones(t));
        VELMORA_TRY(l.fillZones(t, QStringLiteral("F0013.enc")));
        RecordSet areas = noAreas();
        return CatalogLoader::fillZoneProvinces(t, areas);
    },
    [](CatalogLoader& l, RecordSet& t) -> Status {
        RecordSet areas = noAreas();
        return l.buildVacancyDetails(t, areas);
    },
    [](CatalogLoader& l, RecordSet& t) -> Status {
        RecordSet areas = noAreas();
        return l.buildResultasDetails(t, areas);
    },
    [](CatalogLoader& l, RecordSet& t) -> Status {
        RecordSet details;
        (void)CatalogLoader::createDetailsTable(details, true);
        return l.buildPositions(QStringLiteral("V"), t, details);
    },
    [](CatalogLoader& l, RecordSet& t) -> Status {
        RecordSet details;
        (void)CatalogLoader::createDetailsTable(details, false);
        return l.buildPositions(QStringLiteral("R"), t, details);
    },
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    static_assert(std::size(kLoaders) == std::size(fuzz::kCatalogueFiles));
    const size_t which = data[0] % std::size(kLoaders);
    fuzz::writeScratchFile(QString::fromLatin1(fuzz::kCatalogueFiles[which]),
                           fuzz::bytesOf(data + 1, size - 1));
    CatalogLoader loader(fuzz::scratchFolder());
    RecordSet table;
    if (kLoaders[which](loader, table).ok() && table.isOpen()) {
        // Walk what was loaded: every row, every column as text.
        for (table.moveFirst(); !table.isEOF(); table.moveNext())
            for (int c = 0; c < table.columnCount(); ++c)
                (void)table.text(c);
    }
    return 0;
}
