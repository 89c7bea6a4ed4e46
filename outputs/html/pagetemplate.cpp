// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/pagetemplate.h"

#include <QStringList>

#include "outputs/html/templateexpr.h"
#include "outputs/html/templatefilters.h"

namespace html
{

using NodeList = std::vector<std::shared_ptr<TemplateNode>>;
using ExprPtr = std::shared_ptr<const CTemplateExpr>;

struct TemplateNode {
    enum class Kind { Text, Output, If, For };
    Kind kind = Kind::Text;
    QString text;                                       // Text
    ExprPtr expr;                                       // Output, For (the list)
    QString variable;                                   // For
    std::vector<std::pair<ExprPtr, NodeList>> branches; // If: condition and body; For: body
    NodeList otherwise;                                 // else of If and For
};

} // namespace html

using namespace html;

namespace
{

constexpr int MaxIncludeDepth = 8;
// Rendering and freeing a page recurse once per open block; real themes nest a few deep.
constexpr qsizetype MaxBlockNesting = 64;
// A page's own text, and all it reads through its includes (one file may be included many
// times): far more than any theme needs, little enough to parse in a moment.
constexpr qsizetype MaxTemplateCharacters = 1024 * 1024;
constexpr qsizetype MaxParsedCharacters = 8 * 1024 * 1024;

// Looks names up in the loop variables (innermost first), then in the page's context.
class Scope
{
public:
    explicit Scope(const QVariantMap& context) : m_context(context) {}
    QVariant lookup(const QString& name) const
    {
        for (auto it = m_locals.rbegin(); it != m_locals.rend(); ++it)
            if (it->first == name)
                return it->second;
        return m_context.value(name);
    }
    void push(const QString& name, const QVariant& value) { m_locals.emplace_back(name, value); }
    void pop() { m_locals.pop_back(); }

private:
    const QVariantMap& m_context;
    std::vector<std::pair<QString, QVariant>> m_locals;
};

// Renders nodes into out while the page's budget lasts; once it is spent the page stops with
// a fault instead of running for minutes and filling the memory.
class Renderer
{
public:
    Renderer(const QVariantMap& context, const RenderBudget& budget, QString& out)
        : m_scope(context), m_budget(budget), m_out(out)
    {
    }

    bool nodes(const NodeList& list);
    const QString& fault() const { return m_fault; }

private:
    bool loop(const TemplateNode& node);
    bool spend();
    QVariant evaluate(const CTemplateExpr& expr) const
    {
        return expr.evaluate([this](const QString& name) { return m_scope.lookup(name); });
    }

    Scope m_scope;
    const RenderBudget& m_budget;
    QString& m_out;
    qint64 m_steps = 0;
    QString m_fault;
};

bool Renderer::spend()
{
    if (++m_steps > m_budget.steps)
        m_fault = QStringLiteral("the page takes more than %1 steps (loops nested too deeply?)")
                      .arg(m_budget.steps);
    else if (m_out.size() > m_budget.characters)
        m_fault = QStringLiteral("the page grows beyond %1 characters").arg(m_budget.characters);
    return m_fault.isEmpty();
}

bool Renderer::loop(const TemplateNode& node)
{
    const QVariantList items = evaluate(*node.expr).toList();
    if (items.isEmpty())
        return nodes(node.otherwise);
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (!spend())
            return false;
        const QVariantMap loop{{"index", i + 1},
                               {"index0", i},
                               {"first", i == 0},
                               {"last", i + 1 == items.size()},
                               {"length", items.size()}};
        m_scope.push(QStringLiteral("loop"), loop);
        m_scope.push(node.variable, items[i]);
        const bool rendered = nodes(node.branches.front().second);
        m_scope.pop();
        m_scope.pop();
        if (!rendered)
            return false;
    }
    return true;
}

bool Renderer::nodes(const NodeList& list)
{
    for (const auto& node : list) {
        if (!spend())
            return false;
        switch (node->kind) {
        case TemplateNode::Kind::Text:
            m_out += node->text;
            break;
        case TemplateNode::Kind::Output:
            m_out +=
                node->expr->render([this](const QString& name) { return m_scope.lookup(name); });
            break;
        case TemplateNode::Kind::If: {
            const NodeList* chosen = &node->otherwise;
            for (const auto& [condition, body] : node->branches)
                if (isTrue(evaluate(*condition))) {
                    chosen = &body;
                    break;
                }
            if (!nodes(*chosen))
                return false;
            break;
        }
        case TemplateNode::Kind::For:
            if (!loop(*node))
                return false;
            break;
        }
    }
    return true;
}

} // namespace

namespace
{

// Where a tag's white space trimming and line handling apply.
struct TagSpan {
    qsizetype start = 0; // of "{{", "{%" or "{#"
    qsizetype end = 0;   // after "}}", "%}" or "#}"
    QChar type;          // '{', '%' or '#'
    QString body;
    bool trimBefore = false;
    bool trimAfter = false;
};

bool findTag(const QString& text, qsizetype from, TagSpan& span, QString* error)
{
    qsizetype at = from;
    while ((at = text.indexOf(u'{', at)) >= 0 && at + 1 < text.size()) {
        const QChar type = text[at + 1];
        if (type != u'{' && type != u'%' && type != u'#') {
            ++at;
            continue;
        }
        const QString closing = QString(type == u'{' ? u'}' : type) + u'}';
        const qsizetype close = text.indexOf(closing, at + 2);
        if (close < 0) {
            *error = QStringLiteral("a tag is not closed");
            return false;
        }
        span = {at, close + 2, type, text.mid(at + 2, close - at - 2), false, false};
        span.trimBefore = span.body.startsWith(u'-');
        span.trimAfter = span.body.endsWith(u'-');
        span.body = span.body.mid(span.trimBefore ? 1 : 0);
        span.body.chop(span.trimAfter ? 1 : 0);
        span.body = span.body.trimmed();
        return true;
    }
    span.start = -1;
    return true;
}

int lineOf(const QString& text, qsizetype position)
{
    return static_cast<int>(QStringView(text).left(position).count(u'\n')) + 1;
}

} // namespace

// Reads a page's text into nodes, one tag at a time, keeping the open blocks on a stack.
class TemplateParser
{
public:
    TemplateParser(const CPageTemplate::Loader& include, int depth, qsizetype& parsed)
        : m_include(include), m_depth(depth), m_parsed(parsed)
    {
    }

    bool parse(const QString& name, const QString& text, NodeList& into, QString* error);

private:
    struct Open {
        std::shared_ptr<TemplateNode> node; // null for the page itself
        NodeList* target;                   // where the nodes of the current branch go
        QString tag;                        // "if" or "for"
        bool sawElse = false;
    };

    static QString textBefore(const QString& text, qsizetype pos, const TagSpan& span,
                              bool dropNewline);
    bool tag(const QString& body, QString* error);
    bool blockTag(const QString& word, const QString& rest, QString* error);
    bool include(const QString& rest, QString* error);
    bool elseIf(const QString& rest, QString* error);
    bool closeBlock(const QString& word, QString* error);
    void addText(const QString& text);
    bool withinLimits(const QString& name, const QString& text, QString* error);

    const CPageTemplate::Loader& m_include;
    int m_depth;
    qsizetype& m_parsed; // characters read so far for the whole page, includes too
    std::vector<Open> m_open;
    bool m_located = false; // the fault came from an included file and names it
};

void TemplateParser::addText(const QString& text)
{
    if (text.isEmpty())
        return;
    auto node = std::make_shared<TemplateNode>();
    node->text = text;
    m_open.back().target->push_back(node);
}

// The text between the previous tag and span, with the white space the tags take away gone.
QString TemplateParser::textBefore(const QString& text, qsizetype pos, const TagSpan& span,
                                   bool dropNewline)
{
    QString before = text.mid(pos, (span.start < 0 ? text.size() : span.start) - pos);
    bool atLineStart = pos == 0 || text[pos - 1] == u'\n';
    if (dropNewline && before.startsWith(u'\n')) {
        before.remove(0, 1);
        atLineStart = true;
    }
    if (span.start < 0)
        return before;
    const qsizetype lineStart = before.lastIndexOf(u'\n') + 1;
    if (span.trimBefore) {
        while (!before.isEmpty() && before.back().isSpace())
            before.chop(1);
    } else if (span.type != u'{' && (lineStart > 0 || atLineStart) &&
               before.mid(lineStart).trimmed().isEmpty()) {
        before.truncate(lineStart); // a block tag alone on its line leaves no indent
    }
    return before;
}

bool TemplateParser::withinLimits(const QString& name, const QString& text, QString* error)
{
    m_parsed += text.size();
    if (text.size() > MaxTemplateCharacters)
        *error = QStringLiteral("%1: the file is longer than %2 characters")
                     .arg(name)
                     .arg(MaxTemplateCharacters);
    else if (m_parsed > MaxParsedCharacters)
        *error = QStringLiteral("%1: the page and its includes are longer than %2 characters")
                     .arg(name)
                     .arg(MaxParsedCharacters);
    return error->isEmpty();
}

bool TemplateParser::parse(const QString& name, const QString& text, NodeList& into, QString* error)
{
    if (!withinLimits(name, text, error))
        return false;
    m_open = {{nullptr, &into, QString(), false}};
    qsizetype pos = 0;
    bool dropNewline = false;
    for (;;) {
        TagSpan span;
        QString fault;
        if (!findTag(text, pos, span, &fault)) {
            *error = QStringLiteral("%1:%2: %3").arg(name).arg(lineOf(text, pos)).arg(fault);
            return false;
        }
        addText(textBefore(text, pos, span, dropNewline));
        if (span.start < 0)
            break;
        pos = span.end;
        if (span.trimAfter)
            while (pos < text.size() && text[pos].isSpace())
                ++pos;
        dropNewline = span.type != u'{';
        if (span.type == u'#')
            continue;
        if (!tag(span.type == u'{' ? QStringLiteral("=") + span.body : span.body, &fault)) {
            // A fault inside an included file already says where it is.
            *error = m_located ? fault
                               : QStringLiteral("%1:%2: %3")
                                     .arg(name)
                                     .arg(lineOf(text, span.start))
                                     .arg(fault);
            return false;
        }
    }
    if (m_open.size() > 1) {
        *error = QStringLiteral("%1: '%2' is never closed").arg(name, m_open.back().tag);
        return false;
    }
    return true;
}

bool TemplateParser::tag(const QString& body, QString* error)
{
    if (body.startsWith(u'=')) {
        auto node = std::make_shared<TemplateNode>();
        node->kind = TemplateNode::Kind::Output;
        node->expr = CTemplateExpr::parse(body.mid(1), true, error);
        if (!node->expr)
            return false;
        m_open.back().target->push_back(node);
        return true;
    }
    const qsizetype space = body.indexOf(u' ');
    const QString word = space < 0 ? body : body.left(space);
    const QString rest = space < 0 ? QString() : body.mid(space + 1).trimmed();
    return blockTag(word, rest, error);
}

bool TemplateParser::blockTag(const QString& word, const QString& rest, QString* error)
{
    if (word == QLatin1String("include"))
        return include(rest, error);
    if (word == QLatin1String("elif"))
        return elseIf(rest, error);
    if (word == QLatin1String("if") || word == QLatin1String("for")) {
        auto node = std::make_shared<TemplateNode>();
        ExprPtr expr;
        if (word == QLatin1String("if")) {
            node->kind = TemplateNode::Kind::If;
            expr = CTemplateExpr::parse(rest, false, error);
        } else {
            node->kind = TemplateNode::Kind::For;
            const QStringList parts = rest.split(u' ', Qt::SkipEmptyParts);
            if (parts.size() < 3 || parts[1] != QLatin1String("in") || !parts[0][0].isLetter()) {
                *error = QStringLiteral("write 'for name in list'");
                return false;
            }
            node->variable = parts[0];
            expr = CTemplateExpr::parse(parts.mid(2).join(u' '), false, error);
            node->expr = expr;
        }
        if (!expr)
            return false;
        if (m_open.size() > MaxBlockNesting) {
            *error = QStringLiteral("blocks nest more than %1 deep").arg(MaxBlockNesting);
            return false;
        }
        node->branches.emplace_back(expr, NodeList());
        m_open.back().target->push_back(node);
        m_open.push_back({node, &node->branches.back().second, word, false});
        return true;
    }
    if (closeBlock(word, error))
        return true;
    if (error->isEmpty())
        *error = QStringLiteral("unknown tag '%1'").arg(word);
    return false;
}

bool TemplateParser::elseIf(const QString& rest, QString* error)
{
    Open& open = m_open.back();
    if (open.tag != QLatin1String("if") || open.sawElse) {
        *error = QStringLiteral("'elif' does not belong here");
        return false;
    }
    ExprPtr condition = CTemplateExpr::parse(rest, false, error);
    if (!condition)
        return false;
    open.node->branches.emplace_back(condition, NodeList());
    open.target = &open.node->branches.back().second;
    return true;
}

bool TemplateParser::closeBlock(const QString& word, QString* error)
{
    Open& open = m_open.back();
    const bool inIf = open.tag == QLatin1String("if");
    const bool inFor = open.tag == QLatin1String("for");
    if (word == QLatin1String("else") && (inIf || inFor) && !open.sawElse) {
        open.sawElse = true;
        open.target = &open.node->otherwise;
        return true;
    }
    if ((word == QLatin1String("endif") && inIf) || (word == QLatin1String("endfor") && inFor)) {
        m_open.pop_back();
        return true;
    }
    const bool known = QStringList{"else", "endif", "endfor"}.contains(word);
    if (known)
        *error = QStringLiteral("'%1' does not belong here").arg(word);
    return false;
}

bool TemplateParser::include(const QString& rest, QString* error)
{
    const bool quoted = rest.size() >= 2 && (rest.front() == u'"' || rest.front() == u'\'') &&
                        rest.back() == rest.front();
    const QString name = quoted ? rest.mid(1, rest.size() - 2) : QString();
    if (name.isEmpty()) {
        *error = QStringLiteral("write include \"file.html\"");
        return false;
    }
    if (m_depth >= MaxIncludeDepth) {
        *error = QStringLiteral("includes are nested too deeply at '%1'").arg(name);
        return false;
    }
    const std::optional<QString> text = m_include ? m_include(name) : std::nullopt;
    if (!text) {
        *error = QStringLiteral("cannot include '%1'").arg(name);
        return false;
    }
    TemplateParser inner(m_include, m_depth + 1, m_parsed);
    m_located = !inner.parse(name, *text, *m_open.back().target, error);
    return !m_located;
}

CPageTemplate::CPageTemplate() = default;
CPageTemplate::~CPageTemplate() = default;

std::shared_ptr<const CPageTemplate> CPageTemplate::parse(const QString& name, const QString& text,
                                                          const Loader& include, QString* error)
{
    QString ignored;
    QString& message = error ? *error : ignored;
    message.clear();
    std::shared_ptr<CPageTemplate> page(new CPageTemplate());
    qsizetype parsed = 0;
    TemplateParser parser(include, 0, parsed);
    if (!parser.parse(name, text, page->m_nodes, &message))
        return nullptr;
    return page;
}

std::optional<QString> CPageTemplate::render(const QVariantMap& context, QString* error,
                                             const RenderBudget& budget) const
{
    QString out;
    Renderer renderer(context, budget, out);
    if (renderer.nodes(m_nodes))
        return out;
    if (error != nullptr)
        *error = renderer.fault();
    return std::nullopt;
}
