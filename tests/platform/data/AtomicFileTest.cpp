// Saving replaces a regular file whole, and nothing else: not a pipe, a device, nor what a
// link points to.
#include "platform/data/AtomicFile.h"
#include "platform/data/DamagedFileCopy.h"

#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velmora;

TEST(AtomicFileTest, ARegularFileIsReplacedWholeStayingAsPrivate) {
    test::TempDir dir;
    const QString target = dir.write(u"usuarios.xml"_s, "antes");
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(writeFileAtomically(target, "después").ok());
    EXPECT_EQ(dir.read(u"usuarios.xml"_s), "después");
    EXPECT_EQ(QFileInfo(target).permissions() & 0x0FFF, QFile::ReadUser | QFile::WriteUser);
    const Result<QString> copy = keepDamagedCopyOf(target, dir.path()); // as private as its original
    ASSERT_TRUE(copy.ok()) << copy.error().description.toStdString();
    EXPECT_EQ(test::readFile(copy.value()), "después");
    EXPECT_EQ(QFileInfo(copy.value()).permissions() & 0x0FFF, QFile::ReadUser | QFile::WriteUser);
    QFile::remove(copy.value());
    ASSERT_TRUE(writeFileAtomically(dir.file(u"nuevo.xml"_s), "nuevo").ok());
    EXPECT_EQ(dir.read(u"nuevo.xml"_s), "nuevo");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "no new file is left beside them";
}

TEST(AtomicFileTest, WhatIsNotARegularFileIsNeverWritten) {
    test::TempDir dir;
    const QString fifo = dir.file(u"tuberia"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString other = dir.write(u"12345678Z_10010A2.xml"_s, "de otro");
    const QString toFifo = dir.file(u"enlace"_s), toFile = dir.file(u"99999999R.recuperacion"_s);
    ASSERT_TRUE(QFile::link(fifo, toFifo));
    ASSERT_TRUE(QFile::link(other, toFile));
    const QString notRegular =
        u"No se ha podido guardar el fichero %1: ya existe y no es un fichero normal (es "
        u"una carpeta, un dispositivo o una tubería)."_s;
    const QString link = u"No se ha escrito el fichero %1: es un enlace a otro fichero, y el programa no "
                         u"escribe a través de enlaces."_s;
    const struct {
        const char* name;
        QString path;
        QString expected;
    } cases[] = {{"pipe", fifo, notRegular},
                 {"folder", dir.path(), notRegular},
                 {"device", u"/dev/null"_s, notRegular},
                 {"link to a pipe", toFifo, link},
                 {"link to a file", toFile, link}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Status written = writeFileAtomically(c.path, "datos");
        ASSERT_FALSE(written.ok());
        EXPECT_EQ(written.error().description, c.expected.arg(c.path));
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the pipe was replaced";
    EXPECT_TRUE(QFileInfo(toFile).isSymLink());
    EXPECT_EQ(test::readFile(other), "de otro") << "written through the link";
    EXPECT_FALSE(keepDamagedCopyOf(toFile, dir.path()).ok()) << "a link's target copied into the folder";
}
