// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/sizeexpr.h"

#include <cstdint>

#include <QRegularExpression>

namespace html
{

namespace
{

std::optional<long long> term(const QString& text, const NumberOf& numberOf)
{
    const QString word = text.trimmed();
    bool isNumber = false;
    const int number = word.toInt(&isNumber);
    if (isNumber)
        return number;
    if (word.isEmpty())
        return std::nullopt;
    const std::optional<int> value = numberOf(word);
    if (!value)
        return std::nullopt;
    return *value;
}

} // namespace

std::optional<int> evaluateSize(const QString& expr, const NumberOf& numberOf)
{
    const qsizetype op = expr.indexOf(QRegularExpression(QStringLiteral("[*/]")));
    if (op < 0) {
        const std::optional<long long> value = term(expr, numberOf);
        return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
    }
    const std::optional<long long> left = term(expr.left(op), numberOf);
    const std::optional<long long> right = term(expr.mid(op + 1), numberOf);
    if (!left || !right)
        return std::nullopt;
    long long result = 0;
    if (expr[op] == u'*') {
        result = *left * *right;
    } else {
        if (*right == 0)
            return std::nullopt;
        result = *left / *right;
    }
    if (result < INT32_MIN || result > INT32_MAX)
        return std::nullopt;
    return static_cast<int>(result);
}

} // namespace html
