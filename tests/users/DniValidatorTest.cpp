#include "users/DniValidator.h"

#include "support/FakeDniTextBox.h"
#include "support/FakeMessageService.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::FakeDniTextBox;
using test::FakeMessageService;

struct Outcome {
    bool valid;
    QString text;
    QColor color;
    int messages;
};

Outcome check(const QString& typed) {
    FakeDniTextBox box(typed);
    FakeMessageService messages;
    const bool valid = ValidaDNI(box, messages);
    for (const auto& m : messages.messages) {
        EXPECT_EQ(m.text, QStringLiteral("DNI no válido"));
        EXPECT_EQ(m.title, QStringLiteral("Error en DNI"));
        EXPECT_EQ(m.icon, MessageIcon::Exclamation);
        EXPECT_EQ(m.buttons, MessageButtons::Ok);
    }
    return {valid, box.text(), box.foreColor, int(messages.messages.size())};
}

void expectValid(const QString& typed, const QString& left) {
    const Outcome o = check(typed);
    EXPECT_TRUE(o.valid) << qPrintable(typed);
    EXPECT_EQ(o.text, left) << qPrintable(typed);
    EXPECT_EQ(o.color, QColor(0, 0, 0)) << qPrintable(typed);
    EXPECT_EQ(o.messages, 0) << qPrintable(typed);
}

void expectInvalid(const QString& typed, const QString& left) {
    const Outcome o = check(typed);
    EXPECT_FALSE(o.valid) << qPrintable(typed);
    EXPECT_EQ(o.text, left) << qPrintable(typed);
    EXPECT_EQ(o.color, QColor(254, 0, 0)) << qPrintable(typed);
    EXPECT_EQ(o.messages, 1) << qPrintable(typed);
}

TEST(DniValidatorTest, ValidNumbersAreKeptBlackAndUpperCased) {
    expectValid("12345678Z", "12345678Z");
    expectValid("12345678z", "12345678Z");
    // Seven digits gain a leading zero; 1234567 mod 23 = 19, letter L.
    expectValid("1234567L", "01234567L");
    expectValid("1234567l", "01234567L");
    expectValid("00000000T", "00000000T");
    expectValid("99999999R", "99999999R");
}

TEST(DniValidatorTest, WrongLetterIsRedWithMessageAndTextKept) {
    expectInvalid("12345678A", "12345678A");
    expectInvalid("12345678a", "12345678a");
    expectInvalid("1234567B", "01234567B");
}

TEST(DniValidatorTest, EveryRemainderHasItsLetter) {
    const QString letters = QStringLiteral("TRWAGMYFPDXBNJZSQVHLCKE");
    for (int n = 0; n < 23; ++n) {
        // 23 * 4321 + n has remainder n as well: the number is not just the remainder.
        const QString number = QStringLiteral("%1").arg(23 * 4321 + n, 8, 10, QLatin1Char('0'));
        expectValid(number + letters.at(n), number + letters.at(n));
        expectInvalid(number + letters.at((n + 1) % 23), number + letters.at((n + 1) % 23));
    }
}

TEST(DniValidatorTest, WrongFormIsRefused) {
    expectInvalid("", "000000000");
    expectInvalid("123456789", "123456789");
    expectInvalid("123456789Z", "123456789Z"); // ten characters: not padded, not valid
    expectInvalid("X1234567L", "X1234567L");
    expectInvalid("1234-567L", "1234-567L");
    // Only plain digits count as a number.
    expectInvalid(" 1234567L", " 1234567L");
    expectInvalid("+1234567L", "+1234567L");
    expectInvalid(QString::fromUtf8("١٢٣٤٥٦٧٨Z"), QString::fromUtf8("١٢٣٤٥٦٧٨Z"));
}

} // namespace
} // namespace velmora
