// A save replaces the document and its lists file as one unit, whatever stops it half-way,
// and never writes through a link; the files' names, listing and removal.
#include "applications/ApplicationPair.h"

#include "applications/ApplicationFiles.h"
#include "catalog/CatalogLoader.h"
#include "platform/data/RecordSet.h"
#include "printing/SampleApplication.h"
#include "support/EmptyApplicationLists.h"
#include "support/FileSizeLimit.h"
#include "support/TableRows.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora {
namespace {

using test::addRows;
using test::TempDir;

const QString kName = u"12345678Z_1234501.doc"_s;

// Stops the save as a kill would: right before its `killAt`-th file operation or, with
// `halfway`, once that operation (a write) has put half of its bytes on the disk.
class KillingSteps : public FileSteps {
public:
    KillingSteps(int killAt, bool halfway) : m_killAt(killAt), m_halfway(halfway) {}
    Status write(const QString& path, const QByteArray& bytes) override {
        if (m_halfway && m_done + 1 == m_killAt)
            (void)FileSteps::write(path, bytes.left(bytes.size() / 2));
        step();
        return FileSteps::write(path, bytes);
    }
    Status rename(const QString& from, const QString& to) override {
        step();
        return FileSteps::rename(from, to);
    }
    void remove(const QString& path) override {
        step();
        FileSteps::remove(path);
    }

private:
    void step() {
        if (++m_done == m_killAt)
            ::raise(SIGKILL);
    }
    int m_killAt;
    bool m_halfway;
    int m_done = 0;
};

struct Pair {
    QByteArray document;
    int vacancies;
};

Status save(const QString& folder, const Pair& pair, FileSteps* steps = nullptr) {
    test::EmptyApplicationLists lists;
    EXPECT_TRUE(test::addSamplePositions(lists.vacancies, pair.vacancies));
    return saveApplicationPair(folder, kName, pair.document, lists.lists(), folder, steps);
}

// Which save the folder holds once settled: "old", "new", or "mix" for anything else.
QString settledPair(const QString& folder, const Pair& old, const Pair& fresh) {
    const ApplicationPairFiles files(folder, kName);
    ApplicationPairLock lock(files);
    EXPECT_TRUE(lock.acquire().ok());
    FileSteps steps;
    settleInterruptedSave(files, steps);
    QFile document(files.document);
    const QByteArray bytes = document.open(QIODevice::ReadOnly) ? document.readAll() : QByteArray();
    test::EmptyApplicationLists lists;
    const ListsFileRead read = readListsFile(files.lists, lists.lists(), documentDigestOf(bytes));
    for (const Pair* pair : {&old, &fresh})
        if (bytes == pair->document && read.state == SidecarRead::Loaded &&
            lists.vacancies.recordCount() == pair->vacancies)
            return pair == &old ? u"old"_s : u"new"_s;
    return u"mix"_s;
}

TEST(ApplicationPair, AKillAtAnyFileOperationOfASaveLeavesTheOldPairOrTheNewOne) {
    const Pair old{QByteArray("documento antiguo"), 1};
    const Pair fresh{QByteArray(100000, 'n'), 3};
    QStringList outcomes;
    for (bool halfway : {false, true}) {
        for (int killAt = 1;; ++killAt) {
            test::TempDir dir;
            ASSERT_TRUE(save(dir.path(), old).ok());
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                KillingSteps steps(killAt, halfway);
                ::_exit(save(dir.path(), fresh, &steps).ok() ? 0 : 1);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            const bool killed = WIFSIGNALED(status);
            const QString outcome = settledPair(dir.path(), old, fresh);
            outcomes << outcome;
            EXPECT_NE(outcome, u"mix"_s) << "killed at operation " << killAt;
            if (!killed) {
                EXPECT_EQ(outcome, u"new"_s);
                break;
            }
            // The next save after a cut-short one works and leaves nothing behind.
            ASSERT_TRUE(save(dir.path(), fresh).ok());
            EXPECT_EQ(settledPair(dir.path(), old, fresh), u"new"_s);
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter(u".nuevo"_s), QStringList());
        }
    }
    std::cout << "kills at every file operation: " << outcomes.count(u"old"_s) << " old pair, "
              << outcomes.count(u"new"_s) << " new pair, " << outcomes.count(u"mix"_s) << " mixed, in "
              << outcomes.size() << " runs\n";
    EXPECT_GT(outcomes.count(u"old"_s), 1);
    EXPECT_GT(outcomes.count(u"new"_s), 2);

    // A new lists file whose document never replaced the old one (a save killed while it
    // dropped its new files) is no part of the pair: the old pair stays.
    test::TempDir dir, other;
    ASSERT_TRUE(save(dir.path(), old).ok());
    ASSERT_TRUE(save(other.path(), fresh).ok());
    ASSERT_TRUE(QFile::copy(ApplicationPairFiles(other.path(), kName).lists,
                            ApplicationPairFiles(dir.path(), kName).newLists));
    EXPECT_EQ(settledPair(dir.path(), old, fresh), u"old"_s);
}

TEST(ApplicationPair, InstancesSavingOneApplicationAtOnceNeverShowAMix) {
    test::TempDir dir;
    const Pair first{QByteArray(50000, 'a'), 1};
    const Pair second{QByteArray(70000, 'b'), 2};
    ASSERT_TRUE(save(dir.path(), first).ok());
    std::vector<pid_t> instances;
    for (const Pair* pair : {&first, &second}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int i = 0; i < 30 && ok; ++i)
                ok = save(dir.path(), *pair).ok();
            ::_exit(ok ? 0 : 1);
        }
        instances.push_back(child);
    }
    // A third instance reads the pair again and again, leaving the lock free a moment between
    // readings as any instance does.
    int reads = 0, mixes = 0, running = 2;
    while (running > 0) {
        ++reads;
        mixes += settledPair(dir.path(), first, second) == u"mix"_s ? 1 : 0;
        QThread::msleep(1);
        int status = 0;
        if (::waitpid(-1, &status, WNOHANG) > 0) {
            --running;
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
    }
    std::cout << "two instances saving one application 30 times each: " << mixes << " mixed pairs in "
              << reads << " readings\n";
    EXPECT_EQ(mixes, 0);
}

TEST(ApplicationPair, ASaveOnAFullDiskKeepsTheOldPair) {
    test::TempDir dir;
    const Pair old{QByteArray("documento antiguo"), 1};
    ASSERT_TRUE(save(dir.path(), old).ok());

    test::EmptyApplicationLists lists;
    ASSERT_TRUE(test::addSamplePositions(lists.vacancies, 2));
    Status saved;
    {
        // The lists file fits under the limit, the document does not.
        test::FileSizeLimit limit(64 * 1024);
        saved = saveApplicationPair(dir.path(), kName, QByteArray(200000, 'n'), lists.lists(), dir.path());
    }

    ASSERT_FALSE(saved.ok());
    const QString said = saved.error().description;
    EXPECT_TRUE(said.contains(u"no queda espacio en el disco"_s)) << said.toStdString();
    EXPECT_TRUE(said.contains(u"La solicitud guardada antes sigue como estaba"_s));
    EXPECT_EQ(settledPair(dir.path(), old, old), u"old"_s);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter(u".nuevo"_s), QStringList());
}

TEST(ApplicationPair, AFolderWhereTheLockGoesIsNamed) {
    test::TempDir dir;
    const ApplicationPairFiles files(dir.path(), kName);
    ASSERT_TRUE(QDir().mkdir(files.lock));
    const Status saved = save(dir.path(), {QByteArray("documento"), 1});
    ASSERT_FALSE(saved.ok());
    EXPECT_TRUE(saved.error().description.contains(
        u"donde va su fichero de bloqueo, %1, hay una carpeta"_s.arg(QDir::toNativeSeparators(files.lock))))
        << saved.error().description.toStdString();
}

TEST(ApplicationPair, LinksAreNeverWrittenThrough) {
    const Pair pair{QByteArray("documento"), 1};
    for (const QString& linked : {kName, sidecarFileName(kName)}) {
        test::TempDir dir;
        const QString outside = dir.write(u"fuera.txt"_s, "no es de la solicitud");
        ASSERT_TRUE(QFile::link(outside, dir.file(linked)));
        test::EmptyApplicationLists lists;
        const Status saved = saveApplicationPair(dir.path(), kName, pair.document, lists.lists(), dir.path());
        EXPECT_EQ(dir.read(u"fuera.txt"_s), "no es de la solicitud");
        EXPECT_TRUE(QFileInfo(dir.file(linked)).isSymLink());
        ASSERT_FALSE(saved.ok());
        EXPECT_TRUE(saved.error().description.contains(QDir::toNativeSeparators(dir.file(linked))));
    }
}

TEST(ApplicationPair, ASaveReplacesAnUpperCaseCopyOfTheDocument) {
    const Pair pair{QByteArray("documento"), 1};
    test::TempDir dir;
    dir.write(kName.chopped(3) + u"DOC"_s, "guardado antes con otro nombre");
    ASSERT_TRUE(save(dir.path(), pair).ok());
    EXPECT_EQ(QDir(dir.path()).entryList({u"*.doc"_s, u"*.DOC"_s}, QDir::Files), QStringList{kName});
}

TEST(ApplicationFiles, NameIsAlwaysTwentyOneCharactersByPosition) {
    EXPECT_EQ(applicationFileName("123", "1234", "A"), "000000123__12340A.doc");
    EXPECT_EQ(applicationFileName("12345678Z", "12345", "C1"), "12345678Z_12345C1.doc");
    // Longer inputs are cut to their places rather than pushing the others along.
    EXPECT_EQ(applicationFileName("12345678ZZZ", "1234567", "ABC"), "12345678Z_12345AB.doc");
    EXPECT_EQ(applicationFileName("", "", ""), "000000000______00.doc");
    EXPECT_EQ(sidecarFileName("000000123__12340A.doc"), "000000123__12340A.xml");
    EXPECT_EQ(sidecarFileName("000000123__12340A.DOC"), "000000123__12340A.xml");
}

TEST(ApplicationFiles, ListingShowsOnlyTheUsersDocumentsWithTheirBodyDescription) {
    TempDir dir;
    dir.write("12345678Z_12345B1.doc", "d");
    dir.write("12345678Z_X0001A1.DOC", "d");  // upper-case extension
    dir.write("12345678Z__1234C1.doc", "d");  // short code: "_" stays in Cuerpo, not in the look-up
    dir.write("12345678Z_99999C1.doc", "d");  // body no longer in the catalogue
    dir.write("12345678Z_12345B1.xml", "x");  // sidecar, not listed
    dir.write("87654321X_12345B1.doc", "d");  // another applicant
    dir.write("12345678Z_12345B1x.doc", "d"); // 22 characters
    dir.write("12345678Z_12345B.doc", "d");   // 20 characters
    dir.write("12345678z_12345B1.doc", "d");  // DNI compared exactly

    RecordSet bodies;
    ASSERT_TRUE(CatalogLoader::createBodies(bodies));
    addRows(bodies, {},
            {{"12345", "Enfermero/a", "B"},
             {"X0001", "Facultativo especialista", "X"},
             {"1234", "Código corto", "C"}});
    // The editor keeps this filter on the bodies table; the listing must still see every body.
    ASSERT_TRUE(bodies.setFilter("Grupo <> 'X'").ok());
    bodies.moveLast();
    const QString filterBefore = bodies.filter();
    RecordSet table;
    const Result<int> count = listApplications(dir.path(), "12345678Z", bodies, table);
    ASSERT_TRUE(count.ok());
    EXPECT_EQ(*count, 4);
    EXPECT_EQ(table.columnNames(),
              (QStringList{"Fichero", "DNI", "Cuerpo", "DescCuerpo", "Grupo", "Fecha", "Solicitud"}));

    // What tells the applications apart: the DNI, the body without its padding, the date saved.
    QStringList rows;
    for (table.moveFirst(); !table.isEOF(); table.moveNext()) {
        const QString saved =
            QFileInfo(dir.file(table.text(u"Fichero"))).lastModified().toString("dd/MM/yyyy HH:mm");
        rows << QStringList{table.text(u"Fichero"), table.text(u"DNI"),
                            table.text(u"Cuerpo"),  table.text(u"DescCuerpo"),
                            table.text(u"Grupo"),   table.text(u"Solicitud").replace(saved, "fecha")}
                    .join('|');
    }
    EXPECT_EQ(
        rows,
        (QStringList{
            "12345678Z_12345B1.doc|12345678Z|12345|Enfermero/a|B1|12345678Z · 12345 Enfermero/a · fecha",
            "12345678Z_99999C1.doc|12345678Z|99999||C1|12345678Z · 99999 · fecha",
            "12345678Z__1234C1.doc|12345678Z|_1234|Código corto|C1|12345678Z · 1234 Código corto · fecha",
            "12345678Z_X0001A1.DOC|12345678Z|X0001|Facultativo especialista|A1|12345678Z · X0001 "
            "Facultativo especialista · fecha"}));
    // The caller's cursor on the bodies table is untouched.
    EXPECT_EQ(bodies.filter(), filterBefore);
    EXPECT_EQ(bodies.text(u"CodCuerpo"), "1234");

    // A second listing starts from scratch.
    ASSERT_TRUE(QFile::remove(dir.file("12345678Z_12345B1.doc")));
    const Result<int> again = listApplications(dir.path(), "12345678Z", bodies, table);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(*again, 3);
    EXPECT_EQ(table.recordCount(), 3);
    // A missing folder lists nothing.
    EXPECT_EQ(listApplications(dir.file("nada"), "12345678Z", bodies, table).value(), 0);
    EXPECT_TRUE(table.isOpen());
}

TEST(ApplicationFiles, DeleteRemovesTheWholePairOrNamesWhatStays) {
    TempDir dir;
    dir.write("12345678Z_12345B1.doc", "d");
    dir.write("12345678Z_12345B1.xml", "x");
    dir.write("12345678Z_12345C1.doc", "d"); // no sidecar
    dir.write("otro.txt", "t");
    EXPECT_TRUE(deleteApplication(dir.path(), "12345678Z_12345B1.doc").ok());
    EXPECT_TRUE(deleteApplication(dir.path(), "12345678Z_12345C1.doc").ok());
    EXPECT_TRUE(deleteApplication(dir.path(), "no-existe.doc").ok());
    EXPECT_FALSE(deleteApplication(dir.path(), "../otro.txt").ok());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"otro.txt"});

    // A sidecar that cannot go (a folder stands at its name) is named; the document goes.
    dir.write("12345678Z_12345D1.doc", "d");
    dir.write("12345678Z_12345D1.xml/dentro.txt", "x");
    const Status deleted = deleteApplication(dir.path(), "12345678Z_12345D1.doc");
    ASSERT_FALSE(deleted.ok());
    EXPECT_TRUE(deleted.error().description.startsWith(
        "No se ha podido borrar " + QDir::toNativeSeparators(dir.file("12345678Z_12345D1.xml"))));
    EXPECT_FALSE(QFileInfo::exists(dir.file("12345678Z_12345D1.doc")));
}

TEST(ApplicationFiles, ExistenceIgnoresCase) {
    TempDir dir;
    dir.write("12345678Z_12345B1.DOC", "d");
    EXPECT_TRUE(applicationFileExists(dir.path(), "12345678Z_12345B1.doc"));
    EXPECT_FALSE(applicationFileExists(dir.path(), "12345678Z_12345B2.doc"));
    EXPECT_FALSE(applicationFileExists(dir.path(), ""));
    EXPECT_FALSE(applicationFileExists(dir.file("nada"), "12345678Z_12345B1.doc"));
}

} // namespace
} // namespace velmora
