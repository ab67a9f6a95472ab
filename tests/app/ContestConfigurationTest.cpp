#include "app/ContestConfiguration.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TempDir;

namespace {

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

} // namespace

TEST(ContestConfiguration, ReadsTabsAndDerivesTheTemplateKey) {
    TempDir dir;
    dir.write("conf.xml", confWith({"S", "N", "S", "S", "N", "S", "S"}));
    const auto config = ContestConfiguration::read(dir.path());
    ASSERT_TRUE(config) << config.error().description.toStdString();
    EXPECT_EQ(config->contestName, u"Concurso Ñ"_s);
    EXPECT_EQ(config->positionsPerPageSetting().count, 40);
    EXPECT_EQ(config->templateFolderKey, u"DOT_10110"_s);
    EXPECT_FALSE(config->tabs[1].isVisible());
    EXPECT_EQ(config->tabs[4].index, 4);
    EXPECT_EQ(config->tabs[2].title, u" Título 2"_s) << "values are taken as they stand";
    EXPECT_EQ(config->tabs[3].gridTitle, u"Rejilla 3 "_s);
    EXPECT_EQ(windowCaption(config->contestName), u"Concurso Ñ 1.0.0"_s);

    dir.write("conf.xml", confWith({"s", "S", "S", "S", "S"}));
    EXPECT_EQ(ContestConfiguration::read(dir.path())->templateFolderKey, u"DOT_01111"_s);
}

TEST(ContestConfiguration, ReadsAFileSavedAsUtf16WithBlankValuesKept) {
    TempDir dir;
    QString xml = QString::fromLatin1(confWith({"S", "S", "S", "S", "S"}));
    xml.replace(u"iso-8859-1"_s, u"UTF-16"_s).replace(u" Título 1"_s, u"   "_s);
    QByteArray bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char*>(xml.utf16()), xml.size() * 2);
    dir.write("conf.xml", bytes);
    const auto config = ContestConfiguration::read(dir.path());
    ASSERT_TRUE(config) << config.error().description.toStdString();
    EXPECT_EQ(config->contestName, u"Concurso Ñ"_s);
    EXPECT_EQ(config->tabs[1].title, u"   "_s);
    EXPECT_EQ(config->tabs[2].title, u" Título 2"_s);
}

TEST(ContestConfiguration, EveryPathMustBePresent) {
    TempDir dir;
    EXPECT_FALSE(ContestConfiguration::readContestName(dir.path())) << "no conf.xml";
    dir.write("conf.xml", confWith({"S", "S", "S", "S"}));
    EXPECT_TRUE(ContestConfiguration::readContestName(dir.path()));
    EXPECT_FALSE(ContestConfiguration::read(dir.path())) << "only four tabs";
    dir.write("conf.xml", "<Configuracion Nombre='x'");
    EXPECT_FALSE(ContestConfiguration::readContestName(dir.path())) << "not well-formed";
}

TEST(ContestConfiguration, HeadlineStartsEveryLineWithALineBreak) {
    TempDir dir;
    dir.write("FicheroTexto.txt", "A\r\n\r\nB\xE1\r\n");
    EXPECT_EQ(*readHeadline(dir.path()), u"\r\nA\r\n\r\nBá"_s);
    dir.write("FicheroTexto.txt", "A\r\nB");
    EXPECT_EQ(*readHeadline(dir.path()), u"\r\nA\r\nB"_s);
    EXPECT_FALSE(readHeadline(dir.file("nada")));
}
