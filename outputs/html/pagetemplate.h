// SPDX-License-Identifier: GPL-2.0-or-later
// CPageTemplate: a page of an HTML theme in the themes' own small language.
//
//   {{ photo.title }}                      a value, HTML-escaped
//   {{ photo.description | nl2br }}        through filters (see templatefilters.h)
//   {% if a == "b" and not c %}..{% elif d %}..{% else %}..{% endif %}
//   {% for p in photos %}{{ loop.index }}{% else %}no photos{% endfor %}
//   {% include "part.html" %}              another file of the theme, read when parsing
//   {# a comment #}
//
// Inside loops, loop.index (from 1), loop.index0, loop.first, loop.last and loop.length are
// known. A '-' just inside a tag's braces removes the white space on that side; a block tag or
// comment alone on its line leaves no empty line. Escaping is the default, so a theme has to
// ask for raw output; a path that names nothing prints nothing.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QString>
#include <QVariantMap>

namespace html
{
struct TemplateNode;
}

// How much work rendering one page may do: far beyond any real theme (a page listing 10,000
// photos takes a few hundred thousand steps and some megabytes), yet a page that loops
// without end stops within seconds and without filling the memory.
struct RenderBudget {
    qint64 steps = 10'000'000; // texts, values and tags rendered, loop rounds included
    qsizetype characters = 64 * 1024 * 1024;
};

class CPageTemplate
{
public:
    // The text of another file of the theme, or nothing when there is none.
    using Loader = std::function<std::optional<QString>(const QString& name)>;

    // The parsed page, or null with *error telling the file, line and fault.
    static std::shared_ptr<const CPageTemplate> parse(const QString& name, const QString& text,
                                                      const Loader& include, QString* error);

    // The page, or nothing and *error saying which limit of the budget it passed.
    std::optional<QString> render(const QVariantMap& context, QString* error = nullptr,
                                  const RenderBudget& budget = RenderBudget()) const;

    ~CPageTemplate();

private:
    CPageTemplate();
    std::vector<std::shared_ptr<html::TemplateNode>> m_nodes;

    friend class TemplateParser;
};
