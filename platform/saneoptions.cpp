// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/saneoptions.h"

#include <algorithm>
#include <cmath>

#include <QByteArray>

#include <sane/saneopts.h>

namespace sane
{

namespace
{

struct Range {
    double min = 0;
    double max = 0;
};

// The option by name when the user may set it now (active and settable), else null.
const SANE_Option_Descriptor* settable(SANE_Handle handle, const char* name, SANE_Int& index)
{
    index = findOption(handle, name);
    const SANE_Option_Descriptor* option =
        index ? sane_get_option_descriptor(handle, index) : nullptr;
    if (!option || !SANE_OPTION_IS_ACTIVE(option->cap) || !SANE_OPTION_IS_SETTABLE(option->cap))
        return nullptr;
    return option;
}

bool isNumber(const SANE_Option_Descriptor* option)
{
    // Arrays of numbers (gamma tables) are no setting of ours.
    return (option->type == SANE_TYPE_INT || option->type == SANE_TYPE_FIXED) &&
           option->size == static_cast<SANE_Int>(sizeof(SANE_Word));
}

double fromWord(const SANE_Option_Descriptor* option, SANE_Word word)
{
    return option->type == SANE_TYPE_FIXED ? SANE_UNFIX(word) : static_cast<double>(word);
}

QStringList stringList(const SANE_Option_Descriptor* option)
{
    QStringList values;
    if (option->type == SANE_TYPE_STRING && option->constraint_type == SANE_CONSTRAINT_STRING_LIST)
        for (const SANE_String_Const* value = option->constraint.string_list; *value; ++value)
            values << QString::fromUtf8(*value);
    return values;
}

QString stringValue(SANE_Handle handle, SANE_Int index, const SANE_Option_Descriptor* option)
{
    QByteArray buffer(std::max<SANE_Int>(option->size, 1), '\0');
    if (sane_control_option(handle, index, SANE_ACTION_GET_VALUE, buffer.data(), nullptr) !=
        SANE_STATUS_GOOD)
        return {};
    return QString::fromUtf8(buffer.constData());
}

double numberValue(SANE_Handle handle, SANE_Int index, const SANE_Option_Descriptor* option)
{
    SANE_Word word = 0;
    if (sane_control_option(handle, index, SANE_ACTION_GET_VALUE, &word, nullptr) !=
        SANE_STATUS_GOOD)
        return 0;
    return fromWord(option, word);
}

Range rangeOf(const SANE_Option_Descriptor* option)
{
    if (option->constraint_type == SANE_CONSTRAINT_RANGE)
        return {fromWord(option, option->constraint.range->min),
                fromWord(option, option->constraint.range->max)};
    if (option->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
        const SANE_Word* list = option->constraint.word_list;
        Range range{fromWord(option, list[1]), fromWord(option, list[1])};
        for (SANE_Word i = 1; i <= list[0]; ++i) {
            range.min = std::min(range.min, fromWord(option, list[i]));
            range.max = std::max(range.max, fromWord(option, list[i]));
        }
        return range;
    }
    return {};
}

// A list as the device gives it; for a range the usual steps that fall inside it.
std::vector<int> resolutionsOf(const SANE_Option_Descriptor* option, int current)
{
    std::vector<int> values;
    if (option->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
        const SANE_Word* list = option->constraint.word_list;
        for (SANE_Word i = 1; i <= list[0]; ++i)
            values.push_back(static_cast<int>(std::lround(fromWord(option, list[i]))));
    } else if (option->constraint_type == SANE_CONSTRAINT_RANGE) {
        const Range range = rangeOf(option);
        for (int usual : {75, 100, 150, 200, 300, 400, 600, 1200, 2400, 4800})
            if (usual >= range.min && usual <= range.max)
                values.push_back(usual);
    }
    if (current > 0)
        values.push_back(current);
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    values.erase(std::remove_if(values.begin(), values.end(), [](int v) { return v <= 0; }),
                 values.end());
    return values;
}

SANE_Status setNumber(SANE_Handle handle, const char* name, double value)
{
    SANE_Int index = 0;
    const SANE_Option_Descriptor* option = settable(handle, name, index);
    if (!option || !isNumber(option))
        return SANE_STATUS_UNSUPPORTED;
    SANE_Word word = option->type == SANE_TYPE_FIXED ? SANE_FIX(value)
                                                     : static_cast<SANE_Word>(std::lround(value));
    return sane_control_option(handle, index, SANE_ACTION_SET_VALUE, &word, nullptr);
}

// The geometry options in millimetres, or null when the device has none or counts pixels.
const SANE_Option_Descriptor* geometry(SANE_Handle handle, const char* name)
{
    SANE_Int index = 0;
    const SANE_Option_Descriptor* option = settable(handle, name, index);
    return option && isNumber(option) && option->unit == SANE_UNIT_MM &&
                   option->constraint_type == SANE_CONSTRAINT_RANGE
               ? option
               : nullptr;
}

SANE_Status applyArea(SANE_Handle handle, double width, double height)
{
    const SANE_Option_Descriptor* left = geometry(handle, SANE_NAME_SCAN_TL_X);
    const SANE_Option_Descriptor* top = geometry(handle, SANE_NAME_SCAN_TL_Y);
    const SANE_Option_Descriptor* right = geometry(handle, SANE_NAME_SCAN_BR_X);
    const SANE_Option_Descriptor* bottom = geometry(handle, SANE_NAME_SCAN_BR_Y);
    if (!left || !top || !right || !bottom)
        return SANE_STATUS_GOOD; // the device scans what it scans
    const bool whole = width <= 0 || height <= 0;
    const Range x = rangeOf(right), y = rangeOf(bottom);
    const double originX = rangeOf(left).min, originY = rangeOf(top).min;
    const struct {
        const char* name;
        double value;
    } steps[] = {{SANE_NAME_SCAN_TL_X, originX},
                 {SANE_NAME_SCAN_TL_Y, originY},
                 {SANE_NAME_SCAN_BR_X, whole ? x.max : std::min(originX + width, x.max)},
                 {SANE_NAME_SCAN_BR_Y, whole ? y.max : std::min(originY + height, y.max)}};
    for (const auto& step : steps)
        if (const SANE_Status status = setNumber(handle, step.name, step.value);
            status != SANE_STATUS_GOOD)
            return status;
    return SANE_STATUS_GOOD;
}

} // namespace

SANE_Int findOption(SANE_Handle handle, const char* name)
{
    for (SANE_Int i = 1;; ++i) {
        const SANE_Option_Descriptor* option = sane_get_option_descriptor(handle, i);
        if (!option)
            return 0;
        if (option->name && qstrcmp(option->name, name) == 0)
            return i;
    }
}

bool isFeederSource(const QString& source)
{
    return source.contains(QLatin1String("ADF"), Qt::CaseInsensitive) ||
           source.contains(QLatin1String("Feeder"), Qt::CaseInsensitive);
}

QString feederSource(SANE_Handle handle, bool feeder)
{
    SANE_Int index = 0;
    const SANE_Option_Descriptor* option = settable(handle, SANE_NAME_SCAN_SOURCE, index);
    for (const QString& source : option ? stringList(option) : QStringList())
        if (isFeederSource(source) == feeder)
            return source;
    return {};
}

ScanChoices readChoices(SANE_Handle handle)
{
    ScanChoices choices;
    SANE_Int index = 0;
    if (const auto* option = settable(handle, SANE_NAME_SCAN_SOURCE, index)) {
        choices.sources = stringList(option);
        choices.source = stringValue(handle, index, option);
    }
    if (const auto* option = settable(handle, SANE_NAME_SCAN_MODE, index)) {
        choices.modes = stringList(option);
        choices.mode = stringValue(handle, index, option);
    }
    if (const auto* option = settable(handle, SANE_NAME_SCAN_RESOLUTION, index);
        option && isNumber(option)) {
        choices.resolution = static_cast<int>(std::lround(numberValue(handle, index, option)));
        choices.resolutions = resolutionsOf(option, choices.resolution);
    }
    const SANE_Option_Descriptor* left = geometry(handle, SANE_NAME_SCAN_TL_X);
    const SANE_Option_Descriptor* top = geometry(handle, SANE_NAME_SCAN_TL_Y);
    const SANE_Option_Descriptor* right = geometry(handle, SANE_NAME_SCAN_BR_X);
    const SANE_Option_Descriptor* bottom = geometry(handle, SANE_NAME_SCAN_BR_Y);
    if (left && top && right && bottom) {
        choices.maxWidth = rangeOf(right).max - rangeOf(left).min;
        choices.maxHeight = rangeOf(bottom).max - rangeOf(top).min;
    }
    return choices;
}

SANE_Status setString(SANE_Handle handle, const char* name, const QString& value)
{
    SANE_Int index = 0;
    const SANE_Option_Descriptor* option = settable(handle, name, index);
    if (!option || option->type != SANE_TYPE_STRING)
        return SANE_STATUS_UNSUPPORTED;
    const QByteArray text = value.toUtf8();
    if (text.size() >= option->size)
        return SANE_STATUS_INVAL;
    QByteArray buffer(option->size, '\0');
    std::copy(text.begin(), text.end(), buffer.begin());
    return sane_control_option(handle, index, SANE_ACTION_SET_VALUE, buffer.data(), nullptr);
}

SANE_Status applySettings(SANE_Handle handle, const ScanSettings& settings)
{
    // A setting the device does not have is left alone; one it refuses is a failure, since
    // scanning the glass when the feeder was asked for is not what the user wants.
    if (!settings.source.isEmpty())
        if (const SANE_Status status = setString(handle, SANE_NAME_SCAN_SOURCE, settings.source);
            status != SANE_STATUS_GOOD)
            return status;
    if (!settings.mode.isEmpty())
        if (const SANE_Status status = setString(handle, SANE_NAME_SCAN_MODE, settings.mode);
            status != SANE_STATUS_GOOD)
            return status;
    if (settings.resolution > 0)
        if (const SANE_Status status =
                setNumber(handle, SANE_NAME_SCAN_RESOLUTION, settings.resolution);
            status != SANE_STATUS_GOOD && status != SANE_STATUS_UNSUPPORTED)
            return status;
    return applyArea(handle, settings.width, settings.height);
}

} // namespace sane
