// SPDX-License-Identifier: GPL-2.0-or-later
#include "plugins/paramrules.h"

#include <cctype>
#include <climits>
#include <cstring>
#include <string>

namespace paramrules {

bool sameName(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

int32_t valueIndex(const GVParamInfo& param)
{
    for (int32_t i = 0; i < param.values.size(); ++i)
        if (param.values[i].kind == PVK_USER_VALUE || param.values[i].kind == PVK_VALUE)
            return i;
    return -1;
}

const GVParamValue* value(const GVParamInfo& param)
{
    const int32_t i = valueIndex(param);
    return i < 0 ? nullptr : &param.values[i].value;
}

GVParamValue* value(GVParamInfo& param)
{
    const int32_t i = valueIndex(param);
    return i < 0 ? nullptr : &param.values[i].value;
}

int32_t bound(const GVParamInfo& param, int32_t kind, int32_t fallback)
{
    for (const GVParamValueInfo& entry : param.values)
        if (entry.kind == kind)
            return entry.value.number;
    return fallback;
}

bool isIntegerSyntax(const char* text)
{
    if (text == nullptr)
        return true;
    for (size_t i = 0; text[i] != '\0'; ++i) {
        const char c = text[i];
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || (c == '-' && i == 0)))
            return false;
    }
    return true;
}

int32_t integerValue(const char* text)
{
    if (text == nullptr)
        return 0;
    const bool negative = *text == '-';
    long long number = 0;
    for (const char* p = negative ? text + 1 : text; std::isdigit(static_cast<unsigned char>(*p));
         ++p) {
        number = number * 10 + (*p - '0');
        if (number > INT32_MAX) // saturate: an absurd number must still fail its range test
            number = static_cast<long long>(INT32_MAX) + 1;
    }
    if (negative)
        number = -number;
    return number > INT32_MAX ? INT32_MAX : (number < INT32_MIN ? INT32_MIN : static_cast<int32_t>(number));
}

bool acceptsText(const GVParamInfo& param, const char* text)
{
    switch (param.type) {
    case PT_NUMBER_HIDDEN:
        return isIntegerSyntax(text);
    case PT_NUMBER:
    case PT_SLIDER: {
        if (!isIntegerSyntax(text))
            return false;
        const int32_t number = integerValue(text);
        return bound(param, PVK_MINIMUM, INT32_MIN) <= number &&
               number <= bound(param, PVK_MAXIMUM, INT32_MAX);
    }
    case PT_TEXT:
        return text != nullptr && *text != '\0';
    default:
        return true;
    }
}

namespace {

// Position of the extension's '.' in a path, or npos when its file name has none.
size_t extensionDot(const std::string& path)
{
    const size_t dot = path.rfind('.');
    const size_t separator = path.find_last_of("/\\");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return std::string::npos;
    return dot;
}

} // namespace

void followChosenFile(GVParamInfo& param, const char* chosenPath)
{
    if (param.values.size() < 2 || chosenPath == nullptr)
        return;
    const std::string chosen(chosenPath);
    std::string target(param.values[1].value.text.c_str());
    const size_t chosenDot = extensionDot(chosen);
    const size_t targetDot = extensionDot(target);
    if (targetDot != std::string::npos)
        target.erase(targetDot);
    if (chosenDot != std::string::npos)
        target += chosen.substr(chosenDot);
    param.values[1].value.text = target.c_str();
}

} // namespace paramrules
