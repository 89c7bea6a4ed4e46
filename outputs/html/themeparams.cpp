// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/themeparams.h"

#include <algorithm>
#include <cstring>

#include "outputs/html/fontcss.h"
#include "outputs/html/manifestparams.h"

using namespace html;

namespace
{

bool sameName(const char* a, const char* b)
{
    return QString::fromUtf8(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive) == 0;
}

// The value of a host record: its first entry of kind 4 or 0.
const GVParamValue* firstValue(const GVParamInfo& param)
{
    for (const GVParamValueInfo& entry : param.values)
        if (entry.kind == PVK_USER_VALUE || entry.kind == PVK_VALUE)
            return &entry.value;
    return nullptr;
}

QByteArray utf8(const QString& text)
{
    return text.toUtf8();
}

void describeValues(const ThemeParam& declared, GVParamInfo& param)
{
    switch (declared.type) {
    case PT_NUMBER:
    case PT_SLIDER:
    case PT_NUMBER_HIDDEN:
        param.values.push_back(GVParamValueInfo(PVK_VALUE, GVParamValue(declared.value.toInt())));
        param.values.push_back(GVParamValueInfo(PVK_MINIMUM, GVParamValue(declared.minimum)));
        param.values.push_back(GVParamValueInfo(PVK_MAXIMUM, GVParamValue(declared.maximum)));
        break;
    case PT_CHOICE:
        for (const QString& option : declared.options)
            param.values.push_back(
                GVParamValueInfo(option == declared.value.toString() ? PVK_VALUE : PVK_OPTION,
                                 GVParamValue(utf8(option).constData())));
        break;
    case PT_COLOR:
        param.values.push_back(GVParamValueInfo(
            PVK_VALUE, GVParamValue(static_cast<int32_t>(colorRefOf(declared.value.toString())))));
        break;
    case PT_FONT: {
        GVParamValue font;
        const GVFontBlock block = fontBlockOf(declared.value.toMap());
        font.setFont(&block);
        param.values.push_back(GVParamValueInfo(PVK_VALUE, font));
        break;
    }
    case PT_FILE:
    case PT_FILE_2:
        param.values.push_back(
            GVParamValueInfo(PVK_VALUE, GVParamValue(utf8(declared.value.toString()).constData())));
        param.values.push_back(
            GVParamValueInfo(PVK_OPTION, GVParamValue(utf8(declared.fileName).constData())));
        param.values.push_back(
            GVParamValueInfo(PVK_OPTION, GVParamValue(utf8(declared.fileFilter).constData())));
        break;
    case PT_SEPARATOR:
        break;
    default:
        param.values.push_back(
            GVParamValueInfo(PVK_VALUE, GVParamValue(utf8(declared.value.toString()).constData())));
    }
}

} // namespace

void CThemeParams::describe(const Theme& theme, gv_vector<GVParamInfo>& out)
{
    int32_t id = 0;
    for (const ThemeParam& declared : theme.params) {
        GVParamInfo param;
        param.id = id++;
        param.name = utf8(declared.name).constData();
        param.friendlyName = utf8(declared.caption).constData();
        param.description = utf8(declared.description).constData();
        param.type = declared.type;
        describeValues(declared, param);
        out.push_back(param);
    }
}

CThemeParams::CThemeParams(const Theme& theme, const gv_vector<GVParamInfo>& values)
    : m_theme(theme), m_values(values)
{
}

const GVParamInfo* CThemeParams::find(const char* name) const
{
    for (const GVParamInfo& param : m_values)
        if (sameName(param.name.c_str(), name))
            return &param;
    return nullptr;
}

const GVParamValue* CThemeParams::valueOf(const QString& name) const
{
    const GVParamInfo* param = find(utf8(name).constData());
    return param != nullptr ? firstValue(*param) : nullptr;
}

std::optional<int> CThemeParams::number(const QString& name) const
{
    const ThemeParam* declared = m_theme.param(name);
    if (declared == nullptr || (declared->type != PT_NUMBER && declared->type != PT_SLIDER &&
                                declared->type != PT_NUMBER_HIDDEN))
        return std::nullopt;
    const GVParamValue* value = valueOf(name);
    if (value == nullptr)
        return declared->value.toInt();
    return std::clamp(value->number, declared->minimum, declared->maximum);
}

QString CThemeParams::text(const QString& name) const
{
    const ThemeParam* declared = m_theme.param(name);
    const GVParamValue* value = valueOf(name);
    QString text = value != nullptr ? QString::fromUtf8(value->text.c_str())
                                    : (declared ? declared->value.toString() : QString());
    if (declared != nullptr && declared->type == PT_CHOICE && !declared->options.contains(text))
        text = declared->value.toString();
    return text;
}

QString CThemeParams::chosenFile(const QString& name) const
{
    const GVParamValue* value = valueOf(name);
    return value != nullptr ? QString::fromUtf8(value->text.c_str()) : QString();
}

QString CThemeParams::albumFileName(const QString& name) const
{
    const GVParamInfo* param = find(utf8(name).constData());
    if (param == nullptr || param->values.size() < 2)
        return m_theme.param(name) ? m_theme.param(name)->fileName : QString();
    return QString::fromUtf8(param->values[1].value.text.c_str());
}

int CThemeParams::jpegQuality() const
{
    const GVParamValue* value = valueOf(QStringLiteral("JPEGQuality"));
    return value != nullptr ? std::clamp(value->number, 1, 100) : DefaultJpegQuality;
}

int CThemeParams::interpolationMode() const
{
    const GVParamValue* value = valueOf(QStringLiteral("InterpolationMode"));
    if (value == nullptr)
        return DefaultInterpolation;
    if (sameName(value->text.c_str(), "Bicubic"))
        return 7;
    return sameName(value->text.c_str(), "Bilinear") ? 6 : 5;
}

bool CThemeParams::keepsCameraData() const
{
    return !m_theme.cameraParam.isEmpty() && text(m_theme.cameraParam) == m_theme.cameraKeep;
}

bool CThemeParams::keepsFolderOriginals() const
{
    return !m_theme.originalsParam.isEmpty() &&
           text(m_theme.originalsParam) == m_theme.originalsKeep;
}

QVariant CThemeParams::scriptValue(const QString& name) const
{
    const ThemeParam* declared = m_theme.param(name);
    if (declared == nullptr)
        return QVariant();
    if (const std::optional<int> n = number(name))
        return *n;
    if (declared->type == PT_COLOR) {
        const GVParamValue* value = valueOf(name);
        return value ? value->number : static_cast<int>(colorRefOf(declared->value.toString()));
    }
    return text(name);
}

QVariantMap CThemeParams::forPages() const
{
    QVariantMap values;
    for (const ThemeParam& declared : m_theme.params) {
        switch (declared.type) {
        case PT_COLOR:
            values[declared.name] =
                colorText(static_cast<uint32_t>(scriptValue(declared.name).toInt()));
            break;
        case PT_FONT: {
            const GVParamValue* value = valueOf(declared.name);
            const GVFontBlock block = value != nullptr && value->font != nullptr
                                          ? *value->font
                                          : fontBlockOf(declared.value.toMap());
            values[declared.name] = fontForPages(
                block, declared.value.toMap().value(QStringLiteral("family")).toString());
            break;
        }
        case PT_SEPARATOR:
        case PT_FILE:
        case PT_FILE_2:
        case PT_FOLDER:
            break;
        default:
            values[declared.name] = scriptValue(declared.name);
        }
    }
    return values;
}
