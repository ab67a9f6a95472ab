#include "platform/TextHelpers.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(TextHelpers, PadTextPadsButNeverCuts) {
    EXPECT_EQ(PadText("7", 3, true, u'0'), u"007"_s);
    EXPECT_EQ(PadText("7", 3, false, u' '), u"7  "_s);
    EXPECT_EQ(PadText("12345", 3, true, u'0'), u"12345"_s);
    EXPECT_EQ(PadText("1234", 6, true, u'_'), u"__1234"_s);
}

TEST(TextHelpers, OemToAnsiConvertsCodePage850Characters) {
    EXPECT_EQ(OemToAnsi(u"Zona Basica 12"_s), u"Zona Basica 12"_s);
    // "Básica", "Peñas" and "Ávila" as their code page 850 bytes appear when read as Windows-1252.
    EXPECT_EQ(OemToAnsi(QString::fromLatin1("B\xA0sica Pe\xA4\x61s \xB5vila")), u"Básica Peñas Ávila"_s);
}
