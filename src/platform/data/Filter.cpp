#include "platform/data/Filter.h"

#include "platform/data/RecordSet.h"

namespace velmora {
namespace {

QLatin1StringView operatorText(Filter::Op op) {
    switch (op) {
    case Filter::Op::Equal:
        return QLatin1StringView("=");
    case Filter::Op::NotEqual:
        return QLatin1StringView("<>");
    case Filter::Op::Less:
        return QLatin1StringView("<");
    case Filter::Op::LessEqual:
        return QLatin1StringView("<=");
    case Filter::Op::Greater:
        return QLatin1StringView(">");
    case Filter::Op::GreaterEqual:
        return QLatin1StringView(">=");
    }
    return QLatin1StringView("=");
}

const QLatin1StringView kAnd(" AND ");

} // namespace

Filter Filter::compareWith(ColumnName column, Op op, const QString& operand) {
    Filter filter;
    filter.m_text = column.toString() + operatorText(op) + operand;
    return filter;
}

Filter Filter::compare(ColumnName column, Op op, QStringView text) {
    // Between quotes a quote is written twice; nothing else needs escaping.
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += QLatin1Char('\'');
    for (const QChar c : text) {
        quoted += c;
        if (c == QLatin1Char('\''))
            quoted += c;
    }
    quoted += QLatin1Char('\'');
    return compareWith(column, op, quoted);
}

Filter Filter::compare(ColumnName column, Op op, qint64 number) {
    return compareWith(column, op, QString::number(number));
}

Filter Filter::anyOf(ColumnName column, const QStringList& texts) {
    Filter filter;
    for (const QString& text : texts)
        filter.m_text += (filter.m_text.isEmpty() ? QLatin1StringView("(") : QLatin1StringView(" OR ")) +
                         equals(column, text).m_text;
    if (!filter.isEmpty())
        filter.m_text += QLatin1Char(')');
    return filter;
}

Filter Filter::heldBy(const RecordSet& table) {
    Filter filter;
    filter.m_text = table.filter().trimmed();
    // A text set from elsewhere may join alternatives at its top: kept together.
    if (filter.m_text.contains(QLatin1StringView(" OR "), Qt::CaseInsensitive))
        filter.m_text = QLatin1Char('(') + filter.m_text + QLatin1Char(')');
    return filter;
}

Filter& Filter::andAlso(const Filter& other) {
    if (m_text.isEmpty())
        m_text = other.m_text;
    else if (!other.m_text.isEmpty())
        m_text += kAnd + other.m_text;
    return *this;
}

bool Filter::holds(const Filter& condition) const {
    if (condition.isEmpty())
        return true;
    for (qsizetype at = m_text.indexOf(condition.m_text); at >= 0;
         at = m_text.indexOf(condition.m_text, at + 1)) {
        // A whole condition: at a start or after a joint, and at an end or before one.
        const qsizetype end = at + condition.m_text.size();
        const bool starts =
            at == 0 || QStringView(m_text).first(at).endsWith(kAnd) || m_text.at(at - 1) == QLatin1Char('(');
        const bool ends = end == m_text.size() || QStringView(m_text).sliced(end).startsWith(kAnd) ||
                          m_text.at(end) == QLatin1Char(')');
        if (starts && ends)
            return true;
    }
    return false;
}

QString ascending(ColumnName column) {
    return column.toString() + QLatin1StringView(" ASC");
}

} // namespace velmora
