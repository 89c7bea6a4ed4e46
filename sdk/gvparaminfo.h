// SPDX-License-Identifier: GPL-2.0-or-later
// Template parameters as plug-ins describe them and the host stores their values.
//
// A parameter carries a list of value entries; each entry has a kind saying what it is
// (the value in force, a bound, an unselected option, a value set by the user). The value of
// a parameter is its first entry of kind 4 or 0.
#pragma once

#include <cstdint>
#include <cstring>

#include "sdk/gv_string.h"
#include "sdk/gv_vector.h"
#include "sdk/gvfontblock.h"

// What a parameter is and which control edits it.
enum ParamType : int32_t {
    PT_NUMBER_HIDDEN = 0, // number, no control
    PT_NUMBER = 1,        // number with kind-1 minimum and kind-2 maximum
    PT_TEXT = 2,          // text, must not be empty
    PT_CHOICE = 3,        // the selected option's text; every option is an entry
    PT_FILE = 4,          // full path; entry 1 a file name, entry 2 the file dialog's filter
    PT_FOLDER = 5,        // full path
    PT_TEXT_HIDDEN = 6,   // text, no control
    PT_COLOR = 7,         // COLORREF (0x00BBGGRR) in entry 0's number
    PT_FONT = 8,          // the font block of entry 0
    PT_NONE_9 = 9,        // no control, no value
    PT_NONE_10 = 10,      // no control, no value
    PT_TEXT_REQUIRED = 11, // text, no control, must not be empty
    PT_SLIDER = 12,       // number on a slider, with minimum and maximum
    PT_FILE_2 = 13,       // file, as PT_FILE
    PT_SEPARATOR = 14,    // separator with a caption, no value
};

enum ParamValueKind : int32_t {
    PVK_VALUE = 0,      // the value in force
    PVK_MINIMUM = 1,
    PVK_MAXIMUM = 2,
    PVK_OPTION = 3,     // an option of a choice list that is not selected
    PVK_USER_VALUE = 4, // a value set by the user
};

// One value: a number, a text and, for font parameters only, a font block (null otherwise).
// Copies own their own font block.
struct GVParamValue {
    int32_t number = 0;
    gv_string text;
    GVFontBlock* font = nullptr;

    GVParamValue() = default;
    GVParamValue(int32_t n) : number(n) {}
    GVParamValue(const char* t) : text(t) {}
    GVParamValue(const GVParamValue& other) : number(other.number), text(other.text)
    {
        setFont(other.font);
    }
    GVParamValue& operator=(const GVParamValue& other)
    {
        if (&other != this) {
            number = other.number;
            text = other.text;
            setFont(other.font);
        }
        return *this;
    }
    ~GVParamValue() { delete font; }

    // Copies the block, or drops the font when block is null.
    void setFont(const GVFontBlock* block)
    {
        if (block == font)
            return;
        delete font;
        font = block ? new GVFontBlock(*block) : nullptr;
    }
};

struct GVParamValueInfo {
    int32_t kind = PVK_VALUE; // ParamValueKind
    GVParamValue value;

    GVParamValueInfo() = default;
    GVParamValueInfo(int32_t k, const GVParamValue& v) : kind(k), value(v) {}
};

class GVParamInfo {
public:
    GVParamInfo() = default;
    GVParamInfo(const GVParamInfo&) = default;
    GVParamInfo& operator=(const GVParamInfo&) = default;
    virtual ~GVParamInfo() = default;

    int32_t id = 0;
    gv_string name;         // internal name, used in project files
    gv_string friendlyName; // caption on the properties page
    gv_string description;  // tooltip
    int32_t type = PT_NUMBER_HIDDEN; // ParamType
    gv_vector<GVParamValueInfo> values;
};
