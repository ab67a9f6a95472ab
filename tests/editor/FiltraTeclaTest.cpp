#include "editor/FiltraTecla.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Types `keys` into a box the way the window applies the filter.
QString typed(const QString& keys) {
    QString text;
    for (const QChar key : keys)
        if (const KeyFilterResult result = FiltraTecla(key, text); result.key)
            text += *result.key;
    return text;
}

TEST(FiltraTecla, NumericBoxesTakeDigitsOneCommaAndTheMinusSign) {
    EXPECT_EQ(typed("47."), "47,");
    EXPECT_EQ(typed("4.7.1"), "4,71"); // a second full stop is discarded
    EXPECT_EQ(typed("4,7,1"), "4,71"); // and so is a second comma
    EXPECT_EQ(typed("4a7Z b"), "47");  // letters and blanks are discarded
    EXPECT_EQ(typed("-4-7"), "-4-7");  // the minus sign passes as typed
    EXPECT_EQ(typed("2n5n"), "2,5");   // "n" is a decimal key: a comma
    EXPECT_EQ(typed("\"'+"), "");
}

TEST(FiltraTecla, EnterMovesOnAndBackspacePasses) {
    EXPECT_TRUE(FiltraTecla(QChar(13), "47").sendTab);
    EXPECT_FALSE(FiltraTecla(QChar(13), "47").key);
    EXPECT_EQ(FiltraTecla(QChar(8), "47").key, QChar(8));
    EXPECT_FALSE(FiltraTecla(QLatin1Char('5'), "47").sendTab);
}

} // namespace
} // namespace velmora
