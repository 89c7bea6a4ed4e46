// SPDX-License-Identifier: GPL-2.0-or-later
// CTemplateExpr: an expression of the page language, parsed once and evaluated per page.
//
//   photo.title                        a value by its path (list items by number: photos.0)
//   "text", 12, true, false, null      literals
//   a == b, a != b, a < b, a <= b, a > b, a >= b
//   not a, a and b, a or b, ( ... )
//   value | filter | filter("argument")   output expressions only
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QString>
#include <QStringList>
#include <QVariant>

namespace html
{

class CTemplateExpr
{
public:
    // Looks up the first name of a path; the rest is walked through maps and lists.
    using Lookup = std::function<QVariant(const QString& name)>;

    struct Filter {
        QString name;
        std::vector<std::shared_ptr<const CTemplateExpr>> arguments;
    };

    // Null and *error set when text is not an expression (filters only when allowed).
    static std::shared_ptr<const CTemplateExpr> parse(const QString& text, bool allowFilters,
                                                      QString* error);

    QVariant evaluate(const Lookup& lookup) const;
    // The value through its filters, as it goes into a page.
    QString render(const Lookup& lookup) const;

    enum class Kind { Literal, Path, Not, And, Or, Compare };

    Kind kind = Kind::Literal;
    QVariant literal;
    QStringList path;
    QString op; // for Compare
    std::vector<std::shared_ptr<const CTemplateExpr>> operands;
    std::vector<Filter> filters;
};

} // namespace html
