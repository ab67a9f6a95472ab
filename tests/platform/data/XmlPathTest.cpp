#include "platform/data/XmlPath.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(XmlPath, EveryPlainPositionMovesUpByOne) {
    EXPECT_EQ(toXPath(QStringLiteral("//Tab[0]/NombreTab")), QStringLiteral("//Tab[1]/NombreTab"));
    EXPECT_EQ(toXPath(QStringLiteral("/a[9]/b[0]/c[99]")), QStringLiteral("/a[10]/b[1]/c[100]"));
    EXPECT_EQ(toXPath(QStringLiteral("//x[007]")), QStringLiteral("//x[8]")) << "leading zeros";
    EXPECT_EQ(toXPath(QStringLiteral("//Configuracion/@Nombre")), QStringLiteral("//Configuracion/@Nombre"));
    EXPECT_EQ(toXPath(QString()), QString());
}

TEST(XmlPath, PredicatesThatAreNotAPlainNumberStayAsTheyAre) {
    for (const char* path : {"//Tab[@id='3']", "//Tab[ 0 ]", "//Tab[]", "//Tab[0", "//Tab[-1]", "//Tab[1+1]",
                             "//Tab[last()]", "[", "//a[0x1]"})
        EXPECT_EQ(toXPath(QString::fromLatin1(path)), QString::fromLatin1(path)) << path;
    // Digits inside an attribute test are not positions, the plain number after it is.
    EXPECT_EQ(toXPath(QStringLiteral("//Tab[@n='0'][0]")), QStringLiteral("//Tab[@n='0'][1]"));
}

TEST(XmlPath, APositionTooLargeToHoldNeverBecomesTheFirstNode) {
    const QString huge = QStringLiteral("//Tab[99999999999999999999]");
    EXPECT_EQ(toXPath(huge), huge);
    EXPECT_EQ(toXPath(QStringLiteral("//Tab[9223372036854775807]")),
              QStringLiteral("//Tab[9223372036854775807]"));
    EXPECT_EQ(toXPath(QStringLiteral("//Tab[9223372036854775806]")),
              QStringLiteral("//Tab[9223372036854775807]"));
}
