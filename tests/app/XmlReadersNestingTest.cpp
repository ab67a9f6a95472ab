// The program's three XML files (conf.xml, usuarios.xml and the sidecar of a saved application)
// read a value's text at any depth: a file nesting 100,000 elements inside one value is read,
// not a stack overflow.

#include "app/ContestConfiguration.h"
#include "applications/ApplicationXml.h"
#include "platform/data/XmlFile.h"
#include "support/EmptyApplicationLists.h"
#include "support/FakeMessageService.h"
#include "support/TableText.h"
#include "support/TempDir.h"
#include "users/UserStore.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::TempDir;

constexpr int kDeep = 100000;

// `text` wrapped in `depth` nested elements, with a second text halfway down so that the
// walk must come back up through every level to find what follows.
QByteArray nested(const QByteArray& text, int depth = kDeep) {
    QByteArray out;
    out.reserve(depth * 8 + text.size());
    for (int i = 0; i < depth; ++i) {
        out += "<a>";
        if (i == depth / 2)
            out += "<b/>";
    }
    out += text;
    for (int i = 0; i < depth; ++i)
        out += "</a>";
    return out;
}

TEST(XmlNesting, TextContentJoinsDescendantsInOrderAtAnyDepth) {
    pugi::xml_document doc;
    const QByteArray xml =
        "<r><v>uno<x>dos<![CDATA[tres]]></x>" + nested("cuatro") + "cinco</v><w>no</w></r>";
    ASSERT_TRUE(parseXml(xml, doc).ok());
    EXPECT_EQ(textContent(doc.child("r").child("v")), u"unodostrescuatrocinco"_s);
    EXPECT_EQ(textContent(doc.child("r").child("v").first_child()), u"uno"_s)
        << "a text node is its own text";
    EXPECT_EQ(textContent(doc.child("r").child("w")), u"no"_s);
    EXPECT_EQ(textContent(pugi::xml_node()), QString());
}

TEST(XmlNesting, ContestConfigurationReadsADeeplyNestedTitle) {
    TempDir dir;
    QByteArray xml =
        R"(<?xml version="1.0" encoding="iso-8859-1"?><Configuracion Nombre="C" numPlazasPorPag="40">)";
    for (int i = 0; i < 5; ++i) {
        const QByteArray title = i == 2 ? nested("Profundo") : QByteArray("T");
        xml += "<Tab><NombreTab>N</NombreTab><Visibilidad>S</Visibilidad><TituloTab>" + title +
               "</TituloTab><TituloSobreGrid>G</TituloSobreGrid></Tab>";
    }
    xml += "</Configuracion>";
    dir.write("conf.xml", xml);
    const auto config = ContestConfiguration::read(dir.path());
    ASSERT_TRUE(config.ok()) << config.error().description.toStdString();
    EXPECT_EQ(config->tabs[2].title, u"Profundo"_s);
    EXPECT_EQ(config->tabs[3].title, u"T"_s);
}

TEST(XmlNesting, UserStoreSignsInAgainstADeeplyNestedEntry) {
    TempDir dir;
    const QByteArray dni = UserStore::HashTexto(u"12345678Z"_s).toLatin1();
    const QByteArray pwd = UserStore::HashTexto(u"CLAVE"_s).toLatin1();
    dir.write("usuarios.xml", "<Usuarios><Usuario><DNI>" + nested(dni) + "</DNI><Pwd>" + nested(pwd) +
                                  "</Pwd></Usuario></Usuarios>");
    UserStore store(dir.path());
    ASSERT_TRUE(store.AbreUsuarios().ok());
    EXPECT_TRUE(store.ExisteUsuario(u"12345678Z"_s));
    EXPECT_TRUE(store.CompruebaPwd(u"12345678Z"_s, u"CLAVE"_s));
    EXPECT_FALSE(store.CompruebaPwd(u"12345678Z"_s, u"OTRA"_s));
    // Saving writes the deep store back.
    EXPECT_TRUE(store.AltaUsuario(u"01234567L"_s, u"X"_s));
    UserStore again(dir.path());
    ASSERT_TRUE(again.AbreUsuarios().ok());
    EXPECT_TRUE(again.CompruebaPwd(u"12345678Z"_s, u"CLAVE"_s) && again.ExisteUsuario(u"01234567L"_s));
}

TEST(XmlNesting, SidecarReadsADeeplyNestedValue) {
    TempDir dir;
    dir.write("s.xml",
              "<Plazas><Vacantes><Plaza><CodConvocatoria>12345</CodConvocatoria><NomConvocatoria>" +
                  nested("Hondo") +
                  "</NomConvocatoria><Orden>1</Orden><Localidad>L</Localidad><Consejeria>C</Consejeria>"
                  "<IdSolicitud>0</IdSolicitud><CodArea></CodArea><CodZona></CodZona><Demarcacion>"
                  "</Demarcacion><Area></Area><Zona></Zona></Plaza></Vacantes><Resultas></Resultas>"
                  "<Cursos></Cursos><Documentos></Documentos></Plazas>");
    test::EmptyApplicationLists lists;
    EXPECT_EQ(readApplicationLists(dir.path(), "s.xml", lists.lists()).valueOr(SidecarRead::Missing),
              SidecarRead::Loaded);
    EXPECT_EQ(test::rowsOf(lists.vacancies), QStringList{u"0|1|12345|Hondo|C|L|||||"_s});
}

} // namespace
} // namespace velmora
