// SPDX-License-Identifier: GPL-2.0-or-later
#include "plugins/parameditor.h"

#include <cstring>
#include <optional>

#include <QFileInfo>
#include <QStringList>

#include "platform/settings.h"
#include "platform/stringtable.h"
#include "plugins/paramrules.h"
#include "plugins/paramtext.h"

namespace
{

// The same entries and the same one in force. A value the user set again (kind 4 where the
// file gave it back as kind 0) is no change.
bool sameValues(const GVParamInfo& a, const GVParamInfo& b)
{
    if (a.values.size() != b.values.size() ||
        paramrules::valueIndex(a) != paramrules::valueIndex(b))
        return false;
    for (int32_t i = 0; i < a.values.size(); ++i) {
        const GVParamValueInfo& x = a.values[i];
        const GVParamValueInfo& y = b.values[i];
        if (x.value.number != y.value.number ||
            std::strcmp(x.value.text.c_str(), y.value.text.c_str()) != 0 ||
            (x.value.font == nullptr) != (y.value.font == nullptr) ||
            (x.value.font && std::memcmp(x.value.font, y.value.font, sizeof(GVFontBlock)) != 0))
            return false;
    }
    return true;
}

bool sameText(const gv_string& stored, const QString& text)
{
    return paramrules::sameName(stored.c_str(), text.toUtf8().constData());
}

// A path the user gave as the value of a file or folder parameter, made absolute; nothing
// when it names no existing file (or folder).
std::optional<QString> existingPath(const QString& text, bool folder)
{
    if (text.isEmpty())
        return text;
    const QFileInfo info(text);
    if (folder ? !info.isDir() : !info.isFile())
        return std::nullopt;
    return info.absoluteFilePath();
}

} // namespace

GVParamInfo* CParamEditor::Find(const QString& name)
{
    const QByteArray wanted = name.toUtf8();
    for (GVParamInfo& param : m_params)
        if (paramrules::sameName(param.name.c_str(), wanted.constData()))
            return &param;
    return nullptr;
}

CParamEditor::Result CParamEditor::Assign(const QString& name, const QString& text)
{
    GVParamInfo* param = Find(name);
    if (param == nullptr)
        return Result::UnknownName;
    GVParamInfo changed = *param;
    const Result result = assignText(changed, text);
    if (result != Result::Stored)
        return result;
    const bool same = sameValues(changed, *param);
    *param = changed;
    return same ? Result::Unchanged : Result::Stored;
}

CParamEditor::Result CParamEditor::assignText(GVParamInfo& param, const QString& text)
{
    switch (param.type) {
    case PT_CHOICE:
        if (!Options(param).contains(text, Qt::CaseInsensitive))
            return Result::Invalid;
        break;
    case PT_FILE:
    case PT_FILE_2:
    case PT_FOLDER: {
        const std::optional<QString> path = existingPath(text, param.type == PT_FOLDER);
        if (!path)
            return Result::Invalid;
        StoreFieldText(param, *path);
        return Result::Stored;
    }
    case PT_COLOR: {
        const std::optional<uint32_t> colour = paramtext::ParseColour(text);
        if (!colour)
            return Result::Invalid;
        StoreColour(param, *colour);
        return Result::Stored;
    }
    case PT_FONT: {
        if (param.values.empty() || param.values[0].value.font == nullptr)
            return Result::NoValue;
        const std::optional<GVFontBlock> font =
            paramtext::ParseFont(text, *param.values[0].value.font);
        if (!font)
            return Result::Invalid;
        StoreFont(param, *font);
        return Result::Stored;
    }
    case PT_NONE_9:
    case PT_NONE_10:
    case PT_SEPARATOR:
        return Result::NoValue;
    default:
        // Hidden required texts have no field on the page; given here, they must not be empty.
        if (!PageCheck(param, text) || (param.type == PT_TEXT_REQUIRED && text.isEmpty()))
            return Result::Invalid;
        break;
    }
    StoreFieldText(param, text);
    return Result::Stored;
}

bool CParamEditor::PageCheck(const GVParamInfo& param, const QString& fieldText)
{
    return paramrules::acceptsText(param, fieldText.toUtf8().constData());
}

bool CParamEditor::StoreFieldText(GVParamInfo& param, const QString& fieldText)
{
    int32_t index = paramrules::valueIndex(param);
    if (index < 0) {
        param.values.push_back(GVParamValueInfo(PVK_USER_VALUE, GVParamValue()));
        return fillEntry(param, param.values.size() - 1, fieldText);
    }
    if (param.type != PT_CHOICE) {
        param.values[index].kind = PVK_USER_VALUE;
        return fillEntry(param, index, fieldText);
    }
    // A choice: the entry of the option shown becomes the value; no match takes the last.
    param.values[index].kind = PVK_OPTION;
    int32_t chosen = param.values.size() - 1;
    for (int32_t i = 0; i < param.values.size(); ++i)
        if (sameText(param.values[i].value.text, fieldText)) {
            chosen = i;
            break;
        }
    param.values[chosen].kind = PVK_USER_VALUE;
    return chosen != index;
}

bool CParamEditor::fillEntry(GVParamInfo& param, int32_t index, const QString& text)
{
    GVParamValue& value = param.values[index].value;
    switch (param.type) {
    case PT_NUMBER_HIDDEN:
    case PT_NUMBER:
    case PT_SLIDER: {
        const int32_t number = paramrules::integerValue(text.toUtf8().constData());
        const bool changed = number != value.number;
        value.number = number;
        return changed;
    }
    case PT_TEXT:
    case PT_CHOICE:
    case PT_FOLDER:
    case PT_TEXT_HIDDEN:
    case PT_TEXT_REQUIRED:
    case PT_FILE:
    case PT_FILE_2:
        break;
    default:
        return false; // colours and fonts are stored by their buttons
    }
    const bool changed = !sameText(value.text, text);
    value.text = text.toUtf8().constData();
    const bool file = param.type == PT_FILE || param.type == PT_FILE_2;
    if (file && !text.isEmpty() && param.values.size() > 1 && !param.values[1].value.text.empty())
        paramrules::followChosenFile(param, text.toUtf8().constData());
    return changed;
}

bool CParamEditor::StoreColour(GVParamInfo& param, uint32_t colorref)
{
    const auto number = static_cast<int32_t>(colorref);
    if (param.values.empty()) {
        param.values.push_back(GVParamValueInfo(PVK_USER_VALUE, GVParamValue(number)));
        return true;
    }
    GVParamValueInfo& entry = param.values[0];
    const bool changed = entry.value.number != number;
    entry.kind = PVK_USER_VALUE;
    entry.value.number = number;
    return changed;
}

bool CParamEditor::StoreFont(GVParamInfo& param, const GVFontBlock& block)
{
    if (param.values.empty() || param.values[0].value.font == nullptr)
        return false;
    param.values[0].kind = PVK_USER_VALUE;
    param.values[0].value.setFont(&block);
    return true;
}

void CParamEditor::WriteHostSettings(const gv_vector<GVParamInfo>& params, Settings& settings)
{
    const QString section = QStringLiteral("Settings");
    for (const GVParamInfo& param : params) {
        if (paramrules::sameName(param.name.c_str(), "JPEGQuality") && param.values.size() > 2) {
            settings.writeInt(section, loadString(IDS_JPEG_QUALITY_VALUE),
                              param.values[2].value.number);
        } else if (paramrules::sameName(param.name.c_str(), "InterpolationMode")) {
            int mode = 5;
            for (const GVParamValueInfo& entry : param.values)
                if (entry.kind == PVK_USER_VALUE) {
                    const char* text = entry.value.text.c_str();
                    mode = paramrules::sameName(text, "Bicubic")    ? 7
                           : paramrules::sameName(text, "Bilinear") ? 6
                                                                    : 5;
                    break;
                }
            settings.writeInt(section, loadString(IDS_INTERPOLATION_VALUE), mode);
        }
    }
}

QString CParamEditor::InvalidValueMessage(const GVParamInfo& param)
{
    return loadString(IDS_INVALID_PARAMETER).arg(QString::fromUtf8(param.friendlyName.c_str()));
}

QString CParamEditor::ValueText(const GVParamInfo& param)
{
    if (param.type == PT_COLOR)
        return param.values.empty()
                   ? QString()
                   : paramtext::FormatColour(static_cast<uint32_t>(param.values[0].value.number));
    if (param.type == PT_FONT)
        return param.values.empty() || param.values[0].value.font == nullptr
                   ? QString()
                   : paramtext::FormatFont(*param.values[0].value.font);
    const GVParamValue* value = paramrules::value(param);
    switch (param.type) {
    case PT_NUMBER_HIDDEN:
    case PT_NUMBER:
    case PT_SLIDER:
        return QString::number(value ? value->number : 0);
    case PT_NONE_9:
    case PT_NONE_10:
    case PT_SEPARATOR:
        return QString();
    default:
        return value ? QString::fromUtf8(value->text.c_str()) : QString();
    }
}

QStringList CParamEditor::Options(const GVParamInfo& param)
{
    QStringList options;
    for (const GVParamValueInfo& entry : param.values)
        if (entry.kind == PVK_VALUE || entry.kind == PVK_OPTION || entry.kind == PVK_USER_VALUE)
            options << QString::fromUtf8(entry.value.text.c_str());
    return options;
}
