// velmora-tools office over a genuine printout: its exit status, and the results it leaves.
#include "office/OfficeRunMerge.h"
#include "printing/PrintingFixture.h"
#include "support/FileSizeLimit.h"
#include "support/ToolRun.h"

#include <algorithm>

using namespace velmora;

namespace {

const char* const kResults[] = {"solicitudes.csv", "vacantes.csv", "resultas.csv", "incidencias.csv",
                                "lecturas.csv"};

// One printout (the form, its courses page without barcode, a vacancy and a resultas page),
// read once into `read/`.
class OfficeToolTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_print = new test::PrintingFixture;
        test::PrintingFixture::addPositions(s_print->vacancies, 3);
        test::PrintingFixture::addPositions(s_print->resultas, 1, 30000);
        test::addSampleCourses(s_print->courses, 3);
        if (s_print->runWXP(true).ok())
            s_read = new test::ToolOutput(test::runTool(readInto(u"read"_s)));
    }
    static void TearDownTestSuite() {
        delete s_read;
        delete s_print;
    }
    void SetUp() override { ASSERT_TRUE(s_read) << "the printout was not made"; }

    static QStringList readInto(const QString& out) {
        return {u"office"_s, u"read"_s, s_print->pdfPath(), u"--out"_s, s_print->dir.file(out)};
    }
    static QByteArray file(const QString& folder, const char* name) {
        return s_print->dir.read(folder + u'/' + QLatin1String(name));
    }

    static inline test::PrintingFixture* s_print = nullptr;
    static inline test::ToolOutput* s_read = nullptr;
};

} // namespace

TEST_F(OfficeToolTest, AGenuinePrintoutReadsCompleteWithItsCoursesPageUncounted) {
    EXPECT_EQ(s_read->exitCode, 0) << s_read->out.toStdString();
    EXPECT_TRUE(s_read->out.contains(u"Páginas sin código de barras: 0"_s)) << s_read->out.toStdString();
}

// Files limited to sizes around each result's own: the five are replaced whole, or not at all.
TEST_F(OfficeToolTest, AFullDiskLeavesTheOldResultsOrWholeNewOnes) {
    std::vector<qint64> limits{0, 3};
    qint64 largest = 0;
    for (const char* name : kResults) {
        limits.push_back(file(u"read"_s, name).size() / 2);
        largest = std::max(largest, file(u"read"_s, name).size());
    }
    limits.insert(limits.end(), {largest - 1, largest});
    for (const qint64 limit : limits) {
        SCOPED_TRACE("files limited to " + std::to_string(limit) + " bytes");
        for (const char* name : kResults)
            s_print->dir.write(u"full/"_s + QLatin1String(name), QByteArray("old ") + name);
        test::ToolOutput run;
        {
            test::FileSizeLimit full(limit);
            run = test::runTool(readInto(u"full"_s));
        }
        const bool fits = limit >= largest;
        EXPECT_EQ(run.exitCode, fits ? 0 : 3) << run.err.toStdString();
        EXPECT_EQ(run.err.contains(u"no queda espacio en el disco"_s), !fits) << run.err.toStdString();
        EXPECT_EQ(run.out.contains(u"Resultados en"_s), fits);
        for (const char* name : kResults)
            EXPECT_EQ(file(u"full"_s, name), fits ? file(u"read"_s, name) : QByteArray("old ") + name)
                << name;
        EXPECT_EQ(QDir(s_print->dir.file(u"full"_s)).entryList(QDir::Files).size(), 5) << "a file was left";
    }
}

TEST_F(OfficeToolTest, AMergeRefusesALecturasFileCutShort) {
    const QByteArray whole = file(u"read"_s, "lecturas.csv");
    for (const QByteArray& cut : {whole.chopped(2), whole.chopped(20), whole.left(3), QByteArray()}) {
        const QString path = s_print->dir.write(u"cut/lecturas.csv"_s, cut);
        Result<OfficeReadOutcome> merged = mergeOfficeRuns({s_print->dir.file(u"cut"_s)});
        ASSERT_FALSE(merged.ok()) << "cut to " << cut.size() << " bytes";
        EXPECT_TRUE(merged.error().description.contains(path)) << merged.error().description.toStdString();
    }
}
