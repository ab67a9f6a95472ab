// Saving never replaces what is not a regular file: a pipe or a device stays what it is.
#include "platform/data/AtomicFile.h"

#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmora;

TEST(AtomicFileTest, RegularFilesAndLinksToThemAreReplacedWhole) {
    test::TempDir dir;
    const QString target = dir.write(u"conf.xml"_s, "antes");
    ASSERT_TRUE(writeFileAtomically(target, "después").ok());
    EXPECT_EQ(dir.read(u"conf.xml"_s), "después");
    ASSERT_TRUE(writeFileAtomically(dir.file(u"nuevo.xml"_s), "nuevo").ok());
    EXPECT_EQ(dir.read(u"nuevo.xml"_s), "nuevo");
}

TEST(AtomicFileTest, PipesFoldersAndLinksToThemAreRefusedAndLeftAsTheyWere) {
    test::TempDir dir;
    const QString fifo = dir.file(u"tuberia"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString link = dir.file(u"enlace"_s);
    ASSERT_TRUE(QFile::link(fifo, link));

    for (const QString& path : {fifo, link, dir.path(), u"/dev/null"_s}) {
        const Status written = writeFileAtomically(path, "datos");
        ASSERT_FALSE(written.ok()) << path.toStdString();
        EXPECT_EQ(
            written.error().description,
            QStringLiteral("No se ha podido guardar el fichero %1: ya existe y no es un fichero normal (es "
                           "una carpeta, un dispositivo o una tubería).")
                .arg(path));
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the pipe was replaced";
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}
