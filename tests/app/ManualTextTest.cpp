#include "app/ManualText.h"
#include "app/UserManualWriter.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace velmora;
using Kind = ManualBlock::Kind;

namespace {

QString s(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(ManualText, ReadsEveryKindOfBlockWithContinuationLines) {
    const auto chapter = parseManualChapter(s("\n# Plazas vacantes\n"
                                              "\n"
                                              "Primera línea del párrafo\n"
                                              "y su continuación con **negrita**.\n"
                                              "## Añadir una plaza\n"
                                              "3. Elija la plaza\n"
                                              "   en la lista.\n"
                                              "7. Pulse **Aceptar**.\n"
                                              "- Un punto\n"
                                              "> los títulos\n"
                                              "  pueden variar.\n"
                                              "| Filtro | Efecto |\n"
                                              "|---|-------|\n"
                                              "| Provincia | Se elige primero. |\n"
                                              "\n"
                                              "- Otro punto\n"));
    ASSERT_TRUE(chapter.ok()) << chapter.error().description.toStdString();
    EXPECT_EQ(chapter->title, s("Plazas vacantes"));
    const QList<ManualBlock>& b = chapter->blocks;
    // A blank line ends a list: the next item starts a list of its own.
    QList<Kind> kinds;
    for (const ManualBlock& block : b)
        kinds << block.kind;
    EXPECT_EQ(kinds, (QList<Kind>{Kind::Paragraph, Kind::Section, Kind::Steps, Kind::Bullets, Kind::Note,
                                  Kind::Table, Kind::Bullets}));
    ASSERT_EQ(b.size(), 7);
    EXPECT_EQ(b[0].items, QStringList{s("Primera línea del párrafo y su continuación con **negrita**.")});
    EXPECT_EQ(b[1].items, QStringList{s("Añadir una plaza")});
    // The numbers written are not kept: the steps are one list, counted again when laid out.
    EXPECT_EQ(b[2].items, (QStringList{s("Elija la plaza en la lista."), s("Pulse **Aceptar**.")}));
    EXPECT_EQ(b[4].items, QStringList{s("los títulos pueden variar.")});
    EXPECT_EQ(b[5].columnParts, (QList<int>{3, 7}));
    EXPECT_EQ(b[5].rows,
              (QList<QStringList>{{s("Filtro"), s("Efecto")}, {s("Provincia"), s("Se elige primero.")}}));
    EXPECT_EQ(b[6].items, QStringList{s("Otro punto")});
}

TEST(ManualText, NamesTheLineOfEachMistake) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"Sin título\n", "Manual de usuario, línea 1: el capítulo empieza con su título (# ...)"},
        {"# A\n\n# B\n", "Manual de usuario, línea 3: sólo la primera línea puede ser el título (# ...)"},
        {"# A\n\n   suelta\n", "Manual de usuario, línea 3: una línea sangrada debe continuar un párrafo, "
                               "un paso, un punto o una nota"},
        {"# A\n| a | b |\n| x | y |\n", "Manual de usuario, línea 3: tras la cabecera de la tabla va una "
                                        "fila de guiones (|---|-----|) con los anchos"},
        {"# A\n| a | b |\n|--|--|\n| x |\n", "Manual de usuario, línea 4: la fila tiene 1 columnas y la "
                                             "cabecera 2"},
        {"# A\n| a | b |\n\ntexto\n", "Manual de usuario, línea 2: a la tabla le falta la fila de guiones "
                                      "con los anchos"},
        {"# A\n| a | b |", "Manual de usuario, línea 2: a la tabla le falta la fila de guiones con los "
                           "anchos"},
    };
    for (const Case& c : cases) {
        const auto chapter = parseManualChapter(s(c.text));
        ASSERT_FALSE(chapter.ok()) << c.text;
        EXPECT_EQ(chapter.error().description, s(c.error)) << c.text;
    }
}

TEST(ManualText, CoverFieldsComeBeforeItsParagraphs) {
    const auto cover = parseManualCover(s("Título: Manual de Usuario\r\n"
                                          "Pie: Página {página}: de {páginas}\r\n"
                                          "\r\n"
                                          "Este manual **explica**.\r\n"));
    ASSERT_TRUE(cover.ok());
    EXPECT_EQ(cover->fields.value(s("Título")), s("Manual de Usuario"));
    EXPECT_EQ(cover->fields.value(s("Pie")), s("Página {página}: de {páginas}"));
    ASSERT_EQ(cover->blocks.size(), 1);
    EXPECT_EQ(cover->blocks[0].items, QStringList{s("Este manual **explica**.")});

    const auto bad = parseManualCover(s("Título Manual\n"));
    ASSERT_FALSE(bad.ok());
    EXPECT_EQ(bad.error().description, s("Manual de usuario, línea 1: se esperaba «Clave: valor»"));
}

TEST(ManualText, FolderIsReadInNameOrderAndAFaultyFileIsNamed) {
    test::TempDir dir;
    dir.write(u"02-b.txt"_s, "# Segundo\n\nTexto.\n");
    dir.write(u"01-a.txt"_s, "# Primero\n");
    EXPECT_EQ(readUserManualText(dir.path()).error().number, ErrorCode::FileNotFound);

    dir.write(u"00-portada.txt"_s, "Título: Manual\n");
    auto text = readUserManualText(dir.path());
    ASSERT_TRUE(text.ok());
    ASSERT_EQ(text->chapters.size(), 2);
    EXPECT_EQ(text->chapters[0].title, s("Primero"));
    EXPECT_EQ(text->chapters[1].title, s("Segundo"));

    dir.write(u"03-c.txt"_s, "# Tercero\n| a |\n");
    text = readUserManualText(dir.path());
    ASSERT_FALSE(text.ok());
    EXPECT_TRUE(text.error().description.startsWith(s("03-c.txt: Manual de usuario, línea 2")))
        << text.error().description.toStdString();
}
