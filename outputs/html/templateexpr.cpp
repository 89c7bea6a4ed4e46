// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/templateexpr.h"

#include "outputs/html/templatefilters.h"

namespace html
{

namespace
{

using ExprPtr = std::shared_ptr<const CTemplateExpr>;

// Parsing, evaluating and freeing an expression all recurse once per level, so a theme must
// not be able to nest deeply enough to exhaust the stack: real conditions use a handful of
// levels. The token count bounds chains of "and" and "or", which nest on the left.
constexpr int MaxNesting = 64;
constexpr qsizetype MaxTokens = 1000;

// Splits an expression into words, numbers, quoted strings and operators.
bool tokenize(const QString& text, QStringList& tokens, QString* error)
{
    static const QStringList twoChar = {"==", "!=", "<=", ">="};
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'"' || c == u'\'') {
            const qsizetype end = text.indexOf(c, i + 1);
            if (end < 0) {
                *error = QStringLiteral("unterminated string");
                return false;
            }
            tokens << text.mid(i, end - i + 1);
            i = end + 1;
        } else if (c.isLetterOrNumber() || c == u'_' || c == u'-' || c == u'.') {
            qsizetype end = i + 1;
            while (end < text.size() && (text[end].isLetterOrNumber() || text[end] == u'_' ||
                                         text[end] == u'.' || (c == u'-' && text[end].isDigit())))
                ++end;
            tokens << text.mid(i, end - i);
            i = end;
        } else if (twoChar.contains(text.mid(i, 2))) {
            tokens << text.mid(i, 2);
            i += 2;
        } else if (QStringLiteral("<>()|,").contains(c)) {
            tokens << QString(c);
            ++i;
        } else {
            *error = QStringLiteral("unexpected character '%1'").arg(c);
            return false;
        }
    }
    return true;
}

class Parser
{
public:
    Parser(QStringList tokens, QString* error) : m_tokens(std::move(tokens)), m_error(error) {}

    ExprPtr parseAll(bool allowFilters)
    {
        ExprPtr expr = orExpr();
        if (!expr)
            return nullptr;
        if (allowFilters && !filters(*std::const_pointer_cast<CTemplateExpr>(expr)))
            return nullptr;
        if (m_pos < m_tokens.size())
            return fail(QStringLiteral("unexpected '%1'").arg(m_tokens[m_pos]));
        return expr;
    }

private:
    QString peek() const { return m_pos < m_tokens.size() ? m_tokens[m_pos] : QString(); }
    bool accept(const QString& token)
    {
        if (peek() != token)
            return false;
        ++m_pos;
        return true;
    }
    ExprPtr fail(const QString& message)
    {
        if (m_error->isEmpty())
            *m_error = message;
        return nullptr;
    }
    static ExprPtr node(CTemplateExpr::Kind kind, std::vector<ExprPtr> operands, QString op = {})
    {
        auto expr = std::make_shared<CTemplateExpr>();
        expr->kind = kind;
        expr->operands = std::move(operands);
        expr->op = std::move(op);
        return expr;
    }

    ExprPtr orExpr()
    {
        ExprPtr left = andExpr();
        while (left && accept(QStringLiteral("or"))) {
            ExprPtr right = andExpr();
            left = right ? node(CTemplateExpr::Kind::Or, {left, right}) : nullptr;
        }
        return left;
    }
    ExprPtr andExpr()
    {
        ExprPtr left = notExpr();
        while (left && accept(QStringLiteral("and"))) {
            ExprPtr right = notExpr();
            left = right ? node(CTemplateExpr::Kind::And, {left, right}) : nullptr;
        }
        return left;
    }
    ExprPtr notExpr()
    {
        if (accept(QStringLiteral("not"))) {
            const Nesting nesting(*this);
            if (!nesting.allowed())
                return fail(tooDeep());
            ExprPtr inner = notExpr();
            return inner ? node(CTemplateExpr::Kind::Not, {inner}) : nullptr;
        }
        return compare();
    }
    ExprPtr compare()
    {
        static const QStringList ops = {"==", "!=", "<", "<=", ">", ">="};
        ExprPtr left = operand();
        if (!left || !ops.contains(peek()))
            return left;
        const QString op = m_tokens[m_pos++];
        ExprPtr right = operand();
        return right ? node(CTemplateExpr::Kind::Compare, {left, right}, op) : nullptr;
    }
    ExprPtr operand();
    bool filters(CTemplateExpr& expr);

    // One level deeper for as long as it lives.
    class Nesting
    {
    public:
        explicit Nesting(Parser& parser) : m_parser(parser) { ++m_parser.m_nesting; }
        ~Nesting() { --m_parser.m_nesting; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;
        bool allowed() const { return m_parser.m_nesting <= MaxNesting; }

    private:
        Parser& m_parser;
    };
    static QString tooDeep()
    {
        return QStringLiteral("the expression nests more than %1 levels deep").arg(MaxNesting);
    }

    QStringList m_tokens;
    qsizetype m_pos = 0;
    QString* m_error;
    int m_nesting = 0;
};

bool isName(const QString& token)
{
    if (token.isEmpty() || !(token[0].isLetter() || token[0] == u'_'))
        return false;
    for (const QString& part : token.split(u'.'))
        if (part.isEmpty())
            return false;
    return true;
}

ExprPtr Parser::operand()
{
    if (accept(QStringLiteral("("))) {
        const Nesting nesting(*this);
        if (!nesting.allowed())
            return fail(tooDeep());
        ExprPtr inner = orExpr();
        if (inner && !accept(QStringLiteral(")")))
            return fail(QStringLiteral("missing ')'"));
        return inner;
    }
    const QString token = peek();
    if (token.isEmpty())
        return fail(QStringLiteral("missing value"));
    ++m_pos;
    auto expr = std::make_shared<CTemplateExpr>();
    bool isNumber = false;
    const qlonglong number = token.toLongLong(&isNumber);
    if (token.startsWith(u'"') || token.startsWith(u'\''))
        expr->literal = token.mid(1, token.size() - 2);
    else if (isNumber)
        expr->literal = number;
    else if (token == QLatin1String("true") || token == QLatin1String("false"))
        expr->literal = token == QLatin1String("true");
    else if (token == QLatin1String("null"))
        expr->literal = QVariant();
    else if (isName(token)) {
        expr->kind = CTemplateExpr::Kind::Path;
        expr->path = token.split(u'.');
    } else
        return fail(QStringLiteral("unexpected '%1'").arg(token));
    return expr;
}

bool Parser::filters(CTemplateExpr& expr)
{
    while (accept(QStringLiteral("|"))) {
        CTemplateExpr::Filter filter;
        filter.name = peek();
        ++m_pos;
        if (!isFilter(filter.name)) {
            fail(QStringLiteral("unknown filter '%1'").arg(filter.name));
            return false;
        }
        if (accept(QStringLiteral("("))) {
            do {
                ExprPtr argument = operand();
                if (!argument)
                    return false;
                filter.arguments.push_back(argument);
            } while (accept(QStringLiteral(",")));
            if (!accept(QStringLiteral(")"))) {
                fail(QStringLiteral("missing ')' after the filter's arguments"));
                return false;
            }
        }
        expr.filters.push_back(std::move(filter));
    }
    return true;
}

QVariant child(const QVariant& value, const QString& key)
{
    if (value.typeId() == QMetaType::QVariantMap)
        return value.toMap().value(key);
    if (value.typeId() == QMetaType::QVariantList) {
        bool isIndex = false;
        const int index = key.toInt(&isIndex);
        const QVariantList list = value.toList();
        return isIndex && index >= 0 && index < list.size() ? list[index] : QVariant();
    }
    return QVariant();
}

bool isNumeric(const QVariant& v)
{
    const int id = v.typeId();
    return id == QMetaType::Int || id == QMetaType::LongLong || id == QMetaType::Double ||
           id == QMetaType::Bool;
}

bool compareValues(const QString& op, const QVariant& a, const QVariant& b)
{
    int order = 0;
    if (isNumeric(a) && isNumeric(b))
        order = a.toDouble() < b.toDouble() ? -1 : (a.toDouble() > b.toDouble() ? 1 : 0);
    else
        order = textOf(a).compare(textOf(b));
    if (op == QLatin1String("=="))
        return order == 0;
    if (op == QLatin1String("!="))
        return order != 0;
    if (op == QLatin1String("<"))
        return order < 0;
    if (op == QLatin1String("<="))
        return order <= 0;
    if (op == QLatin1String(">"))
        return order > 0;
    return order >= 0;
}

} // namespace

std::shared_ptr<const CTemplateExpr> CTemplateExpr::parse(const QString& text, bool allowFilters,
                                                          QString* error)
{
    QString ignored;
    QString& message = error ? *error : ignored;
    message.clear();
    QStringList tokens;
    if (!tokenize(text, tokens, &message))
        return nullptr;
    if (tokens.size() > MaxTokens) {
        message = QStringLiteral("the expression is longer than %1 words").arg(MaxTokens);
        return nullptr;
    }
    return Parser(tokens, &message).parseAll(allowFilters);
}

QVariant CTemplateExpr::evaluate(const Lookup& lookup) const
{
    switch (kind) {
    case Kind::Literal:
        return literal;
    case Kind::Path: {
        QVariant value = lookup(path.first());
        for (qsizetype i = 1; i < path.size(); ++i)
            value = child(value, path[i]);
        return value;
    }
    case Kind::Not:
        return !isTrue(operands[0]->evaluate(lookup));
    case Kind::And:
        return isTrue(operands[0]->evaluate(lookup)) && isTrue(operands[1]->evaluate(lookup));
    case Kind::Or:
        return isTrue(operands[0]->evaluate(lookup)) || isTrue(operands[1]->evaluate(lookup));
    case Kind::Compare:
        return compareValues(op, operands[0]->evaluate(lookup), operands[1]->evaluate(lookup));
    }
    return QVariant();
}

QString CTemplateExpr::render(const Lookup& lookup) const
{
    Rendered out{evaluate(lookup), false};
    for (const Filter& filter : filters) {
        QVariantList arguments;
        for (const auto& argument : filter.arguments)
            arguments << argument->evaluate(lookup);
        applyFilter(filter.name, arguments, out);
    }
    return out.safe ? textOf(out.value) : escapeHtml(textOf(out.value));
}

} // namespace html
