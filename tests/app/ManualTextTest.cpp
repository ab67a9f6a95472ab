#include "app/ManualText.h"

#include "app/UserManualWriter.h"
#include "platform/docengine/DocumentPrinter.h"
#include "platform/docengine/WordProcessor.h"
#include "support/PdfTools.h"
#include "support/TempDir.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::docengine;
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

TEST(ManualText, EachFileOfTheFolderIsReadInNameOrder) {
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

namespace {

// The chapter titles the contents page lists ("1. Introducción", ...).
QStringList contentsEntries(const QString& text) {
    const qsizetype from = text.indexOf(u"Contenido\n"_s);
    const QStringList lines = text.mid(from).split(QLatin1Char('\n'));
    QStringList entries;
    const QRegularExpression entry(u"^\\d+\\. \\S.*$"_s);
    for (qsizetype i = 1; i < lines.size() && entry.match(lines.at(i)).hasMatch(); ++i)
        entries << lines.at(i);
    return entries;
}

} // namespace

TEST(UserManual, OpensAsTheHelpMenuOpensItWithEveryChapterListed) {
    test::TempDir dir;
    ASSERT_TRUE(writeUserManual(dir.path()));
    // "Ayuda" opens an untitled document based on the manual.
    WordProcessor word;
    auto doc = word.addDocument(dir.file(u"Manual de Usuario.doc"_s));
    ASSERT_TRUE(doc.ok());
    EXPECT_TRUE(doc.value()->path().isEmpty());
    const QString text = doc.value()->plainText();
    EXPECT_TRUE(text.contains(u"Manual de Usuario\n"_s));

    // The chapters of the contents page are the chapter headings further on, in order.
    const QStringList entries = contentsEntries(text);
    ASSERT_GE(entries.size(), 12);
    const QString body = text.mid(text.indexOf(entries.last() + QLatin1Char('\n')) + entries.last().size());
    QStringList headings;
    auto it = QRegularExpression(u"^\\d+\\. \\S.*$"_s, QRegularExpression::MultilineOption).globalMatch(body);
    while (it.hasNext())
        headings << it.next().captured(0);
    EXPECT_EQ(headings, entries);

    EXPECT_GE(doc.value()->tableCount(), 8);
}

TEST(UserManual, RendersAsAFewNumberedPages) {
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    test::TempDir dir;
    auto manual = buildUserManual();
    ASSERT_TRUE(manual.ok()) << manual.error().description.toStdString();
    const QString pdf = dir.file(u"manual.pdf"_s);
    ASSERT_TRUE(DocumentPrinter::writePdf(manual.value(), pdf).ok());
    const int pages = test::pdfPageCount(pdf);
    EXPECT_GE(pages, 5);
    EXPECT_LE(pages, 20);
    EXPECT_TRUE(test::pdfPageText(pdf, 1).contains(u"Manual de Usuario"_s));
    EXPECT_TRUE(test::pdfPageText(pdf, pages).contains(u"Página %1 de %1"_s.arg(pages)));
}
