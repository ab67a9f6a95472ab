// The sidecar of a saved application, read into the four list tables.

#include "FuzzSupport.h"

#include "applications/ApplicationXml.h"
#include "editor/ApplicationListTables.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::writeScratchFile(QStringLiteral("solicitud.xml"), fuzz::bytesOf(data, size));
    RecordSet vacancies, resultas, courses, documents;
    if (!createVacancyList(vacancies).ok() || !createResultasList(resultas).ok() ||
        !createCoursesList(courses).ok() || !createDocumentsList(documents).ok())
        return 0;
    const ApplicationLists lists{vacancies, resultas, courses, documents};
    const auto read = readApplicationLists(fuzz::scratchFolder(), QStringLiteral("solicitud.xml"), lists);
    if (read.ok() && *read == SidecarRead::Loaded)
        (void)buildApplicationXml(lists);
    return 0;
}
