#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/DocumentPrinter.h"
#include "platform/docengine/LayoutDump.h"
#include "platform/docengine/Table.h"

#include "support/QStringPrinter.h"

#include <QTemporaryDir>

#include <array>
#include <future>
#include <vector>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::docengine;

namespace {

int pageOf(const DocumentLayout& layout, const QString& text) {
    for (int p = 0; p < layout.pageCount(); ++p)
        if (layout.pageText(p).contains(text))
            return p;
    return -1;
}

const std::array<QString, 5> kFaces{QStringLiteral("Arial"), QStringLiteral("Times New Roman"),
                                    QStringLiteral("Courier New"), QStringLiteral("Helvetica"),
                                    QStringLiteral("Courier")};

// Text in several fonts and sizes, tables, fields and a long word: what a layout computes
// and could share between threads.
void fillVaried(Document& doc, int seed) {
    DocumentBuilder b(doc);
    for (int i = 0; i < 40; ++i) {
        b.paragraph(QStringLiteral("Apartado %1.%2").arg(seed).arg(i),
                    RunFormat{.font = kFaces[static_cast<size_t>(i + seed) % kFaces.size()],
                              .size = 9.0 + (i + seed) % 9,
                              .bold = i % 3 == 0},
                    ParagraphFormat{.keepWithNext = true});
        b.paragraph(QStringLiteral("Texto del apartado %1 con palabras que se repiten y otras únicas %2 ")
                        .arg(i)
                        .arg(seed * 1000 + i)
                        .repeated(1 + i % 4),
                    RunFormat{.italic = i % 5 == 0}, ParagraphFormat{.alignment = Alignment::Justify});
        if (i % 10 == 0) {
            Table t = b.table({1500, 4000, 2000}, 3);
            for (int r = 1; r <= 3; ++r)
                EXPECT_TRUE(t.setCellText(r, 2, QStringLiteral("celda %1 %2").arg(r).arg(seed)).ok());
        }
    }
    b.paragraph(QStringLiteral("x").repeated(3000 + seed));
}

} // namespace

TEST(DocEnginePagination, AParagraphKeptWithTheNextMovesOnlyWhenBothFitOnAPage) {
    // A heading at the foot of a page goes to the next one with the table it introduces.
    Document withTable;
    DocumentBuilder tb(withTable);
    for (int i = 0; i < 49; ++i)
        tb.paragraph(QStringLiteral("relleno %1").arg(i));
    tb.paragraph(QStringLiteral("Título"), RunFormat{.bold = true}, ParagraphFormat{.keepWithNext = true});
    Table t = tb.table({3000, 3000}, 2);
    ASSERT_TRUE(t.setCellText(1, 1, QStringLiteral("primera")).ok());
    const DocumentLayout tableLayout(withTable);
    EXPECT_EQ(pageOf(tableLayout, QStringLiteral("Título")), 1);
    EXPECT_EQ(pageOf(tableLayout, QStringLiteral("primera")), 1);
    EXPECT_EQ(pageOf(tableLayout, QStringLiteral("relleno 48")), 0);

    // A heading kept with a paragraph longer than a page stays where it is: moving it would
    // leave a page nearly empty and still not keep them together.
    Document longNext;
    DocumentBuilder lb(longNext);
    lb.paragraph(QStringLiteral("primero"));
    lb.paragraph(QStringLiteral("Título"), RunFormat{.bold = true}, ParagraphFormat{.keepWithNext = true});
    lb.paragraph(QStringLiteral("palabra ").repeated(6000));
    const DocumentLayout longLayout(longNext);
    EXPECT_GE(longLayout.pageCount(), 3);
    EXPECT_EQ(pageOf(longLayout, QStringLiteral("Título")), 0);

    // A kept paragraph at the top of a page does not open a blank page before it.
    Document first;
    DocumentBuilder fb(first);
    fb.paragraph(QStringLiteral("Título"), RunFormat{.bold = true}, ParagraphFormat{.keepWithNext = true});
    fb.paragraph(QStringLiteral("palabra ").repeated(6000));
    const DocumentLayout firstLayout(first);
    EXPECT_EQ(pageOf(firstLayout, QStringLiteral("Título")), 0);
}

TEST(DocEnginePagination, LayoutsOnSeveralThreadsGiveTheSinglethreadedPages) {
    // Each thread has a document of its own (a document reads its parts when first asked);
    // what the layouts share is the process's fonts and the choice of faces.
    std::array<Document, 4> documents;
    for (size_t i = 0; i < documents.size(); ++i)
        fillVaried(documents[i], static_cast<int>(i % 2) + 1);
    auto layOutTogether = [&documents] {
        std::vector<std::future<QString>> runs;
        for (Document& document : documents)
            runs.push_back(
                std::async(std::launch::async, [&document] { return dumpLayout(DocumentLayout(document)); }));
        std::vector<QString> dumps;
        for (auto& run : runs)
            dumps.push_back(run.get());
        return dumps;
    };
    // The first round meets every face on several threads at once.
    std::vector<std::vector<QString>> rounds{layOutTogether()};
    for (int round = 1; round < 8; ++round)
        rounds.push_back(layOutTogether());
    const QString expectedOne = dumpLayout(DocumentLayout(documents[0]));
    const QString expectedTwo = dumpLayout(DocumentLayout(documents[1]));
    ASSERT_NE(expectedOne, expectedTwo);
    for (size_t round = 0; round < rounds.size(); ++round)
        for (size_t i = 0; i < documents.size(); ++i)
            EXPECT_EQ(rounds[round][i], i % 2 ? expectedTwo : expectedOne) << "vuelta " << round;
}

TEST(DocEnginePagination, ADocumentOfTooManyPagesIsRefusedForPrinting) {
    Document doc;
    DocumentBuilder b(doc);
    for (int i = 0; i <= 5000; ++i) {
        b.paragraph(QStringLiteral("página %1").arg(i + 1));
        b.pageBreak();
    }
    b.paragraph(QStringLiteral("fin"));
    const DocumentLayout layout(doc);
    EXPECT_EQ(layout.pageCount(), 5000);
    ASSERT_FALSE(layout.status().ok());
    const QString reason =
        QStringLiteral("El documento pasa de 5000 páginas, más de las que se pueden preparar para imprimir.");
    EXPECT_EQ(layout.status().error().description, reason);
    QTemporaryDir dir;
    const auto written =
        DocumentPrinter::writePdf(layout, dir.filePath(QStringLiteral("largo.pdf")), QString());
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().description, reason);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("largo.pdf"))));
}
