#include "platform/data/SpanishCollation.h"

#include <algorithm>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

QStringList sortedSpanish(QStringList texts) {
    std::sort(texts.begin(), texts.end(),
              [](const QString& a, const QString& b) { return spanishCompare(a, b) < 0; });
    return texts;
}

} // namespace

TEST(SpanishCollation, SortsAsASpanishDictionary) {
    EXPECT_EQ(sortedSpanish({"Ñora", "Ocaña", "Nules", "Nava", "Niñodaguia", "Niebla", "nzzz"}),
              QStringList({"Nava", "Niebla", "Niñodaguia", "Nules", "nzzz", "Ñora", "Ocaña"}));
    EXPECT_LT(spanishCompare(u"Peñarroya", u"Peñas"), 0);
    EXPECT_LT(spanishCompare(u"Pena", u"Peña"), 0);
    EXPECT_LT(spanishCompare(u"Penz", u"Peña"), 0);
    // The same letter written as "n" and a combining tilde sorts as "ñ" too.
    const QString decomposed = u"Pen\u0303a"_s;
    EXPECT_EQ(spanishSortKey(decomposed), spanishSortKey(u"Peña"));
    EXPECT_LT(spanishCompare(u"Penz", decomposed), 0);

    // Accents and case are ignored at first.
    EXPECT_EQ(
        sortedSpanish({"Zamora", "Ávila", "Albacete", "almería", "Écija", "Burgos", "Úbeda", "ubrique"}),
        QStringList({"Albacete", "almería", "Ávila", "Burgos", "Écija", "Úbeda", "ubrique", "Zamora"}));
    EXPECT_EQ(spanishSortKey(u"ÁVILA"), spanishSortKey(u"avila"));
    EXPECT_EQ(spanishSortKey(u"Güéjar"), spanishSortKey(u"guejar"));
    EXPECT_EQ(spanishSortKey(u"ÑANDÚ"), spanishSortKey(u"ñandu"));
}

TEST(SpanishCollation, TextsEqualAtFirstStillHaveAFixedOrder) {
    // A total order: equal keys fall back to the characters, so sorting is repeatable and
    // only identical texts compare equal.
    EXPECT_NE(spanishCompare(u"Avila", u"Ávila"), 0);
    EXPECT_EQ(spanishCompare(u"Avila", u"Ávila"), -spanishCompare(u"Ávila", u"Avila"));
    EXPECT_NE(spanishCompare(u"leon", u"León"), 0);
    EXPECT_EQ(spanishCompare(u"León", u"León"), 0);
    EXPECT_LT(spanishCompare(u"", u"a"), 0);
    EXPECT_LT(spanishCompare(u"Leon", u"Leona"), 0) << "a prefix comes first";
}
