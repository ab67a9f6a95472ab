#include "platform/TextHelpers.h"

#include "support/FakeMessageService.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(TextHelpers, PadTextPadsButNeverCuts) {
    test::FakeMessageService messages;
    EXPECT_EQ(PadText("7", 3, true, "0", messages), u"007"_s);
    EXPECT_EQ(PadText("7", 3, false, " ", messages), u"7  "_s);
    EXPECT_EQ(PadText("12345", 3, true, "0", messages), u"12345"_s);
    EXPECT_EQ(PadText("1234", 6, true, "_", messages), u"__1234"_s);
    EXPECT_TRUE(messages.messages.empty());

    EXPECT_EQ(PadText("7", 3, true, "00", messages), QString());
    EXPECT_EQ(PadText("7", 3, true, "", messages), QString());
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0],
              (test::FakeMessageService::Message{
                  u"Sólo se admiten caracteres, no cadenas en el argumento 'caracter'"_s, u"Error"_s,
                  MessageIcon::None}));
}

TEST(TextHelpers, OemToAnsiConvertsCodePage850Characters) {
    EXPECT_EQ(OemToAnsi(u"Zona Basica 12"_s), u"Zona Basica 12"_s);
    // "Básica", "Peñas" and "Ávila" as their code page 850 bytes appear when read as Windows-1252.
    EXPECT_EQ(OemToAnsi(QString::fromLatin1("B\xA0sica Pe\xA4\x61s \xB5vila")), u"Básica Peñas Ávila"_s);
}
