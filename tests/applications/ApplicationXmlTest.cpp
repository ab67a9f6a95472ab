#include "applications/ApplicationXml.h"

#include "support/EmptyApplicationLists.h"
#include "support/FakeMessageService.h"
#include "support/TableText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::FakeMessageService;
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
    FakeMessageService messages;
    EXPECT_TRUE(
        writeApplicationLists("000000123__12340A.xml", dir.path(), source.lists(), dir.path(), messages)
            .ok());
    EXPECT_TRUE(messages.messages.empty());
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

TEST(ApplicationXmlWriter, RowsFollowTheViewOrderAndTheCursorStaysOnItsRow) {
    Lists lists;
    addPlaza(lists.vacancies, 0, 3, "00003", "C");
    addPlaza(lists.vacancies, 1, 1, "00001", "A");
    addPlaza(lists.vacancies, 2, 2, "00002", "B");
    ASSERT_TRUE(lists.vacancies.setSort("Orden ASC").ok());
    lists.vacancies.moveFirst();
    lists.vacancies.moveNext(); // on "00002"
    const QString text = buildApplicationXml(lists.lists());
    EXPECT_TRUE(text.indexOf("00001<") < text.indexOf("00002<") &&
                text.indexOf("00002<") < text.indexOf("00003<"))
        << text.toStdString();
    EXPECT_EQ(lists.vacancies.text(u"CodConvocatoria"), "00002");
}

TEST(ApplicationXmlRoundTrip, EveryColumnOfEveryListComesBackInOrder) {
    TempDir dir;
    Lists source;
    for (int i = 0; i < 40; ++i)
        addPlaza(source.vacancies, i, i + 1, u"%1"_s.arg(i, 5, 10, QLatin1Char('0')),
                 "Puesto " + QString::number(i), i % 2 ? "Demarcación" : "");
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
    for (RecordSet Lists::*list : {&Lists::vacancies, &Lists::resultas, &Lists::courses, &Lists::documents})
        EXPECT_EQ(test::rowsOf(target.*list), test::rowsOf(source.*list));
}

TEST(ApplicationXmlRoundTrip, HostileTextsComeBackUnchangedAndUnwritableOnesAsQuestionMarks) {
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
        "CursoRealizado>"
        "</Cursos><Documentos><Doc><Documento>D</Documento><IdDocumento>0</IdDocumento><Horas></Horas><Fecha>"
        "</Fecha><Centro></Centro></Doc></Documentos></Plazas>";
    dir.write("s.xml", file);
    Lists lists;
    EXPECT_EQ(readApplicationLists(dir.path(), "s.xml", lists.lists()).value(), SidecarRead::Loaded);
    EXPECT_EQ(test::rowsOf(lists.vacancies),
              (QStringList{"0|1|12345|Auxiliar ñ €|C|Logroño|||||", "1|2|22222|B|C|L|1|2|A|Z|D"}));
    EXPECT_EQ(test::rowsOf(lists.courses), QStringList{"Curso  uno|10|1990|Centro|0"});
    EXPECT_EQ(test::rowsOf(lists.documents), QStringList{"0|D|||"});
}

TEST(ApplicationXmlReader, UnreadableFilesLeaveEveryTableUnchanged) {
    TempDir dir;
    Lists lists;
    addPlaza(lists.vacancies, 0, 1, "00001", "ya estaba");
    const QStringList before = test::rowsOf(lists.vacancies);

    EXPECT_EQ(readApplicationLists(dir.path(), "no-existe.xml", lists.lists()).value(), SidecarRead::Missing);
    dir.write("roto.xml", kDeclaration + "<Plazas><Vacantes><Plaza><NomConvocatoria>a<b</NomConvocatoria>");
    EXPECT_EQ(readApplicationLists(dir.path(), "roto.xml", lists.lists()).value(), SidecarRead::Malformed);
    EXPECT_EQ(test::rowsOf(lists.vacancies), before);
    EXPECT_EQ(lists.resultas.recordCount() + lists.courses.recordCount() + lists.documents.recordCount(), 0);
}

TEST(ApplicationXmlReader, MissingElementOrNonNumberIsReportedAndNothingIsAdded) {
    TempDir dir;
    Lists source;
    addPlaza(source.vacancies, 0, 1, "00001", "uno");
    addRow(source.courses, {{"Curso", "c"}, {"NHoras", 1}, {"Ano", 2000}, {"Centro", "x"}, {"IdCurso", 0}});
    FakeMessageService messages;
    ASSERT_TRUE(writeApplicationLists("s.xml", dir.path(), source.lists(), dir.path(), messages).ok());
    const QByteArray good = dir.read("s.xml");

    struct Case {
        QByteArray from, to;
        int error;
    };
    const Case cases[] = {
        {"<Zona>Zona 00001</Zona>", "", 91},           // a vacancy without Zona
        {"<IdCurso>0</IdCurso>", "", 91},              // the last list read lacks a column
        {"<Ano>2000</Ano>", "<Ano>dos mil</Ano>", 13}, // integer column with text
        {"<Orden>1</Orden>", "<Orden>1.5</Orden>", 13},
        {"</Plaza></Vacantes>", "</Plaza><Otro/></Vacantes>", 91}, // a child that is not a Plaza
    };
    for (const Case& c : cases) {
        QByteArray bad = good;
        ASSERT_TRUE(bad.contains(c.from));
        bad.replace(c.from, c.to);
        dir.write("bad.xml", bad);
        Lists target;
        const Result<SidecarRead> read = readApplicationLists(dir.path(), "bad.xml", target.lists());
        ASSERT_FALSE(read.ok()) << c.to.constData();
        EXPECT_EQ(read.error().number, c.error) << c.to.constData();
        EXPECT_EQ(target.vacancies.recordCount() + target.courses.recordCount(), 0) << c.to.constData();
    }
}

// Encodings are read by readXml (XmlFileTest); this file declares UTF-8.
TEST(ApplicationXmlReader, EmptyIntegerElementsReadAsZero) {
    TempDir dir;
    dir.write("u.xml",
              QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Plazas><Vacantes/><Resultas/>"
                             "<Cursos><CursoRealizado><Curso>Año ñ</Curso><NHoras></NHoras><Ano> 2001 "
                             "</Ano><Centro>  </Centro><IdCurso>3</IdCurso></CursoRealizado></Cursos>"
                             "<Documentos/></Plazas>")
                  .toUtf8());
    Lists lists;
    EXPECT_EQ(readApplicationLists(dir.path(), "u.xml", lists.lists()).value(), SidecarRead::Loaded);
    EXPECT_EQ(test::rowsOf(lists.courses), QStringList{"Año ñ|0|2001|  |3"});
}

} // namespace
} // namespace velmora
