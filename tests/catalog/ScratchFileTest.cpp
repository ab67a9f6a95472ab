// The decoding scratch file is created afresh each time: whatever was planted at its name is
// replaced, never written through.
#include "catalog/CatalogDecoder.h"

#include "support/FakeMessageService.h"
#include "support/TempDir.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace velmora {
namespace {

TEST(CatalogScratchFile, ALinkAtTheScratchNameIsReplacedAndItsTargetLeftAlone) {
    test::TempDir dir;
    const QString victim = dir.write(QStringLiteral("usuarios.xml"), "<usuarios/>");
    ASSERT_TRUE(QFile::link(victim, dir.file(QStringLiteral("temp.tmp"))));
    dir.write(QStringLiteral("F0001.enc"), "KROD\r\n");
    test::FakeMessageService messages;

    EXPECT_EQ(DecodeFile(dir.path(), QStringLiteral("F0001.enc"), messages), QStringLiteral("temp.tmp"));
    EXPECT_TRUE(messages.texts().isEmpty());
    EXPECT_EQ(dir.read(QStringLiteral("usuarios.xml")), "<usuarios/>");
    const QFileInfo scratch(dir.file(QStringLiteral("temp.tmp")));
    EXPECT_FALSE(scratch.isSymLink());
    EXPECT_EQ(dir.read(QStringLiteral("temp.tmp")), "HOLA\r\n");
}

TEST(CatalogScratchFile, APipeAtTheScratchNameNeitherHangsNorStays) {
    test::TempDir dir;
    const QString scratch = dir.file(QStringLiteral("temp.tmp"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(scratch).constData(), 0600), 0);
    dir.write(QStringLiteral("F0001.enc"), "KROD\r\n");
    test::FakeMessageService messages;

    EXPECT_EQ(DecodeFile(dir.path(), QStringLiteral("F0001.enc"), messages), QStringLiteral("temp.tmp"));
    EXPECT_TRUE(QFileInfo(scratch).isFile());
    EXPECT_EQ(dir.read(QStringLiteral("temp.tmp")), "HOLA\r\n");
}

} // namespace
} // namespace velmora
