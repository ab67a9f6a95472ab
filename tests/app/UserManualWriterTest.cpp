#include "app/UserManualWriter.h"

#include "platform/docengine/DocumentPrinter.h"
#include "platform/docengine/WordProcessor.h"

#include "support/PdfTools.h"
#include "support/QStringPrinter.h"
#include "support/TempDir.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::docengine;

namespace {

// The chapter titles the contents page lists ("1. Introducción", ...).
QStringList contentsEntries(const QString& text) {
    const qsizetype from = text.indexOf(QStringLiteral("Contenido\n"));
    const QStringList lines = text.mid(from).split(QLatin1Char('\n'));
    QStringList entries;
    const QRegularExpression entry(QStringLiteral("^\\d+\\. \\S.*$"));
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
    auto doc = word.addDocument(dir.file(QStringLiteral("Manual de Usuario.doc")));
    ASSERT_TRUE(doc.ok());
    EXPECT_TRUE(doc.value()->path().isEmpty());
    const QString text = doc.value()->plainText();
    EXPECT_TRUE(text.contains(QStringLiteral("Manual de Usuario\n")));

    // The chapters of the contents page are the chapter headings further on, in order.
    const QStringList entries = contentsEntries(text);
    ASSERT_GE(entries.size(), 12);
    const QString body = text.mid(text.indexOf(entries.last() + QLatin1Char('\n')) + entries.last().size());
    QStringList headings;
    auto it = QRegularExpression(QStringLiteral("^\\d+\\. \\S.*$"), QRegularExpression::MultilineOption)
                  .globalMatch(body);
    while (it.hasNext())
        headings << it.next().captured(0);
    EXPECT_EQ(headings, entries);

    // The tasks the applicant needs are each explained under a heading of their own.
    for (const char* section :
         {"Identificación con el NIF", "Creación de la contraseña", "Elección de la solicitud",
          "Datos personales", "Datos profesionales", "Añadir una plaza en un orden",
          "Insertar todas las plazas", "Filtros de localización", "Copia borrador", "Borrar una solicitud",
          "Cambiar la contraseña"})
        EXPECT_TRUE(
            QRegularExpression(QStringLiteral("\n[\\d.]+ ") + QString::fromUtf8(section) + QLatin1Char('\n'))
                .match(text)
                .hasMatch())
            << section;
    EXPECT_GE(doc.value()->tableCount(), 8);
}

TEST(UserManual, RendersAsAFewNumberedPages) {
    if (!test::havePoppler())
        GTEST_SKIP() << "poppler-utils no está instalado";
    test::TempDir dir;
    auto manual = buildUserManual();
    ASSERT_TRUE(manual.ok()) << manual.error().description.toStdString();
    const QString pdf = dir.file(QStringLiteral("manual.pdf"));
    ASSERT_TRUE(DocumentPrinter::writePdf(manual.value(), pdf).ok());
    const int pages = test::pdfPageCount(pdf);
    EXPECT_GE(pages, 5);
    EXPECT_LE(pages, 20);
    EXPECT_TRUE(test::pdfPageText(pdf, 1).contains(QStringLiteral("Manual de Usuario")));
    EXPECT_TRUE(test::pdfPageText(pdf, pages).contains(QStringLiteral("Página %1 de %1").arg(pages)));
}
