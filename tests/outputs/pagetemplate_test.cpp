// The themes' page language: escaping by default, filters, conditions, loops, includes, white
// space control, and the faults a theme author can make, each reported with its line.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include "outputs/html/pagetemplate.h"
#include "outputs/html/sizeexpr.h"
#include "tests/outputs/qtprinters.h"

namespace
{

QVariantMap contextOf(const char* json)
{
    return QJsonDocument::fromJson(json).object().toVariantMap();
}

const char* const Context = R"({
    "title": "<b>&\"'",
    "text": "one\ntwo <i>",
    "count": 3, "zero": 0, "empty": "", "yes": true,
    "photos": [{"title": "A", "n": 1}, {"title": "B", "n": 2}, {"title": "C", "n": 3}],
    "none": [],
    "font": {"family": "\"Iowan\", serif"},
    "url": "files/a b<1>.pdf"
})";

std::optional<QString> parts(const QString& name)
{
    if (name == QLatin1String("part.html"))
        return QStringLiteral("[{{ title }}]");
    if (name == QLatin1String("self.html"))
        return QStringLiteral("{% include \"self.html\" %}");
    if (name == QLatin1String("broken.html"))
        return QStringLiteral("line\n{% if %}");
    return std::nullopt;
}

QString render(const QString& text, QString* error = nullptr)
{
    QString fault;
    auto page = CPageTemplate::parse(QStringLiteral("page.html"), text, parts, &fault);
    if (error != nullptr)
        *error = fault;
    return page ? page->render(contextOf(Context)) : QStringLiteral("<fault>");
}

struct Case {
    const char* page;
    const char* expected;
};

} // namespace

TEST(PageTemplate, RendersValuesFiltersConditionsAndLoops)
{
    const Case cases[] = {
        {"plain text", "plain text"},
        {"{{ title }}", "&lt;b&gt;&amp;&quot;&#39;"},
        {"{{ title | raw }}", "<b>&\"'"},
        {"{{ text | nl2br }}", "one<br>\ntwo &lt;i&gt;"},
        {"{{ missing }}|{{ missing.deeper.still }}|{{ photos.9.title }}", "||"},
        {"{{ photos.1.title }} {{ count }} {{ yes }}", "B 3 true"},
        {"{{ photos | length }}{{ title | length }}", "36"},
        {"{{ empty | default(\"none\") }} {{ count | default(\"x\") }}", "none 3"},
        {"{{ title | upper }}", "&lt;B&gt;&amp;&quot;&#39;"},
        {"{{ url | url }}", "files/a%20b%3C1%3E.pdf"},
        {"{{ photos | json }}", R"([{"n":1,"title":"A"},{"n":2,"title":"B"},{"n":3,"title":"C"}])"},
        {"{{ title | json }}", R"("\u003cb\u003e\u0026\"'")"},
        {"{{ font.family | css }}", "\"Iowan\", serif"},
        {"{{ \"a</style>\" | css }}", "a\\3c /style\\3e "},
        {"{{ title | cssstring }}", "\"\\3c b\\3e \\26 \\22 '\""},
        {"{% if yes %}Y{% endif %}{% if zero %}Z{% endif %}{% if empty %}E{% endif %}", "Y"},
        {"{% if count == 3 and not zero %}a{% elif yes %}b{% else %}c{% endif %}", "a"},
        {"{% if count > 5 %}a{% elif count >= 3 %}b{% else %}c{% endif %}", "b"},
        {"{% if none or (zero == 0 and title != \"x\") %}ok{% endif %}", "ok"},
        {"{% if count < 2 %}a{% elif count <= 2 %}b{% else %}c{% endif %}", "c"},
        {"{% for p in photos %}{{ loop.index }}{{ p.title }}{% if not loop.last %},{% endif %}{% "
         "endfor %}",
         "1A,2B,3C"},
        {"{% for p in photos %}{% if loop.first %}[{% endif %}{{ loop.index0 }}/{{ loop.length "
         "}}{% endfor %}",
         "[0/31/32/3"},
        {"{% for p in none %}x{% else %}empty{% endfor %}", "empty"},
        {"{% for p in photos %}{% for q in photos %}{% if p.n == q.n %}{{ p.title }}{% endif %}{% "
         "endfor %}{% endfor %}",
         "ABC"},
        {"<{% include \"part.html\" %}>", "<[&lt;b&gt;&amp;&quot;&#39;]>"},
        {"{# a note #}x{# another #}", "x"},
        {"<ul>\n  {% for p in photos %}\n  <li>{{ p.title }}</li>\n  {% endfor %}\n</ul>",
         "<ul>\n  <li>A</li>\n  <li>B</li>\n  <li>C</li>\n</ul>"},
        {"a   {{- count -}}   b", "a3b"},
        {"a\n  {%- if yes -%}\n  b\n{%- endif %}", "ab"},
        {"{ not a tag } {{ \"}\" }}", "{ not a tag } }"},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_EQ(render(QString::fromUtf8(c.page), &error), QString::fromUtf8(c.expected))
            << c.page << " / " << error.toStdString();
    }
}

TEST(PageTemplate, ReportsFaultsWithTheirLine)
{
    const Case cases[] = {
        {"{{ title", "page.html:1: a tag is not closed"},
        {"\n\n{% if yes %}x", "page.html: 'if' is never closed"},
        {"x\n{% endif %}", "page.html:2: 'endif' does not belong here"},
        {"{% for p in photos %}{% endif %}", "page.html:1: 'endif' does not belong here"},
        {"{% if yes %}{% else %}{% else %}{% endif %}", "page.html:1: 'else' does not belong here"},
        {"{% if yes %}{% else %}{% elif no %}{% endif %}",
         "page.html:1: 'elif' does not belong here"},
        {"{% fi %}", "page.html:1: unknown tag 'fi'"},
        {"{% for p photos %}{% endfor %}", "page.html:1: write 'for name in list'"},
        {"{{ title | shout }}", "page.html:1: unknown filter 'shout'"},
        {"{{ title | default(\"x\" }}", "page.html:1: missing ')' after the filter's arguments"},
        {"{{ \"open }}", "page.html:1: unterminated string"},
        {"{{ a b }}", "page.html:1: unexpected 'b'"},
        {"{{ a == }}", "page.html:1: missing value"},
        {"{{ a ; b }}", "page.html:1: unexpected character ';'"},
        {"{% if (a %}{% endif %}", "page.html:1: missing ')'"},
        {"{% if a | raw %}{% endif %}", "page.html:1: unexpected '|'"},
        {"{% include \"nowhere.html\" %}", "page.html:1: cannot include 'nowhere.html'"},
        {"{% include part.html %}", "page.html:1: write include \"file.html\""},
        {"{% include \"self.html\" %}",
         "self.html:1: includes are nested too deeply at 'self.html'"},
        {"{% include \"broken.html\" %}", "broken.html:2: missing value"},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_EQ(render(QString::fromUtf8(c.page), &error), QStringLiteral("<fault>")) << c.page;
        EXPECT_EQ(error, QString::fromUtf8(c.expected)) << c.page;
    }
}

TEST(SizeExpression, NumbersParametersAndOneOperator)
{
    const html::NumberOf numbers = [](const QString& name) -> std::optional<int> {
        if (name == QLatin1String("Big"))
            return 1600;
        if (name == QLatin1String("Zero"))
            return 0;
        return std::nullopt;
    };
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"300", 300},
        {"Big", 1600},
        {"Big/2", 800},
        {"Big*2", 3200},
        {" Big / 3 ", 533},
        {"4*Big", 6400},
        {"Big*Big", 2560000},
        {"Big/Zero", std::nullopt},
        {"Other", std::nullopt},
        {"", std::nullopt},
        {"Big*", std::nullopt},
        {"Big+1", std::nullopt},
        {"99999*99999", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(html::evaluateSize(QString::fromLatin1(text), numbers), expected) << text;
}
