#include "printing/PositionsPerPage.h"

#include "printing/ListPages.h"

#include <gtest/gtest.h>

using namespace velmora;

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
