// SPDX-License-Identifier: GPL-2.0-or-later
// The rules every template parameter follows, whatever plug-in it comes from: where its value
// is, which texts a number field accepts, how a chosen file renames the file it stands for.
#pragma once

#include <cstdint>

#include "sdk/gvparaminfo.h"

namespace paramrules {

// Names of plug-ins, templates and parameters compare without regard to case.
bool sameName(const char* a, const char* b);

// Position of the parameter's value: its first entry of kind 4 or 0; -1 when it has none.
int32_t valueIndex(const GVParamInfo& param);
// The parameter's value, or null when it has none.
const GVParamValue* value(const GVParamInfo& param);
GVParamValue* value(GVParamInfo& param);
// The number of its first entry of the kind (minimum 1, maximum 2), or fallback.
int32_t bound(const GVParamInfo& param, int32_t kind, int32_t fallback);

// Integer syntax of a number field: only digits and '.', with a '-' allowed first. An empty
// text passes and counts as 0.
bool isIntegerSyntax(const char* text);
// The number a text of integer syntax stands for (digits up to the first '.'; "" is 0).
int32_t integerValue(const char* text);

// The test a field's text must pass before the properties page is left: integer syntax for
// hidden numbers, syntax and range for numbers and sliders, a text that is not empty. Hidden
// required texts (type 11) have no field the user could fill, so they are not held against
// the user.
bool acceptsText(const GVParamInfo& param, const char* text);

// After the user picked chosenPath for a file parameter: entry 1, the file name the album
// uses for it, takes the chosen file's extension (images/bg.jpg becomes images/bg.png when
// sky.png was picked).
void followChosenFile(GVParamInfo& param, const char* chosenPath);

} // namespace paramrules
