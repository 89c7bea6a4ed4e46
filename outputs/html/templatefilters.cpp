// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/templatefilters.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QUrl>

#include "outputs/html/textcontrast.h"

namespace html
{

namespace
{

// Characters that could end a <style> or <script> element, or start a reference, written as
// the escapes of the language the text is in.
QString neutralise(const QString& text, const char* lt, const char* gt, const char* amp)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'<')
            out += QLatin1String(lt);
        else if (c == u'>')
            out += QLatin1String(gt);
        else if (c == u'&')
            out += QLatin1String(amp);
        else
            out += c;
    }
    return out;
}

QString withBreaks(const QString& text)
{
    QString escaped = escapeHtml(text);
    escaped.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    escaped.replace(u'\r', u'\n');
    escaped.replace(QLatin1String("\n"), QLatin1String("<br>\n"));
    return escaped;
}

qsizetype lengthOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::QVariantList)
        return value.toList().size();
    if (value.typeId() == QMetaType::QVariantMap)
        return value.toMap().size();
    return textOf(value).size();
}

} // namespace

QString escapeHtml(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\'':
            out += QLatin1String("&#39;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString textOf(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
    case QMetaType::QVariantList:
    case QMetaType::QVariantMap:
        return QString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    default:
        return value.toString();
    }
}

bool isTrue(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
        return false;
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return value.toDouble() != 0;
    default:
        return lengthOf(value) > 0;
    }
}

QString cssString(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\' || c == u'<' || c == u'>' || c == u'&' || c.unicode() < 0x20 ||
            c.unicode() == 0x7f)
            out += QStringLiteral("\\%1 ").arg(c.unicode(), 0, 16);
        else
            out += c;
    }
    return out + u'"';
}

QString cssUrl(const QString& text)
{
    QString out = QStringLiteral("url('");
    for (const QChar c : text) {
        // A semicolon too: checkers of style attributes split declarations at every one.
        if (QStringLiteral("'\"\\<>&;()").contains(c) || c.unicode() < 0x20 || c.unicode() == 0x7f)
            out += QStringLiteral("\\%1 ").arg(c.unicode(), 0, 16);
        else
            out += c;
    }
    return out + QStringLiteral("')");
}

QString scriptJson(const QVariant& value)
{
    // Wrapped in an array so that plain values can be written too, then unwrapped.
    const QByteArray json =
        QJsonDocument(QJsonArray{QJsonValue::fromVariant(value)}).toJson(QJsonDocument::Compact);
    QString text = QString::fromUtf8(json.mid(1, json.size() - 2));
    text = neutralise(text, "\\u003c", "\\u003e", "\\u0026");
    text.replace(QChar(0x2028), QLatin1String("\\u2028"));
    text.replace(QChar(0x2029), QLatin1String("\\u2029"));
    return text;
}

bool isFilter(const QString& name)
{
    static const QStringList names = {"raw",       "nl2br", "json",     "url",
                                      "upper",     "lower", "length",   "default",
                                      "cssstring", "css",   "readable", "cssurl"};
    return names.contains(name);
}

bool applyFilter(const QString& name, const QVariantList& arguments, Rendered& io)
{
    if (name == QLatin1String("raw")) {
        io.safe = true;
    } else if (name == QLatin1String("nl2br")) {
        io.value = io.safe ? textOf(io.value) : withBreaks(textOf(io.value));
        io.safe = true;
    } else if (name == QLatin1String("json")) {
        io.value = scriptJson(io.value);
        io.safe = true;
    } else if (name == QLatin1String("url")) {
        io.value = QString::fromLatin1(QUrl::toPercentEncoding(textOf(io.value), "/"));
    } else if (name == QLatin1String("upper")) {
        io.value = textOf(io.value).toUpper();
    } else if (name == QLatin1String("lower")) {
        io.value = textOf(io.value).toLower();
    } else if (name == QLatin1String("length")) {
        io.value = static_cast<qlonglong>(lengthOf(io.value));
    } else if (name == QLatin1String("default")) {
        if (!isTrue(io.value))
            io.value = arguments.value(0);
    } else if (name == QLatin1String("cssstring")) {
        io.value = cssString(textOf(io.value));
        io.safe = true;
    } else if (name == QLatin1String("readable")) {
        // A colour for text on the background named by the argument, e.g. a user's accent
        // made dark enough for a light page; anything that is no colour passes unchanged.
        const auto text = parseHexColour(textOf(io.value));
        const auto background = parseHexColour(textOf(arguments.value(0)));
        if (text && background)
            io.value = readableOn(*text, *background).name();
    } else if (name == QLatin1String("cssurl")) {
        io.value = cssUrl(textOf(io.value));
        io.safe = true;
    } else if (name == QLatin1String("css")) {
        io.value = neutralise(textOf(io.value), "\\3c ", "\\3e ", "\\26 ");
        io.safe = true;
    } else {
        return false;
    }
    return true;
}

} // namespace html
