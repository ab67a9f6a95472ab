#include "printing/ListPages.h"

#include "printing/PositionsPerPage.h"
#include "printing/PrintingWordProcessor.h"

#include <gtest/gtest.h>

using namespace velmora;

using Pages = std::vector<int>;

// At most the places per page, and a last partial page of at most 31.
TEST(ListPagesTest, PagesHoldTheRowsThatFitUpToThePlacesPerPage) {
    EXPECT_EQ(listPageSizes(75, 40), (Pages{40, 31, 4})); // r = 35: early end after row 71
    EXPECT_EQ(listPageSizes(72, 40), (Pages{40, 31, 1})); // r = 32, the smallest rest that splits
    EXPECT_EQ(listPageSizes(71, 40), (Pages{40, 31}));    // r = 31 stays whole
    EXPECT_EQ(listPageSizes(80, 40), (Pages{40, 40}));    // a page ending on the last row adds nothing
    EXPECT_EQ(listPageSizes(32, 40), (Pages{31, 1}));
    EXPECT_EQ(listPageSizes(0, 40), Pages{});
    EXPECT_EQ(listPageSizes(3, 0), (Pages{3}));
    using Heights = std::vector<docengine::Twips>;
    EXPECT_EQ(listPageSizes(Heights{300, 300, 300, 300, 300}, 600, 40), (Pages{2, 2, 1}));
    EXPECT_EQ(listPageSizes(Heights{100, 500, 100, 100}, 600, 40), (Pages{2, 2}));
    EXPECT_EQ(listPageSizes(Heights{900, 100}, 600, 40), (Pages{1, 1})); // a row taller than the room
    EXPECT_EQ(listPageSizes(Heights(5, 100), 600, 2), (Pages{2, 2, 1}));
}

// The largest value fits the page of either generation's lists; one more would not.
TEST(ListPagesTest, TheLargestPlacesPerPageFitOneSheetWithItsBarcode) {
    const int largest = largestPositionsPerPage();
    EXPECT_GE(largest, PositionsPerPage::kDefault) << "the default always fits";
    const qreal row = ListCellFitter(listDataFont()).rowHeight(1);
    qreal tightest = 1e9;
    for (TemplateGeneration g : {TemplateGeneration::Current, TemplateGeneration::Legacy})
        for (ListKind kind : {ListKind::Vacancies, ListKind::Resultas})
            tightest = std::min(tightest,
                                listPageRoom(templatePageSetup(), listHeaderHeight(listTableShape(kind, g))));
    EXPECT_LE(largest * row, tightest);
    EXPECT_GT((largest + 1) * row, tightest);
}

TEST(ListPagesTest, VersionProbeReadsTheMajorVersion) {
    EXPECT_EQ(VersionProcesador(embeddedWordProcessor()).value(), docengine::WordProcessor::kCurrentVersion);
    EXPECT_EQ(VersionProcesador(embeddedWordProcessor(8)).value(), 8);
    EXPECT_TRUE(usesOlderTemplates(8));
    EXPECT_FALSE(usesOlderTemplates(9));
    const WordProcessorStarter broken = []() -> Result<std::unique_ptr<docengine::WordProcessor>> {
        return Error::make(429, u"No se puede crear el objeto"_s);
    };
    ASSERT_FALSE(VersionProcesador(broken).ok());
    EXPECT_EQ(VersionProcesador(broken).error().number, 429);
}

// Unusable values fall back to forty; values no sheet can hold are lowered to the largest that fits.
TEST(PositionsPerPage, UnusableOrTooLargeValuesAreReplacedWithAWarning) {
    const int largest = largestPositionsPerPage();
    const QString unusable = u"numPlazasPorPag \"%1\" no es válido; se usan 40"_s;
    const QString tooLarge =
        u"numPlazasPorPag \"%1\" no cabe en una hoja con su código de barras; se usan %2"_s;
    std::vector<std::tuple<QString, int, QString>> cases{
        {u" 25 "_s, 25, {}}, {u"1"_s, 1, {}}, {QString::number(largest), largest, {}}};
    for (const char* text : {"0", "-1", "-3", "abc", "", "40.5", "99999999999", "1000000000000"})
        cases.emplace_back(QString::fromUtf8(text), 40, unusable.arg(QString::fromUtf8(text)));
    for (const QString& text : {QString::number(largest + 1), u"500"_s})
        cases.emplace_back(text, largest, tooLarge.arg(text).arg(largest));
    for (const auto& [text, count, warning] : cases) {
        const PositionsPerPage read = PositionsPerPage::fromText(text);
        EXPECT_EQ(read.count, count) << text.toStdString();
        EXPECT_EQ(read.warning, warning) << text.toStdString();
    }
}
