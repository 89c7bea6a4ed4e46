// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/manifestparams.h"

#include <algorithm>

#include <QJsonObject>
#include <QRegularExpression>

#include "sdk/gvparaminfo.h"

namespace html
{

namespace
{

bool isParameterName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z][A-Za-z0-9_]{0,63}$"));
    return pattern.match(name).hasMatch();
}

bool readNumber(const QJsonObject& entry, ThemeParam& param, QString* error)
{
    if (!entry.value(u"default").isDouble() || !entry.value(u"min").isDouble() ||
        !entry.value(u"max").isDouble()) {
        *error = QStringLiteral("needs a number \"default\", \"min\" and \"max\"");
        return false;
    }
    param.value = entry.value(u"default").toInt();
    param.minimum = entry.value(u"min").toInt();
    param.maximum = entry.value(u"max").toInt();
    if (param.minimum > param.value.toInt() || param.value.toInt() > param.maximum) {
        *error = QStringLiteral("its default lies outside \"min\" to \"max\"");
        return false;
    }
    return true;
}

bool readChoice(const QJsonObject& entry, ThemeParam& param, QString* error)
{
    for (const QJsonValue& option : entry.value(u"options").toArray())
        if (option.isString() && !option.toString().isEmpty())
            param.options << option.toString();
    param.value = entry.value(u"default").toString();
    if (param.options.isEmpty() || param.options.removeDuplicates() > 0 ||
        !param.options.contains(param.value.toString())) {
        *error = QStringLiteral("needs distinct \"options\" and one of them as \"default\"");
        return false;
    }
    return true;
}

bool readFont(const QJsonObject& entry, ThemeParam& param, QString* error)
{
    const QJsonObject font = entry.value(u"default").toObject();
    const QString face = font.value(u"face").toString();
    const int size = font.value(u"size").toInt();
    if (face.isEmpty() || face.toUtf8().size() > 31 || size < 4 || size > 400 ||
        colorRefOf(font.value(u"color").toString(QStringLiteral("#000000"))) < 0) {
        *error = QStringLiteral("needs a font \"default\" with a \"face\" (up to 31 bytes), a "
                                "\"size\" in points and a \"color\"");
        return false;
    }
    param.value = font.toVariantMap();
    return true;
}

bool readTyped(const QJsonObject& entry, ThemeParam& param, QString* error)
{
    switch (param.type) {
    case PT_NUMBER_HIDDEN:
    case PT_NUMBER:
    case PT_SLIDER:
        return readNumber(entry, param, error);
    case PT_CHOICE:
        return readChoice(entry, param, error);
    case PT_COLOR:
        param.value = entry.value(u"default").toString();
        if (colorRefOf(param.value.toString()) < 0) {
            *error = QStringLiteral("needs a \"default\" colour written #rrggbb");
            return false;
        }
        return true;
    case PT_FONT:
        return readFont(entry, param, error);
    case PT_FILE:
    case PT_FILE_2:
        param.value = entry.value(u"default").toString();
        param.fileName = entry.value(u"file").toString();
        param.fileFilter = entry.value(u"filter").toString();
        if (param.fileName.isEmpty()) {
            *error = QStringLiteral("needs the \"file\" name the album keeps the file under");
            return false;
        }
        return true;
    case PT_TEXT:
    case PT_TEXT_REQUIRED:
        param.value = entry.value(u"default").toString();
        if (param.value.toString().isEmpty()) {
            *error = QStringLiteral("needs a \"default\" text, since the field may not be empty");
            return false;
        }
        return true;
    case PT_FOLDER:
    case PT_TEXT_HIDDEN:
        param.value = entry.value(u"default").toString();
        return true;
    case PT_SEPARATOR:
        return true;
    default:
        *error = QStringLiteral("has the unknown type %1").arg(param.type);
        return false;
    }
}

} // namespace

int64_t colorRefOf(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    if (!pattern.match(text).hasMatch())
        return -1;
    const uint32_t rgb = text.mid(1).toUInt(nullptr, 16);
    return ((rgb >> 16) & 0xff) | (rgb & 0xff00) | ((rgb & 0xff) << 16);
}

QString colorText(uint32_t colorRef)
{
    return QStringLiteral("#%1%2%3")
        .arg(colorRef & 0xff, 2, 16, QLatin1Char('0'))
        .arg((colorRef >> 8) & 0xff, 2, 16, QLatin1Char('0'))
        .arg((colorRef >> 16) & 0xff, 2, 16, QLatin1Char('0'));
}

bool readParameters(const QJsonArray& entries, QList<ThemeParam>& params, QString* error)
{
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QJsonObject entry = entries[i].toObject();
        ThemeParam param;
        param.type = entry.value(u"type").toInt(-1);
        param.name = entry.value(u"name").toString();
        param.caption = entry.value(u"caption").toString(param.name);
        param.description = entry.value(u"description").toString();
        if (param.type == PT_SEPARATOR && param.name.isEmpty())
            param.name = QStringLiteral("Separator%1").arg(i + 1);
        QString fault;
        if (!isParameterName(param.name))
            fault = QStringLiteral("needs a \"name\" of letters, digits and '_'");
        else if (param.name.compare(QLatin1String("JPEGQuality"), Qt::CaseInsensitive) == 0 ||
                 param.name.compare(QLatin1String("InterpolationMode"), Qt::CaseInsensitive) == 0)
            fault = QStringLiteral("takes a name the program gives its own parameters");
        else if (std::any_of(params.begin(), params.end(), [&](const ThemeParam& other) {
                     return other.name.compare(param.name, Qt::CaseInsensitive) == 0;
                 }))
            fault = QStringLiteral("repeats the name of an earlier one");
        else
            readTyped(entry, param, &fault);
        if (!fault.isEmpty()) {
            *error = QStringLiteral("parameter %1 (%2) %3").arg(i + 1).arg(param.name, fault);
            return false;
        }
        params << param;
    }
    return true;
}

} // namespace html
