#pragma once

#include "platform/data/ColumnName.h"

#include <QString>
#include <QStringList>

namespace velmora {

class RecordSet;

// A filter or find text for a record set, built from typed column names: every filter the
// program makes goes through here, so values are quoted the one way criteria texts need
// (a quote inside is doubled) and conditions are joined without string arithmetic.
// A filter is a conjunction of conditions; alternatives (anyOf) come parenthesised, so
// joining them with more conditions keeps their meaning.
class Filter {
public:
    enum class Op { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

    Filter() = default; // no condition: a record set shows every row

    // Column='text'
    static Filter equals(ColumnName column, QStringView text) { return compare(column, Op::Equal, text); }
    // Column=number, for integer columns
    static Filter equals(ColumnName column, qint64 number) { return compare(column, Op::Equal, number); }
    static Filter compare(ColumnName column, Op op, QStringView text);
    static Filter compare(ColumnName column, Op op, qint64 number);
    // (Column='a' OR Column='b' ...); no texts give no condition.
    static Filter anyOf(ColumnName column, const QStringList& texts);
    // The filter `table` holds now, as one condition to narrow further.
    static Filter heldBy(const RecordSet& table);

    Filter& andEquals(ColumnName column, QStringView text) { return andAlso(equals(column, text)); }
    Filter& andAlso(const Filter& other);

    bool isEmpty() const { return m_text.isEmpty(); }
    // Whether `condition` is already one of the conditions joined here.
    bool holds(const Filter& condition) const;
    // The criteria text RecordSet::setFilter and find take.
    const QString& text() const { return m_text; }

private:
    static Filter compareWith(ColumnName column, Op op, const QString& operand);

    QString m_text;
};

// The sort text of `column` in ascending order.
QString ascending(ColumnName column);

} // namespace velmora
