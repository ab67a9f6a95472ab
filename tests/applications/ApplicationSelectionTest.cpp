#include "applications/ApplicationSelection.h"

#include "applications/ApplicationFiles.h"
#include "platform/data/RecordSet.h"
#include "support/FakeMessageService.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::FakeMessageService;
using test::TempDir;

const QString kFirst = QStringLiteral("12345678Z_12345B1.doc");
const QString kSecond = QStringLiteral("12345678Z__1234C1.doc");

class ApplicationSelectionTest : public ::testing::Test {
protected:
    ApplicationSelectionTest() {
        EXPECT_TRUE(
            createTable(bodies, {{"CodCuerpo", ColumnType::Text, 5}, {"DescCuerpo", ColumnType::Text, 60}}));
        const QStringList rows{"12345|Enfermero/a", "1234|Celador/a"};
        for (const QString& row : rows) {
            EXPECT_TRUE(bodies.addNew());
            EXPECT_TRUE(bodies.setValue(u"CodCuerpo", row.section('|', 0, 0)));
            EXPECT_TRUE(bodies.setValue(u"DescCuerpo", row.section('|', 1, 1)));
        }
        for (const QString& name : {kFirst, kSecond}) {
            dir.write(name, "doc");
            dir.write(sidecarFileName(name), "xml");
        }
        EXPECT_EQ(listApplications(dir.path(), "12345678Z", bodies, files).valueOr(-1), 2);
    }

    void expectNothingChosenMessage(const FakeMessageService::Message& m) {
        EXPECT_EQ(m.text, QStringLiteral("Seleccione una Solicitud"));
        EXPECT_EQ(m.title, QStringLiteral("Solicitudes"));
        EXPECT_EQ(m.icon, MessageIcon::Exclamation);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
    }

    QStringList listed() {
        QStringList names;
        for (int i = 0; i < files.recordCount(); ++i)
            names << files.textAt(i, files.columnIndex(u"Fichero"));
        return names;
    }

    TempDir dir;
    RecordSet bodies;
    RecordSet files;
    FakeMessageService messages;
    ApplicationSelection selection{dir.path(), bodies, files, messages};
};

TEST_F(ApplicationSelectionTest, LoadingNeedsAChoice) {
    EXPECT_EQ(selection.chooseForLoading(QString()), QString());
    ASSERT_EQ(messages.messages.size(), 1u);
    expectNothingChosenMessage(messages.messages[0]);
    EXPECT_EQ(selection.chooseForLoading(kFirst), kFirst);
    EXPECT_EQ(messages.messages.size(), 1u);
}

TEST_F(ApplicationSelectionTest, DeletingAsksAndListsAgain) {
    using Deletion = ApplicationSelection::Deletion;
    EXPECT_EQ(selection.deleteChosen(QString()), Deletion::NothingChosen);

    messages.queueAnswer(MessageAnswer::No);
    EXPECT_EQ(selection.deleteChosen(kFirst), Deletion::Kept);
    EXPECT_TRUE(QFileInfo::exists(dir.file(kFirst)));
    EXPECT_EQ(selection.count(), 2);

    messages.queueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(selection.deleteChosen(kFirst), Deletion::Deleted);
    EXPECT_FALSE(QFileInfo::exists(dir.file(kFirst)));
    EXPECT_FALSE(QFileInfo::exists(dir.file(sidecarFileName(kFirst))));
    EXPECT_EQ(selection.count(), 1);
    EXPECT_EQ(listed(), QStringList{kSecond});
    // The short body code is described in the new list too.
    EXPECT_EQ(files.textAt(0, files.columnIndex(u"DescCuerpo")), QStringLiteral("Celador/a"));

    ASSERT_EQ(messages.messages.size(), 3u);
    expectNothingChosenMessage(messages.messages[0]);
    for (int i : {1, 2}) {
        EXPECT_EQ(messages.messages[i].text, QStringLiteral("¿Desea borrar esta solicitud?"));
        EXPECT_EQ(messages.messages[i].title, QStringLiteral("Borrar"));
        EXPECT_EQ(messages.messages[i].icon, MessageIcon::Question);
        EXPECT_EQ(messages.messages[i].buttons, MessageButtons::YesNo);
    }
}

TEST_F(ApplicationSelectionTest, DeletingTheLastWithoutSidecarLeavesAnEmptyList) {
    ASSERT_TRUE(QFile::remove(dir.file(sidecarFileName(kSecond))));
    messages.queueAnswer(MessageAnswer::Yes);
    messages.queueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(selection.deleteChosen(kSecond), ApplicationSelection::Deletion::Deleted);
    EXPECT_EQ(selection.deleteChosen(kFirst), ApplicationSelection::Deletion::Deleted);
    EXPECT_EQ(selection.count(), 0);
    EXPECT_TRUE(files.isOpen());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(messages.messages.size(), 2u) << "a missing sidecar is not reported";
}

} // namespace
} // namespace velmora
