#include "platform/data/Criteria.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

int resolveOrden(QStringView name) {
    return name.compare(QLatin1String("ORDEN"), Qt::CaseInsensitive) == 0 ? 0 : -1;
}

QString inParentheses(const QString& inner, int depth) {
    return QString(depth, QLatin1Char('(')) + inner + QString(depth, QLatin1Char(')'));
}

} // namespace

TEST(CriteriaNesting, GroupsNestAtMostAHundredDeep) {
    const auto hundred = parseCriteria(inParentheses(u"ORDEN = 1 OR ORDEN = 2"_s, 100), resolveOrden);
    ASSERT_TRUE(hundred.ok()) << hundred.error().description.toStdString();
    EXPECT_EQ(hundred->kind, Criteria::Kind::Or);
    ASSERT_EQ(hundred->children.size(), 2u);
    EXPECT_EQ(hundred->children[1].literal, u"2"_s);

    // Ten thousand levels used to overflow the stack; every depth past the limit is one clear error.
    for (const int depth : {101, 10000, 200000}) {
        const QString text = inParentheses(u"ORDEN = 1"_s, depth);
        const auto parsed = parseCriteria(text, resolveOrden);
        ASSERT_FALSE(parsed.ok()) << depth;
        EXPECT_EQ(parsed.error().number, ErrorCode::BadCriteria);
        EXPECT_TRUE(parsed.error().description.startsWith(
            u"Criterio de filtro no válido (más de 100 paréntesis anidados): "_s))
            << parsed.error().description.left(120).toStdString();
    }
    // Open groups that are never closed, or closed in sequence, count their own depth.
    EXPECT_FALSE(parseCriteria(QString(50000, QLatin1Char('(')), resolveOrden).ok());
    const QString sideBySide =
        inParentheses(u"ORDEN = 1"_s, 60) + u" AND "_s + inParentheses(u"ORDEN = 2"_s, 60);
    EXPECT_TRUE(parseCriteria(sideBySide, resolveOrden).ok()) << "depth is counted per group, not in total";
}
