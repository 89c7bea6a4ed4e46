// SPDX-License-Identifier: GPL-2.0-or-later
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
    if (!page)
        return QStringLiteral("<fault>");
    const std::optional<QString> rendered = page->render(contextOf(Context), error);
    return rendered ? *rendered : QStringLiteral("<over budget>");
}

QString repeated(const char* text, int times)
{
    return QString::fromUtf8(text).repeated(times);
}

// A page's parse fault, or "" when it parses.
QString parseFault(const QString& text)
{
    QString fault;
    const auto page = CPageTemplate::parse(QStringLiteral("page.html"), text, parts, &fault);
    return page ? QString() : fault;
}

// photos: a list of count photos, each with a title.
QVariantMap albumOf(int count)
{
    QVariantList photos;
    for (int i = 0; i < count; ++i)
        photos << QVariantMap{{"title", QStringLiteral("Photo %1").arg(i)}, {"n", i}};
    return {{"photos", photos}};
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
        // A user's text in a script can neither end the element nor open a comment in it; a
        // line separator would end a string in older script engines.
        {"{{ \"</script><!-- caf\u00e9 \u2028\" | json }}",
         "\"\\u003c/script\\u003e\\u003c!-- caf\u00e9 \\u2028\""},
        {"{{ \"a'b\" | cssurl | json }}", R"x("url('a\\27 b')")x"},
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

// A theme's page is read at every scan by every program, so no page text may exhaust the stack:
// deep nesting is refused with a fault while ordinary nesting still works.
TEST(PageTemplate, RefusesNestingThatWouldExhaustTheStack)
{
    const QString deepParentheses =
        QStringLiteral("{{ ") + repeated("(", 10000) + u'a' + repeated(")", 10000) + " }}";
    EXPECT_EQ(parseFault(deepParentheses), "page.html:1: the expression is longer than 1000 words");
    const QString deepNots = QStringLiteral("{% if ") + repeated("not ", 10000) + "a %}{% endif %}";
    EXPECT_EQ(parseFault(deepNots), "page.html:1: the expression is longer than 1000 words");
    const QString nots = QStringLiteral("{% if ") + repeated("not ", 65) + "a %}{% endif %}";
    EXPECT_EQ(parseFault(nots), "page.html:1: the expression nests more than 64 levels deep");
    const QString parentheses =
        QStringLiteral("{{ ") + repeated("(", 65) + u'a' + repeated(")", 65) + " }}";
    EXPECT_EQ(parseFault(parentheses),
              "page.html:1: the expression nests more than 64 levels deep");
    const QString chain = QStringLiteral("{{ a") + repeated(" and a", 600) + " }}";
    EXPECT_EQ(parseFault(chain), "page.html:1: the expression is longer than 1000 words");
    const QString blocks = repeated("{% if yes %}", 10000) + repeated("{% endif %}", 10000);
    EXPECT_EQ(parseFault(blocks), "page.html:1: blocks nest more than 64 deep");

    const QString fine = QStringLiteral("{% if ") + repeated("not ", 64) + "yes %}" +
                         repeated("{% for p in photos %}", 10) + u'(' +
                         repeated("{% endfor %}", 10) + "{% endif %}{{ " + repeated("(", 64) +
                         "count" + repeated(")", 64) + " }}";
    QString error;
    EXPECT_EQ(render(fine, &error).size(), 59049 + 1) << error.toStdString();
}

TEST(PageTemplate, RefusesPagesTooLongToRead)
{
    EXPECT_EQ(parseFault(QString(1024 * 1024, u'x')), QString());
    EXPECT_EQ(parseFault(QString(1024 * 1024 + 1, u'x')),
              "page.html: the file is longer than 1048576 characters");
    // Six levels of includes, each file taking the next one ten times, would read a small
    // file a million times over.
    const auto fanOut = [](const QString& name) -> std::optional<QString> {
        const int level = name.section(u'.', 0, 0).toInt();
        return level < 6 ? QStringLiteral("{% include \"%1.html\" %}").arg(level + 1).repeated(10) +
                               QString(1000, u'x')
                         : QString();
    };
    QString fault;
    EXPECT_EQ(CPageTemplate::parse(QStringLiteral("0.html"), *fanOut(QStringLiteral("0.html")),
                                   fanOut, &fault),
              nullptr);
    EXPECT_TRUE(fault.endsWith("the page and its includes are longer than 8388608 characters"))
        << fault.toStdString();
}

// Every page has a budget of steps and characters: a runaway page stops with a fault, while
// an album of 10,000 photos renders within it.
TEST(PageTemplate, StopsPagesThatRunAway)
{
    const auto page = CPageTemplate::parse(
        QStringLiteral("page.html"),
        QStringLiteral("{% for a in photos %}{% for b in photos %}{% for c in photos %}"
                       "{% for d in photos %}{{ d.title }}{% endfor %}{% endfor %}{% endfor %}"
                       "{% endfor %}"),
        nullptr, nullptr);
    ASSERT_NE(page, nullptr);
    QString fault;
    EXPECT_EQ(page->render(albumOf(300), &fault), std::nullopt);
    EXPECT_EQ(fault, "the page takes more than 10000000 steps (loops nested too deeply?)");

    const auto big =
        CPageTemplate::parse(QStringLiteral("page.html"),
                             QStringLiteral("{% for p in photos %}") + QString(300000, u'x') +
                                 QStringLiteral("{% endfor %}"),
                             nullptr, nullptr);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->render(albumOf(300), &fault), std::nullopt);
    EXPECT_EQ(fault, "the page grows beyond 67108864 characters");

    const auto index = CPageTemplate::parse(
        QStringLiteral("page.html"),
        QStringLiteral("<ul>\n{% for p in photos %}\n  <li{% if loop.first %} class=\"first\""
                       "{% endif %}><a href=\"{{ loop.index }}.html\">{{ p.title | upper }}"
                       "</a> {{ loop.index }} of {{ loop.length }}</li>\n{% endfor %}\n</ul>"),
        nullptr, nullptr);
    ASSERT_NE(index, nullptr);
    const std::optional<QString> listed = index->render(albumOf(10000), &fault);
    ASSERT_TRUE(listed) << fault.toStdString();
    EXPECT_EQ(listed->count(QStringLiteral("<li")), 10000);
    EXPECT_TRUE(listed->contains(QStringLiteral("PHOTO 9999</a> 10000 of 10000")));

    EXPECT_TRUE(index->render(albumOf(10), &fault, RenderBudget{200, 100000}));
    EXPECT_EQ(index->render(albumOf(20), &fault, RenderBudget{200, 100000}), std::nullopt);
    EXPECT_EQ(fault, "the page takes more than 200 steps (loops nested too deeply?)");
    EXPECT_EQ(index->render(albumOf(20), &fault, RenderBudget{200000, 300}), std::nullopt);
    EXPECT_EQ(fault, "the page grows beyond 300 characters");
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
