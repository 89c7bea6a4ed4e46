// SPDX-License-Identifier: GPL-2.0-or-later
// What the plug-in manager tells about one plug-in. The name identifies the plug-in in
// project files; the display name is what the theme tree shows. Text 1, text 4 and the number
// belong to the plug-in manager; the host only copies them.
#pragma once

#include <cstdint>

#include "sdk/gv_string.h"

class GVPluginInfo {
public:
    GVPluginInfo() = default;
    GVPluginInfo(const GVPluginInfo& other) { Assign(other); }
    GVPluginInfo& operator=(const GVPluginInfo& other)
    {
        Assign(other);
        return *this;
    }

    // Slots 0 to 9, in this order.
    virtual void Assign(const GVPluginInfo& other)
    {
        if (&other == this)
            return;
        m_text1 = other.m_text1;
        m_name = other.m_name;
        m_displayName = other.m_displayName;
        m_text4 = other.m_text4;
        m_number = other.m_number;
    }
    virtual void SetText1(const char* text) { m_text1 = text; }
    virtual void SetName(const char* text) { m_name = text; }
    virtual void SetDisplayName(const char* text) { m_displayName = text; }
    virtual void SetText4(const char* text) { m_text4 = text; }
    virtual const char* GetText1() const { return m_text1.c_str(); }
    virtual const char* GetDisplayName() const { return m_displayName.c_str(); }
    virtual const char* GetName() const { return m_name.c_str(); }
    virtual const char* GetText4() const { return m_text4.c_str(); }
    virtual ~GVPluginInfo() = default;

    int32_t GetNumber() const { return m_number; }
    void SetNumber(int32_t number) { m_number = number; }

private:
    gv_string m_text1;
    gv_string m_name;
    gv_string m_displayName;
    gv_string m_text4;
    int32_t m_number = 0;
};
