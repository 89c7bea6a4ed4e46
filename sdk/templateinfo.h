// SPDX-License-Identifier: GPL-2.0-or-later
// One template (theme) of a plug-in. Ids are the plug-in's own; the host passes them back as
// they are.
#pragma once

#include <cstdint>

#include "sdk/gv_string.h"

class TemplateInfo {
public:
    TemplateInfo() = default;
    TemplateInfo(int32_t templateId, const char* templateName, const char* extra = "")
        : id(templateId), name(templateName), text2(extra)
    {
    }
    TemplateInfo(const TemplateInfo& other) { assign(other); }
    TemplateInfo& operator=(const TemplateInfo& other)
    {
        assign(other);
        return *this;
    }

    // Slot 0.
    virtual void assign(const TemplateInfo& other)
    {
        if (&other == this)
            return;
        id = other.id;
        name = other.name;
        text2 = other.text2;
    }
    // Slot 1.
    virtual ~TemplateInfo() = default;

    int32_t id = -1;
    gv_string name;
    gv_string text2; // the plug-in's own, copied only
};
