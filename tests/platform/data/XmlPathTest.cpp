#include "platform/data/XmlPath.h"

#include <gtest/gtest.h>

using namespace velmora;

// Every plain position moves up by one; predicates that are not a plain number, and positions
// too large to hold (which must never become the first node), stay as they are.
TEST(XmlPath, PlainPositionsMoveUpByOneAndNothingElseChanges) {
    const std::pair<const char*, const char*> moved[] = {
        {"//Tab[0]/NombreTab", "//Tab[1]/NombreTab"},
        {"/a[9]/b[0]/c[99]", "/a[10]/b[1]/c[100]"},
        {"//x[007]", "//x[8]"},
        {"//Tab[@n='0'][0]", "//Tab[@n='0'][1]"}, // digits inside an attribute test are no position
        {"//Tab[9223372036854775806]", "//Tab[9223372036854775807]"},
    };
    for (const auto& [path, xpath] : moved)
        EXPECT_EQ(toXPath(QString::fromLatin1(path)), QString::fromLatin1(xpath)) << path;
    for (const char* path : {"//Configuracion/@Nombre", "", "//Tab[@id='3']", "//Tab[ 0 ]", "//Tab[]",
                             "//Tab[0", "//Tab[-1]", "//Tab[1+1]", "//Tab[last()]", "[", "//a[0x1]",
                             "//Tab[99999999999999999999]", "//Tab[9223372036854775807]"})
        EXPECT_EQ(toXPath(QString::fromLatin1(path)), QString::fromLatin1(path)) << path;
}
