#pragma once

// A sample installation with one application saved through the program's own routine.

#include "app/LoadedTables.h"
#include "applications/ApplicationFiles.h"
#include "catalog/SampleContest.h"
#include "editor/ApplicationChecks.h"
#include "platform/Clock.h"
#include "platform/barcode/Pdf417Writer.h"
#include "printing/ApplicationDocument.h"
#include "printing/PrintingWordProcessor.h"
#include "printing/SampleApplication.h"
#include "printing/TemplateWriter.h"
#include "support/TempDir.h"

#include <functional>

#include <gtest/gtest.h>

namespace velmora::test {

struct SavedSample {
    test::TempDir dir;
    AppFolders folders = AppFolders::at(dir.path());
    LoadedTables tables;
    ApplicationModel model;
    ApplicationLists lists{tables.vacancyList, tables.resultasList, tables.coursesList, tables.documentsList};
    QString fileName;

    // `adjust` changes the applicant's data before saving.
    void save(int vacancies, int resultas, int courses, int documents,
              const std::function<void(ApplicationModel&)>& adjust = {}) {
        ASSERT_TRUE(writeSampleContest(dir.path(), SampleScale::Small, 7).ok());
        ASSERT_TRUE(writeApplicationTemplates(folders.data, TemplateKey{}).ok());
        ASSERT_TRUE(test::loadContest(dir.path(), tables));
        ASSERT_TRUE(
            test::makeSampleApplication(tables, model, lists, vacancies, resultas, courses, documents));
        if (adjust)
            adjust(model);
        fileName = applicationFileNameOf(model);
        FixedClock clock(QDateTime(QDate(2024, 3, 5), QTime(9, 0, 0)));
        PrintingWordProcessor wordProcessor;
        PrintingEditor editor{.model = model,
                              .lists = lists,
                              .templateFolderKey = TemplateKey{}.folderName(),
                              .positionsPerPage = u"40"_s,
                              .folders = folders,
                              .wordProcessor = wordProcessor,
                              .clock = clock};
        Progress progress;
        Pdf417Writer barcode;
        ASSERT_TRUE(
            ImprimeSolicitudWXP(fileName, folders.applications, editor, progress, barcode, false, false)
                .ok());
    }
};

} // namespace velmora::test
