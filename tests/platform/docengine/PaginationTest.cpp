#include "platform/docengine/Document.h"
#include "platform/docengine/DocumentLayout.h"
#include "platform/docengine/DocumentPrinter.h"
#include "platform/docengine/LayoutDump.h"
#include "platform/docengine/Table.h"

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

const std::array<QString, 5> kFaces{u"Arial"_s, u"Times New Roman"_s, u"Courier New"_s, u"Helvetica"_s,
                                    u"Courier"_s};

// Text in several fonts and sizes, tables, fields and a long word: what a layout computes
// and could share between threads.
void fillVaried(Document& doc, int seed) {
    DocumentBuilder b(doc);
    for (int i = 0; i < 40; ++i) {
        b.paragraph(u"Apartado %1.%2"_s.arg(seed).arg(i),
                    RunFormat{.font = kFaces[static_cast<size_t>(i + seed) % kFaces.size()],
                              .size = 9.0 + (i + seed) % 9,
                              .bold = i % 3 == 0},
                    ParagraphFormat{.keepWithNext = true});
        b.paragraph(u"Texto del apartado %1 con palabras que se repiten y otras únicas %2 "_s.arg(i)
                        .arg(seed * 1000 + i)
                        .repeated(1 + i % 4),
                    RunFormat{.italic = i % 5 == 0}, ParagraphFormat{.alignment = Alignment::Justify});
        if (i % 10 == 0) {
            Table t = b.table({1500, 4000, 2000}, 3);
            for (int r = 1; r <= 3; ++r)
                EXPECT_TRUE(t.setCellText(r, 2, u"celda %1 %2"_s.arg(r).arg(seed)).ok());
        }
    }
    b.paragraph(u"x"_s.repeated(3000 + seed));
}

} // namespace

TEST(DocEnginePagination, AParagraphKeptWithTheNextMovesOnlyWhenBothFitOnAPage) {
    // A heading at the foot of a page goes to the next one with the table it introduces.
    Document withTable;
    DocumentBuilder tb(withTable);
    for (int i = 0; i < 49; ++i)
        tb.paragraph(u"relleno %1"_s.arg(i));
    tb.paragraph(u"Título"_s, RunFormat{.bold = true}, ParagraphFormat{.keepWithNext = true});
    Table t = tb.table({3000, 3000}, 2);
    ASSERT_TRUE(t.setCellText(1, 1, u"primera"_s).ok());
    const DocumentLayout tableLayout(withTable);
    EXPECT_EQ(pageOf(tableLayout, u"Título"_s), 1);
    EXPECT_EQ(pageOf(tableLayout, u"primera"_s), 1);
    EXPECT_EQ(pageOf(tableLayout, u"relleno 48"_s), 0);

    // A heading kept with a paragraph longer than a page stays where it is: moving it would
    // leave a page nearly empty and still not keep them together.
    Document longNext;
    DocumentBuilder lb(longNext);
    lb.paragraph(u"primero"_s);
    lb.paragraph(u"Título"_s, RunFormat{.bold = true}, ParagraphFormat{.keepWithNext = true});
    lb.paragraph(u"palabra "_s.repeated(6000));
    const DocumentLayout longLayout(longNext);
    EXPECT_GE(longLayout.pageCount(), 3);
    // Text that flows onto new pages by itself never passes the bottom margin.
    const PageSetup ps = longNext.pageSetup();
    for (int p = 0; p < longLayout.pageCount(); ++p)
        for (const PageText& t : longLayout.page(p).texts)
            EXPECT_LE(t.pos.y(), ps.height - ps.marginBottom) << "page " << p + 1;
    EXPECT_EQ(pageOf(longLayout, u"Título"_s), 0);

    // A kept paragraph at the top of a page does not open a blank page before it.
    Document first;
    DocumentBuilder fb(first);
    fb.paragraph(u"Título"_s, RunFormat{.bold = true}, ParagraphFormat{.keepWithNext = true});
    fb.paragraph(u"palabra "_s.repeated(6000));
    const DocumentLayout firstLayout(first);
    EXPECT_EQ(pageOf(firstLayout, u"Título"_s), 0);
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
        b.paragraph(u"página %1"_s.arg(i + 1));
        b.pageBreak();
    }
    b.paragraph(u"fin"_s);
    const DocumentLayout layout(doc);
    EXPECT_EQ(layout.pageCount(), 5000);
    ASSERT_FALSE(layout.status().ok());
    const QString reason =
        u"El documento pasa de 5000 páginas, más de las que se pueden preparar para imprimir."_s;
    EXPECT_EQ(layout.status().error().description, reason);
    QTemporaryDir dir;
    const auto written = DocumentPrinter::writePdf(layout, dir.filePath(u"largo.pdf"_s), QString());
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().description, reason);
    EXPECT_FALSE(QFile::exists(dir.filePath(u"largo.pdf"_s)));
}
