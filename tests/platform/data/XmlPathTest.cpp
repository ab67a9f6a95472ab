#include "platform/data/XmlPath.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(XmlPath, EveryPlainPositionMovesUpByOne) {
    EXPECT_EQ(toXPath(u"//Tab[0]/NombreTab"_s), u"//Tab[1]/NombreTab"_s);
    EXPECT_EQ(toXPath(u"/a[9]/b[0]/c[99]"_s), u"/a[10]/b[1]/c[100]"_s);
    EXPECT_EQ(toXPath(u"//x[007]"_s), u"//x[8]"_s) << "leading zeros";
    EXPECT_EQ(toXPath(u"//Configuracion/@Nombre"_s), u"//Configuracion/@Nombre"_s);
    EXPECT_EQ(toXPath(QString()), QString());
}

TEST(XmlPath, PredicatesThatAreNotAPlainNumberStayAsTheyAre) {
    for (const char* path : {"//Tab[@id='3']", "//Tab[ 0 ]", "//Tab[]", "//Tab[0", "//Tab[-1]", "//Tab[1+1]",
                             "//Tab[last()]", "[", "//a[0x1]"})
        EXPECT_EQ(toXPath(QString::fromLatin1(path)), QString::fromLatin1(path)) << path;
    // Digits inside an attribute test are not positions, the plain number after it is.
    EXPECT_EQ(toXPath(u"//Tab[@n='0'][0]"_s), u"//Tab[@n='0'][1]"_s);
}

TEST(XmlPath, APositionTooLargeToHoldNeverBecomesTheFirstNode) {
    const QString huge = u"//Tab[99999999999999999999]"_s;
    EXPECT_EQ(toXPath(huge), huge);
    EXPECT_EQ(toXPath(u"//Tab[9223372036854775807]"_s), u"//Tab[9223372036854775807]"_s);
    EXPECT_EQ(toXPath(u"//Tab[9223372036854775806]"_s), u"//Tab[9223372036854775807]"_s);
}
