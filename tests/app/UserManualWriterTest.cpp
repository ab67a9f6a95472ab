#include "app/UserManualWriter.h"

#include "platform/docengine/DocumentPrinter.h"
#include "platform/docengine/WordProcessor.h"

#include "support/PdfTools.h"
#include "support/TempDir.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::docengine;

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
