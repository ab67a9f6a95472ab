// velmora-tools office read and merge over a genuine printout: the exit status, and the results
// left in the folder when the disk fills up.
#include "office/OfficeRunMerge.h"
#include "printing/PrintingFixture.h"
#include "support/FileSizeLimit.h"
#include "support/ToolRun.h"

#include <algorithm>

using namespace velmora;

namespace {

const char* const kResults[] = {"solicitudes.csv", "vacantes.csv", "resultas.csv", "incidencias.csv",
                                "lecturas.csv"};

// One printout, read once into `read/`: the form, its courses page (no barcode by design),
// a vacancy page and a resultas page.
class OfficeToolTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_print = new test::PrintingFixture;
        test::PrintingFixture::addPositions(s_print->vacancies, 3);
        test::PrintingFixture::addPositions(s_print->resultas, 1, 30000);
        test::addSampleCourses(s_print->courses, 3);
        if (s_print->runWXP(true).ok())
            s_read = new test::ToolOutput(test::runTool(readInto(s_print->dir.file(u"read"_s))));
    }
    static void TearDownTestSuite() {
        delete s_read;
        delete s_print;
    }
    void SetUp() override { ASSERT_TRUE(s_read) << "the printout was not made"; }

    static QStringList readInto(const QString& folder) {
        return {u"office"_s, u"read"_s, s_print->pdfPath(), u"--out"_s, folder};
    }
    static QByteArray readResult(const char* name) {
        return s_print->dir.read(u"read/"_s + QLatin1String(name));
    }

    static inline test::PrintingFixture* s_print = nullptr;
    static inline test::ToolOutput* s_read = nullptr;
    test::TempDir dir;
};

} // namespace

TEST_F(OfficeToolTest, AGenuinePrintoutReadsCompleteWithItsCoursesPageUncounted) {
    EXPECT_EQ(s_read->exitCode, 0) << s_read->out.toStdString();
    EXPECT_TRUE(s_read->out.contains(u"Páginas sin código de barras: 0"_s)) << s_read->out.toStdString();
}

// Every file of a run is replaced whole or not at all, whichever of them the disk fills on.
TEST_F(OfficeToolTest, AFullDiskLeavesTheOldResultsOrWholeNewOnes) {
    std::vector<qint64> limits{0, 3};
    qint64 largest = 0;
    for (const char* name : kResults) {
        largest = std::max(largest, readResult(name).size());
        limits.push_back(readResult(name).size() / 2);
    }
    limits.insert(limits.end(), {largest - 1, largest});
    std::sort(limits.begin(), limits.end());
    limits.erase(std::unique(limits.begin(), limits.end()), limits.end());
    ASSERT_GE(limits.size(), 7u);

    const QString out = dir.file(u"salida"_s);
    for (const qint64 limit : limits) {
        SCOPED_TRACE("files limited to " + std::to_string(limit) + " bytes");
        for (const char* name : kResults)
            dir.write(u"salida/"_s + QLatin1String(name), QByteArray("old ") + name);
        test::ToolOutput run;
        {
            test::FileSizeLimit full(limit);
            run = test::runTool(readInto(out));
        }
        const bool fits = limit >= largest;
        EXPECT_EQ(run.exitCode, fits ? s_read->exitCode : 3) << run.err.toStdString();
        EXPECT_EQ(run.err.contains(u"no queda espacio en el disco"_s), !fits) << run.err.toStdString();
        EXPECT_EQ(run.out.contains(u"Resultados en"_s), fits);
        for (const char* name : kResults)
            EXPECT_EQ(dir.read(u"salida/"_s + QLatin1String(name)),
                      fits ? readResult(name) : QByteArray("old ") + name)
                << name;
        EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 5) << "a temporary file was left";
    }
}

TEST_F(OfficeToolTest, AMergeRefusesALecturasFileCutShort) {
    const QByteArray whole = readResult("lecturas.csv");
    ASSERT_TRUE(whole.endsWith("F\r\n"));
    const std::pair<const char*, QByteArray> cuts[] = {{"without its last line end", whole.chopped(2)},
                                                       {"in the last barcode text", whole.chopped(20)},
                                                       {"down to the byte-order mark", whole.left(3)},
                                                       {"empty", {}}};
    for (const auto& [name, bytes] : cuts) {
        SCOPED_TRACE(name);
        const QString cut = dir.write(u"parte/lecturas.csv"_s, bytes);
        Result<OfficeReadOutcome> merged = mergeOfficeRuns({dir.file(u"parte"_s)});
        ASSERT_FALSE(merged.ok());
        EXPECT_TRUE(merged.error().description.contains(cut)) << merged.error().description.toStdString();
    }
    dir.write(u"parte/lecturas.csv"_s, whole);
    EXPECT_TRUE(mergeOfficeRuns({dir.file(u"parte"_s)}).ok());
}
