#include "support/ContestFixture.h"
#include "support/ToolRun.h"

#include <QDir>

#include <functional>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;

// A contest as another office tool might write it, with an empty line and records without
// their trailing blanks (how each reads is CatalogDecoder's and CatalogLoader's).
TEST(CatalogTool, ChecksAContestWrittenElsewhere) {
    ContestFixture contest;
    TempDir plain;
    plain.write("localidades.txt", "45001Toledo\r\n\r\n13   Talavera\r\n");
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
    EXPECT_EQ(dump.out, u"CodLocalidad,Localidad,CodProvincia\n1300000,Talavera,13\n4500100,Toledo,45\n"_s);

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

TEST(CatalogTool, AFailedLoadLeavesItsLookupsOutOfTheTotals) {
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

// A catalogue cut short, or repeating a key, fails the check naming its file and line; one cut
// at a record's end, or with no record, loads, and the office hears of it.
TEST(CatalogTool, CataloguesCutShortOrRepeatingAKeyAreNamed) {
    ContestFixture contest;
    const auto lastRecordCut = [](const QByteArray& b) {
        const QByteArray body = b.chopped(2);
        return body.left(body.lastIndexOf('\n') + 61) + "\r\n";
    };
    const struct {
        const char* file;
        std::function<QByteArray(const QByteArray&)> change;
        int exitCode;
        const char* said; // in what it printed, or in its errors when it fails
    } cases[] = {
        {"F0009.enc", lastRecordCut, 1,
         "El catálogo F0009.enc (detalle de plazas vacantes) tiene un registro cortado en la línea 100: "
         "acaba en la columna 60 y le falta el campo CodLocalidad, que empieza en la columna 161."},
        {"F0004.enc", [](const QByteArray& b) { return b.left(b.size() / 2 + 20); }, 1,
         "El catálogo F0004.enc (cuerpos) termina a mitad de un registro, en la línea 6 (tiene 20 de sus "
         "107 caracteres): el fichero está cortado."},
        {"F0004.enc", [](const QByteArray& b) { return b.left(b.size() / 2); }, 0,
         "aviso: 3 cuerpos de la relación plaza-cuerpo no están en el catálogo: 01035 01042 01063\n"},
        {"F0010.enc", [](const QByteArray& b) { return b + b.split('\n')[2] + '\n'; }, 1,
         "El catálogo F0010.enc (detalle de plazas de resultas) repite en la línea 101 el código «10002» "
         "de la línea 3."},
        {"F0011.enc", [](const QByteArray&) { return QByteArray(); }, 0,
         "aviso: el catálogo F0011.enc (plazas vacantes ofertadas) no tiene ningún registro\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        const QString path = contest.dataFile(QString::fromLatin1(c.file));
        const QByteArray whole = readFile(path);
        writeFile(path, c.change(whole));
        const ToolOutput check = runTool({"catalog", "check", contest.root()});
        EXPECT_EQ(check.exitCode, c.exitCode) << check.err.toStdString();
        EXPECT_TRUE((c.exitCode == 0 ? check.out : check.err).contains(QString::fromUtf8(c.said)))
            << check.out.toStdString() << check.err.toStdString();
        writeFile(path, whole);
    }
}

TEST(ToolArguments, EveryUsageTextIsSpanish) {
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
