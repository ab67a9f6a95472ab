// How the program finds and checks the contest folder it runs on when started from the menu.
#include "app/ContestFolder.h"

#include "app/UserManualWriter.h"
#include "platform/FolderChooser.h"

#include "support/FakeMessageService.h"
#include "support/FileSizeLimit.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"

#include <QDir>
#include <QSettings>

#include <gtest/gtest.h>

#include <deque>

namespace velmora {
namespace {

// Answers the folder dialog from a list and records where each dialog opened.
class ScriptedFolderChooser : public FolderChooser {
public:
    explicit ScriptedFolderChooser(QStringList answers) : m_answers(answers.begin(), answers.end()) {}
    ~ScriptedFolderChooser() override { EXPECT_TRUE(m_answers.empty()) << "a folder dialog never opened"; }

    QString chooseFolder(const QString& title, const QString& startFolder) override {
        EXPECT_EQ(title, QStringLiteral("Seleccione la carpeta del concurso"));
        startFolders << startFolder;
        if (m_answers.empty())
            return {};
        const QString answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    QStringList startFolders;

private:
    std::deque<QString> m_answers;
};

// A scratch home with folders to choose from and the settings file the programs keep.
class ContestFolderTest : public ::testing::Test {
protected:
    QString contest(const QString& name) const {
        home.write(name + QStringLiteral("/conf.xml"), "<conf/>");
        QDir().mkpath(home.file(name + QStringLiteral("/ficheros")));
        return home.file(name);
    }
    QString pick(const QString& programFolder, const QStringList& answers) {
        ScriptedFolderChooser chooser(answers);
        ContestFolderPicker picker(memory, chooser, messages);
        const QString chosen = picker.pick(programFolder);
        startFolders = chooser.startFolders;
        return chosen;
    }

    test::TempDir home;
    QSettings settings{home.file(QStringLiteral("velmora.conf")), QSettings::IniFormat};
    RememberedContestFolder memory{settings};
    test::FakeMessageService messages;
    QStringList startFolders;
};

TEST_F(ContestFolderTest, SaysWhatAFolderLacksToHoldAContest) {
    home.write(QStringLiteral("solo-conf/conf.xml"), "<conf/>");
    QDir().mkpath(home.file(QStringLiteral("solo-ficheros/ficheros")));
    QDir().mkpath(home.file(QStringLiteral("vacia")));
    const struct {
        const char* folder;
        const char* lacks; // empty: it holds a contest
    } cases[] = {
        {"concurso", ""},
        {"solo-conf", "falta la carpeta ficheros."},
        {"solo-ficheros", "falta el fichero conf.xml."},
        {"vacia", "falta el fichero conf.xml y la carpeta ficheros."},
        {"no-existe", "no existe."},
    };
    contest(QStringLiteral("concurso"));
    for (const auto& c : cases) {
        const QString folder = home.file(QString::fromUtf8(c.folder));
        const Status status = checkContestFolder(folder);
        ASSERT_EQ(status.ok(), *c.lacks == '\0') << c.folder;
        if (!status.ok()) {
            EXPECT_TRUE(status.error().description.startsWith(
                QStringLiteral("La carpeta %1 ").arg(QDir::toNativeSeparators(folder))))
                << status.error().description.toStdString();
            EXPECT_TRUE(status.error().description.contains(QString::fromUtf8(c.lacks))) << c.folder;
        }
    }
}

TEST_F(ContestFolderTest, AFolderWhereNothingCanBeWrittenIsNamedBeforeAnyWork) {
    const QString folder = contest(QStringLiteral("concurso"));
    // The saved applications' folder, which a copied installation may lack, is made.
    ASSERT_TRUE(checkContestFolderWritable(folder));
    EXPECT_TRUE(QDir(folder).exists(QStringLiteral("ficheros/temp")));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("conf.xml")})
        << "the check leaves nothing behind";

    if (!test::FileSizeLimit::supported())
        GTEST_SKIP() << "no way to make writes fail on this platform";
    Status status;
    {
        test::FileSizeLimit full(0); // as on a full disk, and for root too
        status = checkContestFolderUsable(folder);
    }
    ASSERT_FALSE(status.ok());
    EXPECT_TRUE(status.error().description.startsWith(
        QStringLiteral("No se puede escribir en la carpeta %1.").arg(QDir::toNativeSeparators(folder))))
        << status.error().description.toStdString();
}

TEST_F(ContestFolderTest, TheFirstStartAsksUntilAContestIsChosenAndLaterStartsReuseIt) {
    const QString chosen = contest(QStringLiteral("concurso"));
    EXPECT_EQ(pick(home.file(QStringLiteral("bin")), {home.path(), chosen}), chosen);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.texts().first().contains(QStringLiteral("no contiene un concurso")));
    EXPECT_EQ(startFolders, (QStringList{QDir::homePath(), home.path()}))
        << "the dialog reopens where it was";

    messages.messages.clear();
    EXPECT_EQ(pick(home.file(QStringLiteral("bin")), {}), chosen);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(startFolders.isEmpty()) << "no dialog once a folder is remembered";

    // A contest beside the program is used without asking, and remembered instead.
    const QString beside = contest(QStringLiteral("programa"));
    EXPECT_EQ(pick(beside, {}), beside);
    EXPECT_EQ(memory.folder(), beside);
}

TEST_F(ContestFolderTest, AFolderGoneSinceTheLastRunIsSaidAndAnotherAskedFor) {
    memory.remember(home.file(QStringLiteral("retirado")));
    EXPECT_EQ(pick(home.file(QStringLiteral("bin")), {}), QString()) << "the user gave up";
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(
        messages.texts().first().contains(QDir::toNativeSeparators(home.file(QStringLiteral("retirado")))));
    EXPECT_EQ(startFolders.size(), 1);
}

TEST_F(ContestFolderTest, TheManualComesFromTheContestOrElseFromTheInstalledPrograms) {
    const QString folder = contest(QStringLiteral("concurso"));
    const QString bin = home.file(QStringLiteral("usr/bin"));
    EXPECT_EQ(findUserManual(folder, bin), userManualPath(folder))
        << "none installed: the missing file is named";
    const QString installed = home.write(QStringLiteral("usr/share/velmora/Manual de Usuario.doc"), "x");
    EXPECT_EQ(findUserManual(folder, bin), installed);
    home.write(QStringLiteral("concurso/Manual de Usuario.doc"), "x");
    EXPECT_EQ(findUserManual(folder, bin), userManualPath(folder));
}

} // namespace
} // namespace velmora
