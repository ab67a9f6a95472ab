#include "support/ContestFixture.h"
#include "support/ToolRun.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

// A contest as another office tool might write it, with an empty and a short line (how each
// reads is CatalogDecoder's and CatalogLoader's).
TEST(CatalogTool, ChecksAndDumpsAContestWrittenElsewhere) {
    ContestFixture contest;
    TempDir plain;
    plain.write("localidades.txt", "45001Toledo\r\n\r\n13\r\n");
    ASSERT_EQ(
        runTool({"catalog", "encode", plain.file("localidades.txt"), contest.dataFile("F0003.enc")}).exitCode,
        0);

    // The office hears of a page setting the printing will not use as written.
    replaceInFile(contest.root() + u"/conf.xml"_s, "numPlazasPorPag=\"40\"", "numPlazasPorPag=\"0\"");

    const ToolOutput check = runTool({"catalog", "check", contest.root()});
    EXPECT_EQ(check.exitCode, 0) << check.err.toStdString();
    for (const char* line :
         {"\naviso: numPlazasPorPag \"0\" no es válido; se usan 40\n", "\nlocalities 2\n", "body-positions ",
          "\ngroup-positions 3 of 3\n", "aviso: 1 códigos ofertados como vacantes no figuran"})
        EXPECT_TRUE(check.out.contains(QString::fromUtf8(line))) << line;

    const ToolOutput dump = runTool({"catalog", "check", contest.root(), "--dump", "localities2"});
    EXPECT_EQ(dump.exitCode, 0);
    EXPECT_EQ(dump.out, u"CodLocalidad,Localidad,CodProvincia\n1300000,,13\n4500100,Toledo,45\n"_s);

    const ToolOutput bad = runTool({"catalog", "check", contest.root(), "--dump", "nothing"});
    EXPECT_NE(bad.exitCode, 0);
}

TEST(CatalogTool, LoadingsAtOnceReadWhatOneAloneReads) {
    ContestFixture contest;
    const QStringList args{"catalog", "check", contest.root()};
    const ToolOutput alone = runTool(args);
    ASSERT_EQ(alone.exitCode, 0) << alone.err.toStdString();
    for (int round = 0; round < 3; ++round) {
        QProcess first, second;
        for (QProcess* process : {&first, &second})
            process->start(QStringLiteral(VELMORA_TOOLS_PATH), args);
        for (QProcess* process : {&first, &second}) {
            ASSERT_TRUE(process->waitForFinished(120000));
            EXPECT_EQ(process->exitCode(), 0);
            EXPECT_EQ(QString::fromUtf8(process->readAllStandardOutput()), alone.out);
        }
    }
    EXPECT_EQ(QDir(contest.dataFile(QString())).entryList({u"*.tmp"_s}, QDir::Files), QStringList());

    // Output that cannot be written is a failure too.
    QProcess full;
    full.setStandardOutputFile(u"/dev/full"_s);
    full.start(QStringLiteral(VELMORA_TOOLS_PATH), args);
    ASSERT_TRUE(full.waitForFinished(120000));
    EXPECT_NE(full.exitCode(), 0);
}

TEST(CatalogTool, ListsTheCandidatesOfABodyOrAGroup) {
    ContestFixture contest;
    const QStringList bodies = runTool({"catalog", "check", contest.root(), "--dump", "bodies"})
                                   .out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(bodies.size(), 3);
    ASSERT_TRUE(bodies.last().endsWith(u",X"_s));
    const QString first = bodies[1].section(QLatin1Char(','), 0, 0);
    const auto candidates = [&](const QStringList& args) {
        return runTool(QStringList{"catalog", "candidates", contest.root()} + args);
    };

    const ToolOutput offered = candidates({"--body", first, "--list", "vacancy"});
    ASSERT_EQ(offered.exitCode, 0);
    EXPECT_TRUE(offered.out.startsWith(u"CodConvocatoria,NomConvocatoria,Consejeria,Localidad,"_s));
    EXPECT_LT(offered.out.count(QLatin1Char('\n')),
              candidates({"--body", first, "--details", "--list", "vacancy"}).out.count(QLatin1Char('\n')))
        << "offered positions are a part of all the body's positions";
    const ToolOutput none =
        candidates({"--body", bodies.last().section(QLatin1Char(','), 0, 0), "--list", "resultas"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_FALSE(none.err.isEmpty());
    EXPECT_EQ(candidates({"--group", "A1", "--list", "resultas"}).exitCode, 0);
}

TEST(CatalogTool, AFailedLoadIsReportedAndItsLookupsLeftOutOfTheTotals) {
    ContestFixture contest;
    // A character whose shifted code leaves 0..255 stops the load of the position-group links:
    // the groups are read, their lookups never made.
    writeFile(contest.dataFile("F0007.enc"), "456\r\n\x01\r\n");
    const ToolOutput failed = runTool({"catalog", "check", contest.root()});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.contains(u"Se ha producido el siguiente error 5-"_s)) << failed.err.toStdString();
    EXPECT_TRUE(failed.out.contains(u"\ngroups 3\n"_s));
    EXPECT_TRUE(failed.out.contains(u"\ngroup-positions 0 of 3\n"_s)) << failed.out.toStdString();
}

TEST(ToolArguments, HelpAndMistakesAreSpanish) {
    const ToolOutput help = runTool({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(u"Uso: velmora-tools ORDEN [argumentos]\n\nÓrdenes:\n"_s));
    EXPECT_TRUE(help.out.contains(u"  manual CARPETA\n      Escribe el «Manual de Usuario.doc"_s));

    // Every mistake is named, then the order's usage line; the exit status is 2.
    const QString checkUsage = u"Uso: velmora-tools catalog check CARPETA [--dump TABLA]\n"_s;
    const std::pair<QStringList, QString> mistakes[] = {
        {{"catalog", "check", "x", "--nada"}, "Opción desconocida: --nada\n" + checkUsage},
        {{"catalog", "check"}, "Faltan argumentos.\n" + checkUsage},
        {{"catalog", "check", "x", "--dump"}, "Falta el valor de la opción --dump\n" + checkUsage},
        {{"sample-install", "x", "--scale", "huge"}, "El tamaño (--scale) es small, realistic o large.\n"},
        {{"imprimir"}, "Orden desconocida: imprimir\nUso: "}};
    for (const auto& [args, error] : mistakes) {
        const ToolOutput wrong = runTool(args);
        EXPECT_EQ(wrong.exitCode, 2) << error.toStdString();
        EXPECT_TRUE(wrong.err.startsWith(error)) << wrong.err.toStdString();
    }
}
