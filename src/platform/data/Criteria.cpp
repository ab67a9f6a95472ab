#include "platform/data/Criteria.h"

#include "platform/data/RecordTable.h"

namespace velmora {
namespace {

struct Token {
    enum class Type { End, Ident, Text, Number, Op, Open, Close } type = Type::End;
    QString text;
};

class Parser {
public:
    Parser(const QString& text, const ColumnResolver& resolve) : m_text(text), m_resolve(resolve) {}

    Result<Criteria> parse() {
        auto next = lex();
        if (!next)
            return next.error();
        m_token = *next;
        auto expr = parseOr();
        if (!expr)
            return expr;
        if (m_token.type != Token::Type::End)
            return fail(QStringLiteral("texto inesperado «%1»").arg(m_token.text));
        return expr;
    }

private:
    Error fail(const QString& what) const {
        return Error::make(ErrorCode::BadCriteria,
                           QStringLiteral("Criterio de filtro no válido (%1): %2").arg(what, m_text));
    }

    Status advance() {
        auto next = lex();
        if (!next)
            return next.error();
        m_token = *next;
        return {};
    }

    bool atKeyword(QLatin1StringView word) const {
        return m_token.type == Token::Type::Ident && m_token.text.compare(word, Qt::CaseInsensitive) == 0;
    }

    Result<Criteria> parseJoined(Criteria::Kind kind, QLatin1StringView keyword,
                                 Result<Criteria> (Parser::*operand)()) {
        auto first = (this->*operand)();
        if (!first || !atKeyword(keyword))
            return first;
        Criteria joined;
        joined.kind = kind;
        joined.children.push_back(std::move(first).value());
        while (atKeyword(keyword)) {
            VELMORA_TRY(advance());
            auto more = (this->*operand)();
            if (!more)
                return more;
            joined.children.push_back(std::move(more).value());
        }
        return joined;
    }

    Result<Criteria> parseOr() {
        return parseJoined(Criteria::Kind::Or, QLatin1StringView("OR"), &Parser::parseAnd);
    }
    Result<Criteria> parseAnd() {
        return parseJoined(Criteria::Kind::And, QLatin1StringView("AND"), &Parser::parsePrimary);
    }

    Result<Criteria> parsePrimary() {
        if (m_token.type == Token::Type::Open) {
            // Each group is parsed (and later evaluated and destroyed) by recursion, so
            // the depth is bounded well below what the stack can take.
            if (m_depth >= kMaxGroupDepth)
                return fail(QStringLiteral("más de %1 paréntesis anidados").arg(kMaxGroupDepth));
            VELMORA_TRY(advance());
            ++m_depth;
            auto inner = parseOr();
            --m_depth;
            if (!inner)
                return inner;
            if (m_token.type != Token::Type::Close)
                return fail(QStringLiteral("falta «)»"));
            VELMORA_TRY(advance());
            return inner;
        }
        if (m_token.type != Token::Type::Ident || atKeyword(QLatin1StringView("AND")) ||
            atKeyword(QLatin1StringView("OR")))
            return fail(QStringLiteral("se esperaba un nombre de columna"));
        Criteria compare;
        compare.column = m_resolve(m_token.text);
        if (compare.column < 0)
            return fail(QStringLiteral("columna desconocida «%1»").arg(m_token.text));
        VELMORA_TRY(advance());
        if (m_token.type != Token::Type::Op)
            return fail(QStringLiteral("se esperaba un operador"));
        compare.op = opFor(m_token.text);
        VELMORA_TRY(advance());
        if (m_token.type != Token::Type::Text && m_token.type != Token::Type::Number)
            return fail(QStringLiteral("se esperaba un valor"));
        compare.quoted = m_token.type == Token::Type::Text;
        compare.literal = m_token.text;
        VELMORA_TRY(advance());
        return compare;
    }

    static Criteria::Op opFor(const QString& op) {
        if (op == QLatin1String("<>"))
            return Criteria::Op::NotEqual;
        if (op == QLatin1String("<="))
            return Criteria::Op::LessEqual;
        if (op == QLatin1String(">="))
            return Criteria::Op::GreaterEqual;
        if (op == QLatin1String("<"))
            return Criteria::Op::Less;
        if (op == QLatin1String(">"))
            return Criteria::Op::Greater;
        return Criteria::Op::Equal;
    }

    Result<Token> lex() {
        const qsizetype n = m_text.size();
        while (m_pos < n && m_text.at(m_pos).isSpace())
            ++m_pos;
        if (m_pos >= n)
            return Token{};
        const QChar c = m_text.at(m_pos);
        if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
            ++m_pos;
            return Token{c == QLatin1Char('(') ? Token::Type::Open : Token::Type::Close, QString(c)};
        }
        if (c == QLatin1Char('\'')) {
            QString value;
            ++m_pos;
            while (true) {
                if (m_pos >= n)
                    return fail(QStringLiteral("comilla sin cerrar"));
                const QChar d = m_text.at(m_pos++);
                if (d == QLatin1Char('\'')) {
                    if (m_pos < n && m_text.at(m_pos) == QLatin1Char('\'')) {
                        value += d;
                        ++m_pos;
                        continue;
                    }
                    break;
                }
                value += d;
            }
            return Token{Token::Type::Text, value};
        }
        if (c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>')) {
            QString op(c);
            ++m_pos;
            if (m_pos < n) {
                const QChar d = m_text.at(m_pos);
                if ((c == QLatin1Char('<') && (d == QLatin1Char('>') || d == QLatin1Char('='))) ||
                    (c == QLatin1Char('>') && d == QLatin1Char('='))) {
                    op += d;
                    ++m_pos;
                }
            }
            return Token{Token::Type::Op, op};
        }
        if (c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('+')) {
            const qsizetype start = m_pos++;
            while (m_pos < n && (m_text.at(m_pos).isDigit() || m_text.at(m_pos) == QLatin1Char('.')))
                ++m_pos;
            const QString number = m_text.mid(start, m_pos - start);
            bool ok = false;
            number.toDouble(&ok);
            if (!ok)
                return fail(QStringLiteral("número no válido «%1»").arg(number));
            return Token{Token::Type::Number, number};
        }
        if (c == QLatin1Char('[')) {
            const qsizetype close = m_text.indexOf(QLatin1Char(']'), m_pos);
            if (close < 0)
                return fail(QStringLiteral("falta «]»"));
            const QString name = m_text.mid(m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
            return Token{Token::Type::Ident, name};
        }
        if (c.isLetter() || c == QLatin1Char('_')) {
            const qsizetype start = m_pos++;
            while (m_pos < n && (m_text.at(m_pos).isLetterOrNumber() || m_text.at(m_pos) == QLatin1Char('_')))
                ++m_pos;
            return Token{Token::Type::Ident, m_text.mid(start, m_pos - start)};
        }
        return fail(QStringLiteral("carácter inesperado «%1»").arg(c));
    }

    static constexpr int kMaxGroupDepth = 100;

    const QString& m_text;
    const ColumnResolver& m_resolve;
    qsizetype m_pos = 0;
    int m_depth = 0;
    Token m_token;
};

} // namespace

Result<Criteria> parseCriteria(const QString& text, const ColumnResolver& resolve) {
    return Parser(text, resolve).parse();
}

// ---- evaluation against a table's rows ----------------------------------------------------

bool RecordTable::compare(const Criteria& c, int row) const {
    int order;
    if (isText(c.column)) {
        order = QString::compare(texts[size_t(c.column)][size_t(row)], c.literal, Qt::CaseInsensitive);
    } else {
        const qint64 value = ints[size_t(c.column)][size_t(row)];
        const double literal = c.literal.trimmed().toDouble();
        order = value < literal ? -1 : (value > literal ? 1 : 0);
    }
    switch (c.op) {
    case Criteria::Op::Equal:
        return order == 0;
    case Criteria::Op::NotEqual:
        return order != 0;
    case Criteria::Op::Less:
        return order < 0;
    case Criteria::Op::LessEqual:
        return order <= 0;
    case Criteria::Op::Greater:
        return order > 0;
    case Criteria::Op::GreaterEqual:
        return order >= 0;
    }
    return false;
}

bool RecordTable::matches(const Criteria& c, int row) const {
    switch (c.kind) {
    case Criteria::Kind::Compare:
        return compare(c, row);
    case Criteria::Kind::And:
        return std::all_of(c.children.begin(), c.children.end(),
                           [&](const Criteria& child) { return matches(child, row); });
    case Criteria::Kind::Or:
        return std::any_of(c.children.begin(), c.children.end(),
                           [&](const Criteria& child) { return matches(child, row); });
    }
    return false;
}

// Ascending row ids that may match, when an index can tell; nullopt means a scan.
std::optional<std::vector<int>> RecordTable::candidates(const Criteria& c) {
    switch (c.kind) {
    case Criteria::Kind::Compare: {
        if (c.op != Criteria::Op::Equal)
            return std::nullopt;
        const Index& idx = index(c.column);
        const auto it = idx.ids.constFind(keyOfLiteral(c.column, c.literal));
        return it == idx.ids.constEnd() ? std::vector<int>{} : it.value();
    }
    case Criteria::Kind::And: {
        std::optional<std::vector<int>> best;
        for (const Criteria& child : c.children) {
            auto ids = candidates(child);
            if (ids && (!best || ids->size() < best->size()))
                best = std::move(ids);
        }
        return best;
    }
    case Criteria::Kind::Or: {
        std::vector<int> all;
        for (const Criteria& child : c.children) {
            auto ids = candidates(child);
            if (!ids)
                return std::nullopt;
            all.insert(all.end(), ids->begin(), ids->end());
        }
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }
    }
    return std::nullopt;
}

Result<Criteria> RecordTable::parse(const QString& text) const {
    auto parsed = parseCriteria(text, [this](QStringView name) { return resolve(name); });
    if (!parsed)
        return parsed;
    // Numbers compared with an integer column must be numbers.
    const Status checked = checkLiterals(*parsed, text);
    if (!checked)
        return checked.error();
    return parsed;
}

Status RecordTable::checkLiterals(const Criteria& c, const QString& text) const {
    if (c.kind != Criteria::Kind::Compare) {
        for (const Criteria& child : c.children)
            VELMORA_TRY(checkLiterals(child, text));
        return {};
    }
    if (!isText(c.column)) {
        bool ok = false;
        c.literal.trimmed().toDouble(&ok);
        if (!ok)
            return Error::make(
                ErrorCode::TypeMismatch,
                QStringLiteral("Criterio de filtro no válido (se esperaba un número): %1").arg(text));
    }
    return {};
}

} // namespace velmora
