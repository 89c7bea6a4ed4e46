// SPDX-License-Identifier: GPL-2.0-or-later
// The filters of the page language and the text forms of values: everything that decides how
// a value ends up in a page. Output is HTML-escaped unless a filter says it made the text safe
// for where it goes.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

namespace html
{

// A value on its way into a page: its text and whether it still needs HTML escaping.
struct Rendered {
    QVariant value;
    bool safe = false;
};

// & < > " ' as character references; everything else as it is.
QString escapeHtml(const QString& text);
// The text a value prints as: numbers in decimal, true/false, nothing for null, lists and
// maps.
QString textOf(const QVariant& value);
// False for null, false, 0, "" and empty lists and maps.
bool isTrue(const QVariant& value);
// A quoted CSS string that cannot end its <style> element or its declaration.
QString cssString(const QString& text);
// A CSS url() of the text that is safe in a <style> element and in a style attribute alike:
// no quote, ampersand, angle bracket or semicolon stays as it is.
QString cssUrl(const QString& text);
// JSON that is safe inside a <script> element.
QString scriptJson(const QVariant& value);

// Applies the filter named name with its arguments. False for a name that is no filter.
bool applyFilter(const QString& name, const QVariantList& arguments, Rendered& inOut);
// True when name is a filter (for checking templates before they run).
bool isFilter(const QString& name);

} // namespace html
