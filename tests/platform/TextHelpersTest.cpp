#include "platform/TextHelpers.h"

#include "support/FakeMessageService.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(TextHelpers, PadTextPadsButNeverCuts) {
    test::FakeMessageService messages;
    EXPECT_EQ(PadText("7", 3, true, "0", messages), QStringLiteral("007"));
    EXPECT_EQ(PadText("7", 3, false, " ", messages), QStringLiteral("7  "));
    EXPECT_EQ(PadText("12345", 3, true, "0", messages), QStringLiteral("12345"));
    EXPECT_EQ(PadText("1234", 6, true, "_", messages), QStringLiteral("__1234"));
    EXPECT_TRUE(messages.messages.empty());

    EXPECT_EQ(PadText("7", 3, true, "00", messages), QString());
    EXPECT_EQ(PadText("7", 3, true, "", messages), QString());
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text,
              QStringLiteral("Sólo se admiten caracteres, no cadenas en el argumento 'caracter'"));
    EXPECT_EQ(messages.messages[0].title, QStringLiteral("Error"));
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::None);
}

TEST(TextHelpers, OemToAnsiConvertsCodePage850Characters) {
    EXPECT_EQ(OemToAnsi(QStringLiteral("Zona Basica 12")), QStringLiteral("Zona Basica 12"));
    // "Básica", "Peñas" and "Ávila" as their code page 850 bytes appear when read as Windows-1252.
    EXPECT_EQ(OemToAnsi(QString::fromLatin1("B\xA0sica Pe\xA4\x61s \xB5vila")),
              QStringLiteral("Básica Peñas Ávila"));
}
