#pragma once

#include "applications/ApplicationXml.h"
#include "editor/ApplicationListTables.h"
#include "platform/data/RecordSet.h"

#include <gtest/gtest.h>

namespace velmora::test {

// The four lists of an application (vacancies, resultas, courses, documents), created empty
// with their columns, as the editor holds them before anything is added or read.
struct EmptyApplicationLists {
    EmptyApplicationLists() {
        EXPECT_TRUE(createVacancyList(vacancies).ok());
        EXPECT_TRUE(createResultasList(resultas).ok());
        EXPECT_TRUE(createCoursesList(courses).ok());
        EXPECT_TRUE(createDocumentsList(documents).ok());
    }
    ApplicationLists lists() { return {vacancies, resultas, courses, documents}; }

    RecordSet vacancies, resultas, courses, documents;
};

} // namespace velmora::test
