#include "printing/ListPages.h"

#include "printing/PrintingWordProcessor.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using Pages = std::vector<int>;

TEST(ListPagesTest, PagesHoldThePlacesPerPageAndALastPartialPageAtMost31) {
    EXPECT_EQ(listPageSizes(75, 40), (Pages{40, 31, 4})); // r = 35: early end after row 71
    EXPECT_EQ(listPageSizes(72, 40), (Pages{40, 31, 1})); // r = 32, the smallest rest that splits
    EXPECT_EQ(listPageSizes(71, 40), (Pages{40, 31}));    // r = 31 stays whole
    EXPECT_EQ(listPageSizes(80, 40), (Pages{40, 40}));    // a page ending on the last row adds nothing
    EXPECT_EQ(listPageSizes(32, 40), (Pages{31, 1}));
    EXPECT_EQ(listPageSizes(1, 40), (Pages{1}));
    EXPECT_EQ(listPageSizes(0, 40), Pages{});
    EXPECT_EQ(listPageSizes(45, 10), (Pages{10, 10, 10, 10, 5}));
    EXPECT_EQ(listPageSizes(1000, 40), Pages(25, 40));
    EXPECT_EQ(listPageSizes(3, 0), (Pages{3}));
}

TEST(ListPagesTest, FitterShrinksOnlyTextsThatWouldMakeTheRowTooTall) {
    const docengine::RunFormat base{.font = QStringLiteral("Times New Roman"), .size = 9};
    const docengine::Twips oneLine = docengine::Twips(ListCellFitter::lineHeight(base)) + 2;
    ListCellFitter fitter(base, oneLine);
    EXPECT_EQ(fitter.sizeFor(QStringLiteral("10001"), 1250), 9.0);
    EXPECT_EQ(fitter.sizeFor(QString(), 800), 9.0);

    const QString name = QStringLiteral("Facultativo Especialista de Área - Pediatría");
    const double size = fitter.sizeFor(name, 2150);
    EXPECT_LT(size, 9.0);
    EXPECT_GE(size, ListCellFitter::kMinimumPoints);
    EXPECT_EQ(size * 2, std::round(size * 2)) << "sizes go in half points";
    const docengine::RunFormat chosen{.font = base.font, .size = size};
    EXPECT_LE(ListCellFitter::textHeight(name, 2150, chosen), oneLine);
    // One half point larger would not have fitted.
    const docengine::RunFormat larger{.font = base.font, .size = size + 0.5};
    EXPECT_GT(ListCellFitter::textHeight(name, 2150, larger), oneLine);

    // What cannot fit even at the smallest size gets the smallest size.
    EXPECT_EQ(fitter.sizeFor(QString(200, QLatin1Char('W')), 400), ListCellFitter::kMinimumPoints);
}

TEST(ListPagesTest, VersionProbeReadsTheMajorVersionAndReportsAnEngineThatWillNotStart) {
    EXPECT_EQ(VersionProcesador(embeddedWordProcessor()).value(), docengine::WordProcessor::kCurrentVersion);
    EXPECT_EQ(VersionProcesador(embeddedWordProcessor(8)).value(), 8);
    EXPECT_TRUE(usesOlderTemplates(8));
    EXPECT_FALSE(usesOlderTemplates(9));
    const WordProcessorStarter broken = []() -> Result<std::unique_ptr<docengine::WordProcessor>> {
        return Error::make(429, QStringLiteral("No se puede crear el objeto"));
    };
    ASSERT_FALSE(VersionProcesador(broken).ok());
    EXPECT_EQ(VersionProcesador(broken).error().number, 429);
}

} // namespace
} // namespace velmora
