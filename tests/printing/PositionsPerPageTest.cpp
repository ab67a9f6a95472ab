#include "printing/PositionsPerPage.h"

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(PositionsPerPage, UnusableValuesFallBackToFortyWithAWarning) {
    const PositionsPerPage usable = PositionsPerPage::fromText(QStringLiteral(" 25 "));
    EXPECT_EQ(usable.count, 25);
    EXPECT_TRUE(usable.warning.isEmpty());
    EXPECT_EQ(PositionsPerPage::fromText(QStringLiteral("100")).count, 100);
    EXPECT_EQ(PositionsPerPage::fromText(QStringLiteral("1")).count, 1);

    for (const char* text : {"0", "-3", "cuarenta", "", "40.5", "101", "99999999999"}) {
        const PositionsPerPage fallback = PositionsPerPage::fromText(QString::fromUtf8(text));
        EXPECT_EQ(fallback.count, 40) << text;
        EXPECT_EQ(
            fallback.warning,
            QStringLiteral("numPlazasPorPag \"%1\" no es válido; se usan 40").arg(QString::fromUtf8(text)));
    }
}
