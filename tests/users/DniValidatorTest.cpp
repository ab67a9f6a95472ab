#include "users/DniValidator.h"

#include "support/FakeDniTextBox.h"
#include "support/FakeMessageService.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// Checks `typed` and asserts what the box is left with: its text, a black or red colour, and
// for a refused number the one message with its exact title, icon and buttons.
void expectCheck(const QString& typed, const QString& left, bool valid) {
    test::FakeDniTextBox box(typed);
    test::FakeMessageService messages;
    EXPECT_EQ(ValidaDNI(box, messages), valid) << qPrintable(typed);
    EXPECT_EQ(box.text(), left) << qPrintable(typed);
    EXPECT_EQ(box.foreColor, valid ? QColor(0, 0, 0) : QColor(254, 0, 0)) << qPrintable(typed);
    EXPECT_EQ(messages.only(u"Error en DNI"_s, MessageIcon::Exclamation), valid ? u""_s : u"DNI no válido"_s)
        << qPrintable(typed);
}

TEST(DniValidatorTest, NumbersAreCheckedPaddedAndUpperCasedOnlyWhenValid) {
    const struct {
        const char* typed;
        const char* left;
        bool valid;
    } cases[] = {
        {"12345678z", "12345678Z", true},
        {"1234567l", "01234567L", true}, // seven digits gain a zero; 1234567 mod 23 = 19, L
        {"00000000T", "00000000T", true},
        {"99999999R", "99999999R", true},
        {"12345678a", "12345678a", false}, // a wrong letter is kept as typed, for correcting
        {"1234567B", "01234567B", false},
        {"", "000000000", false},
        {"123456789", "123456789", false},
        {"123456789Z", "123456789Z", false}, // ten characters: not padded, not valid
        {"X1234567L", "X1234567L", false},
        {"1234-567L", "1234-567L", false},
        // Only plain digits count as a number.
        {" 1234567L", " 1234567L", false},
        {"+1234567L", "+1234567L", false},
        {"١٢٣٤٥٦٧٨Z", "١٢٣٤٥٦٧٨Z", false},
    };
    for (const auto& c : cases)
        expectCheck(QString::fromUtf8(c.typed), QString::fromUtf8(c.left), c.valid);
}

TEST(DniValidatorTest, EveryRemainderHasItsLetter) {
    const QString letters = u"TRWAGMYFPDXBNJZSQVHLCKE"_s;
    for (int n = 0; n < 23; ++n) {
        // 23 * 4321 + n has remainder n as well: the number is not just the remainder.
        const QString number = u"%1"_s.arg(23 * 4321 + n, 8, 10, QLatin1Char('0'));
        expectCheck(number + letters.at(n), number + letters.at(n), true);
        expectCheck(number + letters.at((n + 1) % 23), number + letters.at((n + 1) % 23), false);
    }
}

} // namespace
} // namespace velmora
