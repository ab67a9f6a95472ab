#include "app/RecoveryFile.h"
#include "app/UnsavedWorkKeeper.h"
#include "editor/ApplicationListTables.h"
#include "platform/Clock.h"
#include "support/TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct RecoveryFixture {
    RecoveryFixture() : file(dir.path(), u"12345678Z"_s) {
        model.setText(ctl::txtApellido1, u"Muñoz & <Peña>"_s);
        model.setChoice(ctl::cboCuerpo, u"10010"_s, u"Enfermero/a"_s);
        model.setEnabled(ctl::cboCuerpo, false);
        model.setSelected(ctl::optOtras);
        EXPECT_TRUE(lists.coursesList.addNew().ok());
        EXPECT_TRUE(lists.coursesList.setValue(u"Curso", u"Curso \"uno\""_s).ok());
        EXPECT_TRUE(lists.coursesList.setValue(u"NHoras", 20).ok());
    }
    test::TempDir dir;
    RecoveryFile file;
    ApplicationModel model;
    ApplicationListTables lists;
    FixedClock clock{QDateTime(QDate(2026, 3, 5), QTime(10, 7, 0))};
};

TEST(RecoveryFile, TheWorkComesBackAsItWasWritten) {
    RecoveryFixture f;
    ASSERT_TRUE(f.file.write(f.model, f.lists.lists(), u"12345678Z_10010A2.doc"_s, true, f.clock.now()).ok());
    EXPECT_EQ(QFileInfo(f.file.path()).fileName(), u"12345678Z.recuperacion"_s);
    ApplicationListTables read;
    auto work = f.file.read(read.lists());
    ASSERT_TRUE(work.ok()) << work.error().description.toStdString();
    EXPECT_EQ(work->writtenAt, f.clock.now());
    EXPECT_EQ(work->applicationFile, u"12345678Z_10010A2.doc"_s);
    EXPECT_TRUE(work->identityLocked);
    for (const FormControl& c : f.model.controls()) {
        const FormControl* back = work->model.find(c.name);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->text, c.text) << c.name.toStdString();
        EXPECT_EQ(back->value, c.value) << c.name.toStdString();
        EXPECT_EQ(back->selected, c.selected) << c.name.toStdString();
    }
    EXPECT_FALSE(work->model.isEnabled(ctl::cboCuerpo));
    ASSERT_EQ(read.coursesList.recordCount(), 1);
    read.coursesList.moveFirst();
    EXPECT_EQ(read.coursesList.text(u"Curso"), u"Curso \"uno\""_s);
    EXPECT_EQ(read.coursesList.integer(u"NHoras"), 20);
}

TEST(RecoveryFile, ADamagedFileIsNeverTakenAsWork) {
    RecoveryFixture f;
    ASSERT_TRUE(
        f.file.write(f.model, f.lists.lists(), u"87654321X_10010A2.doc"_s, false, f.clock.now()).ok());
    const QByteArray foreign = test::readFile(f.file.path()); // names another applicant's application
    ASSERT_TRUE(f.file.write(f.model, f.lists.lists(), QString(), false, f.clock.now()).ok());
    const QByteArray whole = test::readFile(f.file.path());
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {{"cut in half", whole.left(whole.size() / 2)},
                 {"not XML", QByteArray("\x00\x01junk", 6)},
                 {"another applicant's", foreign},
                 {"larger than any real one", whole + QByteArray(RecoveryFile::kMaxBytes, ' ')},
                 {"another kind of file", QByteArray("<?xml version=\"1.0\"?><Plazas/>")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeFile(f.file.path(), c.bytes);
        ApplicationListTables read;
        auto work = f.file.read(read.lists());
        ASSERT_FALSE(work.ok());
        EXPECT_TRUE(work.error().description.startsWith(QDir::toNativeSeparators(f.file.path())));
        EXPECT_EQ(read.coursesList.recordCount(), 0);
        EXPECT_FALSE(f.file.header().ok());
    }

    // Set aside byte for byte before it goes, so no later work overwrites the only copy.
    const QString told = f.file.setAsideDamaged(f.file.header().error());
    EXPECT_FALSE(f.file.exists());
    const QStringList copies = QDir(f.dir.path()).entryList({u"*ilegible*"_s});
    ASSERT_EQ(copies.size(), 1);
    const QString copy = QDir(f.dir.path()).filePath(copies.first());
    EXPECT_EQ(test::readFile(copy), QByteArray("<?xml version=\"1.0\"?><Plazas/>"));
    EXPECT_TRUE(told.contains(QDir::toNativeSeparators(copy))) << told.toStdString();

    // A link in its place goes itself; the file it points to is neither copied nor touched.
    const QString other = test::writeFile(f.dir.path() + u"/privado.xml"_s, "de otro");
    ASSERT_TRUE(QFile::link(other, f.file.path()));
    ASSERT_FALSE(f.file.header().ok());
    (void)f.file.setAsideDamaged(f.file.header().error());
    EXPECT_FALSE(f.file.exists());
    EXPECT_EQ(test::readFile(other), "de otro");
    EXPECT_EQ(QDir(f.dir.path()).entryList({u"*ilegible*"_s}).size(), 1);
}

TEST(UnsavedWorkKeeper, TheFileLivesOnlyWhileDataChangesAreUnsaved) {
    RecoveryFixture f;
    UnsavedWorkKeeper keeper(f.file, f.model, f.lists.lists(), f.clock);
    f.model.setText(ctl::txtNombre, u"antes"_s);
    keeper.start();
    f.model.setVisible(ctl::txtSitAdm, true); // the look of a control is no work
    EXPECT_FALSE(keeper.hasUnsavedWork());
    ASSERT_TRUE(keeper.writeNow().ok());
    EXPECT_FALSE(f.file.exists());

    // What the file holds is TheWorkComesBackAsItWasWritten's and UnsavedWork.KilledWhileEditing...'s.
    ASSERT_TRUE(f.lists.vacancyList.addNew().ok());
    EXPECT_TRUE(keeper.hasUnsavedWork());
    ASSERT_TRUE(keeper.writeNow().ok());
    ASSERT_TRUE(f.file.exists());
    ASSERT_TRUE(keeper.discard().ok());
    EXPECT_FALSE(f.file.exists());
    EXPECT_FALSE(keeper.hasUnsavedWork());
    EXPECT_TRUE(f.file.remove().ok()) << "a missing file is no error";
}

} // namespace
} // namespace velmora
