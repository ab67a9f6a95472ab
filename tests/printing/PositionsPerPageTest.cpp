#include "printing/PositionsPerPage.h"

#include "printing/ListPages.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(PositionsPerPage, UnusableValuesFallBackToFortyWithAWarning) {
    const PositionsPerPage usable = PositionsPerPage::fromText(u" 25 "_s);
    EXPECT_EQ(usable.count, 25);
    EXPECT_TRUE(usable.warning.isEmpty());
    EXPECT_EQ(PositionsPerPage::fromText(u"1"_s).count, 1);

    for (const char* text : {"0", "-1", "-3", "abc", "", "40.5", "99999999999", "1000000000000"}) {
        const PositionsPerPage fallback = PositionsPerPage::fromText(QString::fromUtf8(text));
        EXPECT_EQ(fallback.count, 40) << text;
        EXPECT_EQ(fallback.warning,
                  u"numPlazasPorPag \"%1\" no es válido; se usan 40"_s.arg(QString::fromUtf8(text)));
    }
}

TEST(PositionsPerPage, AValueThatCannotFitASheetIsLoweredToTheLargestThatFitsWithAWarning) {
    const int largest = largestPositionsPerPage();
    EXPECT_EQ(PositionsPerPage::fromText(QString::number(largest)).count, largest);
    EXPECT_TRUE(PositionsPerPage::fromText(QString::number(largest)).warning.isEmpty());
    for (const QString& text : {QString::number(largest + 1), u"500"_s}) {
        const PositionsPerPage lowered = PositionsPerPage::fromText(text);
        EXPECT_EQ(lowered.count, largest);
        EXPECT_EQ(
            lowered.warning,
            u"numPlazasPorPag \"%1\" no cabe en una hoja con su código de barras; se usan %2"_s.arg(text).arg(
                largest));
    }
}
