#pragma once

#include "applications/ApplicationXml.h"
#include "editor/ApplicationListTables.h"
#include "editor/ApplicationModel.h"
#include "platform/AppFolders.h"
#include "platform/Clock.h"
#include "platform/Progress.h"
#include "platform/barcode/Pdf417Writer.h"
#include "platform/data/RecordSet.h"
#include "printing/ApplicationDocument.h"
#include "printing/PrintRecord.h"
#include "printing/PrintingWordProcessor.h"
#include "printing/SampleApplication.h"
#include "printing/TemplateWriter.h"
#include "support/FakeMessageService.h"
#include "support/SampleApplicant.h"
#include "support/SharedTemplates.h"
#include "support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <memory>

namespace velmora::test {

// An installation with the templates of every tab shown, an application filled in, its four
// lists, and the editor pieces the printing routines take.
class PrintingFixture {
public:
    explicit PrintingFixture(WordProcessorStarter start = embeddedWordProcessor())
        : folders(AppFolders::at(dir.path())), clock(QDateTime(QDate(2024, 3, 5), QTime(14, 5, 9))),
          wordProcessor(std::move(start)) {
        QDir().mkpath(folders.applications);
        if (!copySharedTemplates(folders.data))
            ADD_FAILURE() << "no se han podido escribir las plantillas";
        EXPECT_TRUE(createVacancyList(vacancies).ok());
        EXPECT_TRUE(createResultasList(resultas).ok());
        EXPECT_TRUE(createCoursesList(courses).ok());
        EXPECT_TRUE(createDocumentsList(documents).ok());
        fillSampleApplicant(model);
        printRecord = GeneraCadenaImpresion(model, situations);
    }

    // Positions ordered from 1, codes 10000 + order, with names of realistic length or `texts`.
    static void addPositions(RecordSet& list, int count, int firstCode = 10000,
                             const QStringList& texts = {}) {
        ASSERT_TRUE(addSamplePositions(list, count, firstCode, texts));
    }

    PrintingEditor editor() {
        return PrintingEditor{.model = model,
                              .lists = {vacancies, resultas, courses, documents},
                              .printRecord = printRecord,
                              .templateFolderKey = TemplateKey{}.folderName(),
                              .positionsPerPage = positionsPerPage,
                              .folders = folders,
                              .wordProcessor = wordProcessor,
                              .clock = clock,
                              .destination = docengine::PrintDestination::Pdf};
    }

    QString fileName() const { return u"12345678Z_10010A2.doc"_s; }
    QString documentPath() const { return QDir(folders.applications).filePath(fileName()); }
    QString pdfPath() const { return QDir(folders.applications).filePath(u"12345678Z_10010A2.pdf"_s); }

    Result<ApplicationPrintout> runWXP(bool print, bool draft = false) {
        PrintingEditor e = editor();
        return ImprimeSolicitudWXP(fileName(), folders.applications, e, progress, barcode, print, draft);
    }
    Result<ApplicationPrintout> runW97(bool print, bool draft = false) {
        PrintingEditor e = editor();
        return ImprimeSolicitudW97(fileName(), folders.applications, e, progress, barcode, print, draft);
    }

    // The text of the failure of `r`, checked to be the only thing told, under `title` with `icon`.
    QString told(const Result<ApplicationPrintout>& r, const QString& title, MessageIcon icon) const {
        if (r.ok())
            return QString();
        FakeMessageService shown;
        shown.tell(r.error());
        return shown.only(title, icon);
    }

    QStringList applicationFiles() const {
        return QDir(folders.applications).entryList(QDir::Files, QDir::Name);
    }

    TempDir dir;
    AppFolders folders;
    FixedClock clock;
    PrintingWordProcessor wordProcessor;
    Progress progress;
    Pdf417Writer barcode;
    ApplicationModel model;
    RecordSet vacancies;
    RecordSet resultas;
    RecordSet courses;
    RecordSet documents;
    RecordSet situations; // none: the sample applicant is in active service
    QString printRecord;
    QString positionsPerPage = u"40"_s;
};

} // namespace velmora::test
