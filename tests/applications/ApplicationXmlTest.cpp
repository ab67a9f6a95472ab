#include "applications/ApplicationXml.h"

#include "applications/ListConsistency.h"
#include "support/EmptyApplicationLists.h"
#include "support/TableText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::TempDir;

const QByteArray kDeclaration = R"(<?xml version="1.0" encoding="iso-8859-1"?>)";

using Lists = test::EmptyApplicationLists;

void addRow(RecordSet& table, const QList<std::pair<QString, QVariant>>& values) {
    ASSERT_TRUE(table.addNew().ok());
    for (const auto& [column, value] : values)
        ASSERT_TRUE(table.setValue(column, value).ok()) << column.toStdString();
}

void addPlaza(RecordSet& table, qint64 id, qint64 orden, const QString& code, const QString& name,
              const QString& demarcacion = QString()) {
    addRow(table, {{"IdSolicitud", id},
                   {"Orden", orden},
                   {"CodConvocatoria", code},
                   {"NomConvocatoria", name},
                   {"Consejeria", "Hospital " + code},
                   {"Localidad", "Localidad " + code},
                   {"CodArea", "A" + code},
                   {"CodZona", "Z" + code},
                   {"Area", "Área " + code},
                   {"Zona", "Zona " + code},
                   {"Demarcacion", demarcacion}});
}

void writeAndRead(Lists& source, Lists& target, TempDir& dir) {
    EXPECT_TRUE(writeApplicationLists("000000123__12340A.xml", dir.path(), source.lists(), dir.path()).ok());
    const Result<SidecarRead> read =
        readApplicationLists(dir.path(), "000000123__12340A.xml", target.lists());
    EXPECT_TRUE(read.ok() && *read == SidecarRead::Loaded);
}

// An empty list (Resultas here) still gives its element.
TEST(ApplicationXmlWriter, ElementsFollowTheFixedOrderOfEachEntry) {
    Lists lists;
    addPlaza(lists.vacancies, 0, 1, "00001", "Enfermero", "Norte");
    addRow(lists.courses,
           {{"Curso", "Urgencias"}, {"NHoras", 20}, {"Ano", 2001}, {"Centro", "EVES"}, {"IdCurso", 0}});
    addRow(lists.documents, {{"IdDocumento", 4},
                             {"Documento", "Título"},
                             {"Horas", "12"},
                             {"Fecha", "01/02/2003"},
                             {"Centro", "Escuela"}});
    const QString text = buildApplicationXml(lists.lists());
    EXPECT_EQ(text,
              QString::fromLatin1(kDeclaration) +
                  "<Plazas><Vacantes><Plaza><CodConvocatoria>00001</CodConvocatoria>"
                  "<NomConvocatoria>Enfermero</NomConvocatoria><Orden>1</Orden>"
                  "<Localidad>Localidad 00001</Localidad><Consejeria>Hospital 00001</Consejeria>"
                  "<IdSolicitud>0</IdSolicitud><CodArea>A00001</CodArea><CodZona>Z00001</CodZona>"
                  "<Demarcacion>Norte</Demarcacion><Area>Área 00001</Area><Zona>Zona 00001</Zona></Plaza>"
                  "</Vacantes><Resultas></Resultas><Cursos><CursoRealizado><Curso>Urgencias</Curso>"
                  "<NHoras>20</NHoras><Ano>2001</Ano><Centro>EVES</Centro><IdCurso>0</IdCurso>"
                  "</CursoRealizado></Cursos><Documentos><Doc><Documento>Título</Documento>"
                  "<IdDocumento>4</IdDocumento><Horas>12</Horas><Fecha>01/02/2003</Fecha>"
                  "<Centro>Escuela</Centro></Doc></Documentos></Plazas>");
    // Latin-1 bytes, as declared.
    EXPECT_TRUE(encodeApplicationXml(text).contains("T\xEDtulo"));
}

TEST(ApplicationXmlRoundTrip, EveryColumnOfEveryListComesBackInOrder) {
    TempDir dir;
    Lists source;
    // Added last to first: the file follows the view's order.
    for (int i = 0; i < 40; ++i)
        addPlaza(source.vacancies, i, 40 - i, u"%1"_s.arg(i, 5, 10, QLatin1Char('0')),
                 "Puesto " + QString::number(i), i % 2 ? "Demarcación" : "");
    ASSERT_TRUE(source.vacancies.setSort("Orden ASC").ok());
    source.vacancies.moveFirst();
    source.vacancies.moveNext();
    addPlaza(source.resultas, 7, 1, "00099", "Celador");
    addPlaza(source.resultas, 3, 2, "00001", "Enfermero");
    addRow(
        source.courses,
        {{"Curso", "Soporte vital"}, {"NHoras", 40}, {"Ano", 1999}, {"Centro", "Hospital"}, {"IdCurso", 0}});
    addRow(source.courses, {{"Curso", "Gestión"},
                            {"NHoras", 9000000000LL},
                            {"Ano", 2020},
                            {"Centro", "Escuela"},
                            {"IdCurso", 5}});
    addRow(source.documents, {{"IdDocumento", 0},
                              {"Documento", "Certificado"},
                              {"Horas", "30"},
                              {"Fecha", "03/04/2005"},
                              {"Centro", "Centro"}});
    addRow(source.documents, {{"IdDocumento", 2}, {"Documento", "Sólo nombre"}});

    Lists target;
    writeAndRead(source, target, dir);
    EXPECT_EQ(source.vacancies.text(u"CodConvocatoria"), "00038") << "the cursor left its row";
    for (RecordSet Lists::*list : {&Lists::vacancies, &Lists::resultas, &Lists::courses, &Lists::documents})
        EXPECT_EQ(test::rowsOf(target.*list), test::rowsOf(source.*list));
}

TEST(ApplicationXmlRoundTrip, HostileTextsComeBackAsXmlCanHoldThem) {
    TempDir dir;
    const QStringList hostile = {"a<b",          "x > y & z",        "\"comillas\" y 'apóstrofos'",
                                 "ñÑáéíóúü ÀÇ",  "€ – “curvas” ™ Œ", "𝄞 emoji 😀",
                                 "]]>",          "&amp; literal",    "tab\there",
                                 "línea\nnueva", "retorno\r\nfinal", " ",
                                 "  dos  ",      "<![CDATA[x]]>",    "C1 \u0085 control"};
    // Characters XML cannot hold come back as question marks.
    const QString unwritable = QString("bell") + QChar(7) + "end" + QChar(0xD800);
    Lists source;
    qint64 id = 0;
    for (const QString& value : hostile) {
        addPlaza(source.vacancies, id, id + 1, "0000" + QString::number(id % 10), value, value);
        ++id;
    }
    // Course and document names lose their "&" to blanks; every other field keeps it.
    addRow(source.documents, {{"IdDocumento", 0},
                              {"Documento", "Título & R&D"},
                              {"Horas", "<5>"},
                              {"Fecha", "\"1\""},
                              {"Centro", "A & B <C>"}});
    addRow(source.courses,
           {{"Curso", "Salud & Seguridad"}, {"NHoras", 1}, {"Ano", 2000}, {"Centro", "A&B"}, {"IdCurso", 0}});
    Lists target;
    writeAndRead(source, target, dir);
    EXPECT_EQ(test::rowsOf(target.vacancies), test::rowsOf(source.vacancies));
    EXPECT_EQ(test::rowsOf(target.documents), QStringList{"0|Título   R D|<5>|\"1\"|A & B <C>"});
    EXPECT_EQ(test::rowsOf(target.courses), QStringList{"Salud   Seguridad|1|2000|A B|0"});

    Lists unwritableSource, unwritableTarget;
    addPlaza(unwritableSource.vacancies, 0, 1, "00001", unwritable);
    writeAndRead(unwritableSource, unwritableTarget, dir);
    unwritableTarget.vacancies.moveFirst();
    EXPECT_EQ(unwritableTarget.vacancies.text(u"NomConvocatoria"), "bell?end?");
}

TEST(ApplicationXmlReader, ReadsFilesWrittenByTheEarlierProgram) {
    // Unescaped Latin-1 text with the Windows-1252 euro byte, as the earlier program saved it.
    TempDir dir;
    const QByteArray file =
        kDeclaration +
        "<Plazas><Vacantes><Plaza><CodConvocatoria>12345</CodConvocatoria><NomConvocatoria>Auxiliar \xF1 "
        "\x80</NomConvocatoria><Orden>1</Orden><Localidad>Logro\xF1o</Localidad><Consejeria>C</Consejeria>"
        "<IdSolicitud>0</IdSolicitud><CodArea></CodArea><CodZona></CodZona><Demarcacion></Demarcacion>"
        "<Area></Area><Zona></Zona></Plaza><Plaza><CodConvocatoria>22222</CodConvocatoria><NomConvocatoria>"
        "B</NomConvocatoria><Orden>2</Orden><Localidad>L</Localidad><Consejeria>C</Consejeria><IdSolicitud>1"
        "</IdSolicitud><CodArea>1</CodArea><CodZona>2</CodZona><Demarcacion>D</Demarcacion><Area>A</Area>"
        "<Zona>Z</Zona></Plaza></Vacantes><Resultas></Resultas><Cursos><CursoRealizado><Curso>Curso  uno"
        "</Curso><NHoras>10</NHoras><Ano>1990</Ano><Centro>Centro</Centro><IdCurso>0</IdCurso></"
        "CursoRealizado><CursoRealizado><Curso>A\xF1o</Curso><NHoras></NHoras><Ano> 2001 </Ano><Centro>  "
        "</Centro><IdCurso>3</IdCurso></CursoRealizado></Cursos><Documentos><Doc><Documento>D</"
        "Documento><IdDocumento>0</IdDocumento><Horas></Horas><Fecha>"
        "</Fecha><Centro></Centro></Doc></Documentos></Plazas>";
    dir.write("s.xml", file);
    Lists lists;
    EXPECT_EQ(readApplicationLists(dir.path(), "s.xml", lists.lists()).value(), SidecarRead::Loaded);
    EXPECT_EQ(test::rowsOf(lists.vacancies),
              (QStringList{"0|1|12345|Auxiliar ñ €|C|Logroño|||||", "1|2|22222|B|C|L|1|2|A|Z|D"}));
    // An empty integer element reads as zero.
    EXPECT_EQ(test::rowsOf(lists.courses), (QStringList{"Curso  uno|10|1990|Centro|0", "Año|0|2001|  |3"}));
    EXPECT_EQ(test::rowsOf(lists.documents), QStringList{"0|D|||"});
}

// Rows are read all or nothing: a file missing or not XML is said by the outcome, one lacking
// an element or holding text for a number is an error.
TEST(ApplicationXmlReader, AFileThatCannotBeReadWhollyAddsNothing) {
    TempDir dir;
    Lists source;
    addPlaza(source.vacancies, 0, 1, "00001", "uno");
    addRow(source.courses, {{"Curso", "c"}, {"NHoras", 1}, {"Ano", 2000}, {"Centro", "x"}, {"IdCurso", 0}});
    ASSERT_TRUE(writeApplicationLists("s.xml", dir.path(), source.lists(), dir.path()).ok());
    const QByteArray good = dir.read("s.xml");
    Lists target;
    addPlaza(target.vacancies, 0, 1, "00001", "ya estaba");
    const QStringList before = test::rowsOf(target.vacancies);
    EXPECT_EQ(readApplicationLists(dir.path(), "no-existe.xml", target.lists()).value(),
              SidecarRead::Missing);

    struct Case {
        QByteArray from, to;
        int error; // 0: read as Malformed
    };
    const Case cases[] = {
        {"<Plazas", "<Plazas><Vacantes><Plaza><NomConvocatoria>a<b</NomConvocatoria><Plazas", 0},
        {"<Zona>Zona 00001</Zona>", "", 91},           // a vacancy without Zona
        {"<IdCurso>0</IdCurso>", "", 91},              // the last list read lacks a column
        {"<Ano>2000</Ano>", "<Ano>dos mil</Ano>", 13}, // integer column with text
        {"<Orden>1</Orden>", "<Orden>1.5</Orden>", 13},
        {"</Plaza></Vacantes>", "</Plaza><Otro/></Vacantes>", 91}, // a child that is not a Plaza
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to.constData());
        QByteArray bad = good;
        ASSERT_TRUE(bad.contains(c.from));
        dir.write("bad.xml", bad.replace(c.from, c.to));
        const Result<SidecarRead> read = readApplicationLists(dir.path(), "bad.xml", target.lists());
        if (c.error == 0)
            EXPECT_EQ(read.valueOr(SidecarRead::Loaded), SidecarRead::Malformed);
        else
            EXPECT_EQ(read.ok() ? 0 : read.error().number, c.error);
        EXPECT_EQ(test::rowsOf(target.vacancies), before);
        EXPECT_EQ(
            target.resultas.recordCount() + target.courses.recordCount() + target.documents.recordCount(), 0);
    }
}

TEST(ListConsistency, NamesTheFirstThingAFinalPrintoutCannotCarry) {
    struct Row {
        qint64 order;
        const char* code;
    };
    struct Case {
        std::vector<Row> vacancies, resultas;
        const char* problem; // nullptr: none
    };
    const Case cases[] = {
        {{{2, "00002"}, {1, "00001"}}, {{1, "00001"}}, nullptr},
        {{}, {}, nullptr},
        {{{5, "00005"},
          {5, "00006"},
          {9, "00009"},
          {2, "00002"},
          {0, "00000"},
          {-3, "0000A"},
          {7, "00007"},
          {100000, "00010"}},
         {},
         "la lista de plazas vacantes tiene el orden -3, y los órdenes empiezan en 1"},
        {{{1, "00001"}, {2, "00002"}, {2, "00003"}}, {}, "la lista de plazas vacantes repite el orden 2"},
        {{{1, "00001"}, {3, "00003"}}, {}, "a la lista de plazas vacantes le falta el orden 2"},
        {{{1, "123456"}},
         {},
         "la plaza \"123456\" de la lista de plazas vacantes tiene un código de más de 5 caracteres"},
        {{{2, "310"}, {1, "7"}}, {{1, "12 4"}}, nullptr}, // shorter codes take blanks on the left
        {{{1, "00001"}, {2, ""}}, {}, "una plaza de la lista de plazas vacantes no tiene código"},
        // "é" reaches the barcode as "&e": six places, and every later row shifted.
        {{},
         {{1, "1001é"}},
         "la plaza \"1001é\" de la lista de plazas de resultas tiene en su código caracteres que el código "
         "de barras no puede llevar (é)"},
        {{{1, "00001"}},
         {{1, "00007"}, {2, "00007"}},
         "la plaza 00007 está más de una vez en la lista de plazas de resultas"},
    };
    for (const Case& c : cases) {
        test::EmptyApplicationLists lists;
        for (auto [rows, table] :
             {std::pair{&c.vacancies, &lists.vacancies}, std::pair{&c.resultas, &lists.resultas}})
            for (const Row& row : *rows) {
                ASSERT_TRUE(table->addNew().ok());
                ASSERT_TRUE(table->setValue(u"Orden", row.order).ok());
                ASSERT_TRUE(table->setValue(u"CodConvocatoria", QString::fromUtf8(row.code)).ok());
                ASSERT_TRUE(table->update().ok());
            }
        const std::optional<QString> problem = firstListProblem(lists.vacancies, lists.resultas);
        EXPECT_EQ(problem.value_or(QString()), QString::fromUtf8(c.problem ? c.problem : ""))
            << "case " << &c - cases;
    }
}

} // namespace
} // namespace velmora
