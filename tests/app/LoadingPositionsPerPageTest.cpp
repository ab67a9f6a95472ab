#include "app/LoadedTables.h"
#include "app/LoadingSequence.h"
#include "catalog/CatalogLoader.h"
#include "platform/Progress.h"
#include "support/ContestFixture.h"
#include "support/FakeMessageService.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

namespace {

void setPositionsPerPage(const ContestFixture& contest, const QByteArray& value) {
    QFile conf(QDir(contest.root()).filePath(QStringLiteral("conf.xml")));
    ASSERT_TRUE(conf.open(QIODevice::ReadWrite));
    QByteArray text = conf.readAll();
    ASSERT_TRUE(text.contains("numPlazasPorPag=\"40\""));
    conf.resize(0);
    conf.write(text.replace("numPlazasPorPag=\"40\"", "numPlazasPorPag=\"" + value + "\""));
}

} // namespace

TEST(LoadingPositionsPerPage, AnUnusableSettingIsSaidOnceTheContestHasLoaded) {
    for (const char* value : {"0", "-1", "abc", "1000000000000"}) {
        ContestFixture contest;
        setPositionsPerPage(contest, value);
        LoadedTables tables;
        FakeMessageService messages;
        Progress progress;
        CatalogLoader loader(contest.folders().data, messages);
        ASSERT_TRUE(loader.buildBodies(tables.bodies));
        ASSERT_TRUE(LoadingSequence(contest.folders(), tables, messages, progress).run().loaded) << value;
        ASSERT_EQ(messages.messages.size(), 1u) << value;
        EXPECT_EQ(
            messages.messages[0].text,
            QStringLiteral("Aviso de la configuración del concurso (conf.xml):\nnumPlazasPorPag \"%1\" no "
                           "es válido; se usan 40")
                .arg(QString::fromLatin1(value)));
        EXPECT_EQ(messages.messages[0].title, programTitle());
        EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(messages.messages[0].buttons, MessageButtons::Ok);
    }
}
