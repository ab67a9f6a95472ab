#pragma once

#include "platform/Result.h"

#include <QString>

#include <functional>
#include <vector>

namespace velmora {

// A parsed filter or find text: comparisons of a column with a quoted text or a
// number, joined by AND / OR, with parenthesised groups. AND binds tighter than OR.
struct Criteria {
    enum class Kind { Compare, And, Or };
    enum class Op { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

    Kind kind = Kind::Compare;
    // Compare
    int column = -1;
    Op op = Op::Equal;
    QString literal;     // the text between quotes, or the number as written
    bool quoted = false; // 'text' rather than a bare number
    // And / Or
    std::vector<Criteria> children;
};

// Maps a column name (any case) to its index, or -1.
using ColumnResolver = std::function<int(QStringView)>;

Result<Criteria> parseCriteria(const QString& text, const ColumnResolver& resolve);

} // namespace velmora
