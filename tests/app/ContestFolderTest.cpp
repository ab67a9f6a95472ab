// How the program finds and checks the contest folder it runs on when started from the menu, and
// reads its configuration.
#include "app/ContestFolder.h"

#include "app/ContestConfiguration.h"
#include "app/SampleInstallation.h"
#include "app/UserManualWriter.h"
#include "platform/AppFolders.h"
#include "platform/docengine/WordProcessor.h"
#include "printing/TemplateWriter.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "support/TemplateChecks.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Answers the folder dialog from a list and records where each dialog opened and what was
// told before it.
struct ScriptedFolderChooser : ContestFolderQuestion {
    explicit ScriptedFolderChooser(QStringList scripted) : answers(std::move(scripted)) {}
    ~ScriptedFolderChooser() override { EXPECT_TRUE(answers.empty()) << "a folder dialog never opened"; }

    QString chooseFolder(const QString& title, const QString& startFolder,
                         const std::optional<Error>& why) override {
        EXPECT_EQ(title, QStringLiteral("Seleccione la carpeta del concurso"));
        startFolders << startFolder;
        if (why)
            told << why->description;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers;
    QStringList startFolders;
    QStringList told;
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
        ContestFolderPicker picker(memory, chooser);
        const QString chosen = picker.pick(programFolder);
        startFolders = chooser.startFolders;
        told = chooser.told;
        return chosen;
    }

    test::TempDir home;
    QSettings settings{home.file(QStringLiteral("velmora.conf")), QSettings::IniFormat};
    RememberedContestFolder memory{settings};
    QStringList startFolders;
    QStringList told;
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

TEST_F(ContestFolderTest, AChosenContestFolderIsRememberedWhileItLasts) {
    const QString chosen = contest(QStringLiteral("concurso"));
    EXPECT_EQ(pick(home.file(QStringLiteral("bin")), {home.path(), chosen}), chosen);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told.first().contains(QStringLiteral("no contiene un concurso")));
    EXPECT_EQ(startFolders, (QStringList{QDir::homePath(), home.path()}))
        << "the dialog reopens where it was";

    EXPECT_EQ(pick(home.file(QStringLiteral("bin")), {}), chosen);
    EXPECT_TRUE(told.empty());
    EXPECT_TRUE(startFolders.isEmpty()) << "no dialog once a folder is remembered";

    // A contest beside the program is used without asking, and remembered instead.
    const QString beside = contest(QStringLiteral("programa"));
    EXPECT_EQ(pick(beside, {}), beside);
    EXPECT_EQ(memory.folder(), beside);

    // A folder gone since the last run is said, and another asked for.
    memory.remember(home.file(QStringLiteral("retirado")));
    EXPECT_EQ(pick(home.file(QStringLiteral("bin")), {}), QString()) << "the user gave up";
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told.first().contains(QDir::toNativeSeparators(home.file(QStringLiteral("retirado")))));
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

QByteArray confWith(const QStringList& visibility, const QString& extra = {}) {
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\n"
                                 "<Configuracion Nombre=\"Concurso Ñ\" numPlazasPorPag=\"40\">\n");
    for (int i = 0; i < visibility.size(); ++i)
        xml += QStringLiteral(
                   "<Tab><NombreTab>T%1</NombreTab><Visibilidad>%2</Visibilidad>"
                   "<TituloTab> Título %1</TituloTab><TituloSobreGrid>Rejilla %1 </TituloSobreGrid></Tab>\n")
                   .arg(i)
                   .arg(visibility[i]);
    xml += extra + u"</Configuracion>\n"_s;
    return xml.toLatin1();
}

TEST(ContestConfiguration, ReadsTheContestSettingsOfConfXml) {
    test::TempDir dir;
    dir.write("conf.xml", confWith({"S", "N", "S", "S", "N", "S", "S"}));
    const auto config = ContestConfiguration::read(dir.path());
    ASSERT_TRUE(config) << config.error().description.toStdString();
    EXPECT_EQ(config->contestName, u"Concurso Ñ"_s);
    EXPECT_EQ(config->positionsPerPageSetting().count, 40);
    EXPECT_EQ(config->templateFolderKey, u"DOT_10110"_s);
    EXPECT_FALSE(config->tabs[1].isVisible());
    EXPECT_EQ(config->tabs[4].index, 4);
    // Values are taken as they stand; the encodings are readXml's (XmlFileTest).
    EXPECT_EQ(config->tabs[2].title, u" Título 2"_s);
    EXPECT_EQ(config->tabs[3].gridTitle, u"Rejilla 3 "_s);
    EXPECT_EQ(windowCaption(config->contestName), u"Concurso Ñ 1.0.0"_s);

    dir.write("conf.xml", confWith({"s", "S", "S", "S", "S"}));
    EXPECT_EQ(ContestConfiguration::read(dir.path())->templateFolderKey, u"DOT_01111"_s);
}

TEST(ContestConfiguration, EveryPathMustBePresent) {
    test::TempDir dir;
    EXPECT_FALSE(ContestConfiguration::readContestName(dir.path())) << "no conf.xml";
    dir.write("conf.xml", confWith({"S", "S", "S", "S"}));
    EXPECT_TRUE(ContestConfiguration::readContestName(dir.path()));
    EXPECT_FALSE(ContestConfiguration::read(dir.path())) << "only four tabs";
    dir.write("conf.xml", "<Configuracion Nombre='x'");
    EXPECT_FALSE(ContestConfiguration::readContestName(dir.path())) << "not well-formed";
}

TEST(ContestHeadline, EveryLineStartsWithALineBreak) {
    test::TempDir dir;
    dir.write("FicheroTexto.txt", "A\r\n\r\nB\xE1\r\n");
    EXPECT_EQ(*readHeadline(dir.path()), u"\r\nA\r\n\r\nBá"_s);
    dir.write("FicheroTexto.txt", "A\r\nB");
    EXPECT_EQ(*readHeadline(dir.path()), u"\r\nA\r\nB"_s);
    EXPECT_FALSE(readHeadline(dir.file("nada")));
}

// The one test that writes the templates of all 32 keys: each of them must be usable,
// whatever tabs a contest's conf.xml shows.
TEST(SampleInstallation, ShipsEveryFileTheProgramOpens) {
    test::TempDir dir;
    ASSERT_TRUE(writeSampleInstallation(dir.path(), SampleScale::Small, 3));
    const AppFolders folders = AppFolders::at(dir.path());

    for (const TemplateKey& key : TemplateKey::all()) {
        for (TemplateGeneration g : {TemplateGeneration::Current, TemplateGeneration::Legacy}) {
            const QString path =
                QDir(folders.data).filePath(key.folderName() + QLatin1Char('/') + templateFileName(g));
            docengine::WordProcessor word;
            auto doc = word.addDocument(path);
            ASSERT_TRUE(doc.ok()) << path.toStdString();
            test::expectCompleteTemplate(*doc.value(), key, g);
        }
    }

    // The folder the sample contest's own conf.xml points printing to is among them.
    auto conf = ContestConfiguration::read(folders.program);
    ASSERT_TRUE(conf.ok());
    EXPECT_TRUE(
        QFile::exists(QDir(folders.data).filePath(conf.value().templateFolderKey + u"/PlantillaWXP.dot"_s)));

    EXPECT_TRUE(QFile::exists(userManualPath(folders.program)));
}

} // namespace
} // namespace velmora
