// SPDX-License-Identifier: GPL-2.0-or-later
// The commands of the host's image processor by name, with the kinds of their values ('N' a
// number, 'T' a text, 'C' a colour), in the processor's own order. Plug-ins check picture
// scripts against this list where no processor is at hand, as when a theme is installed.
#pragma once

#include <array>
#include <cstddef>

struct GVProcessorCommand {
    const char* name;
    const char* kinds;
};

inline constexpr std::array<GVProcessorCommand, 35> GVProcessorCommands{{
    {"Load", "T"},
    {"LoadThumbnail", "TNN"},
    {"CreateImage", "TNNC"},
    {"Out", "T"},
    {"Resize", "NN"},
    {"ResizeIfMore", "NN"},
    {"ResizeKeepAsp", "NN"},
    {"Gray", ""},
    {"Sepia", ""},
    {"Colorize", "CCC"},
    {"TextOut1", "TTNNNNC"},
    {"TextOut", "TTNNNNC"},
    {"Rotate", "N"},
    {"Rotate90", ""},
    {"Rotate180", ""},
    {"Rotate270", ""},
    {"AutoLevels", ""},
    {"FlipVert", ""},
    {"FlipVer", ""},
    {"FlipHor", ""},
    {"Border", "NCN"},
    {"ResizeCanvas", "NNNC"},
    {"AddImage", "TNNNNN"},
    {"AddWatermark", "TNN"},
    {"SetBgColor", "C"},
    {"SetBgImage", "T"},
    {"Shine", "N"},
    {"Blur", "N"},
    {"Sharpen", "N"},
    {"DropShadow", "NNNC"},
    {"HSBCG", "NNNNN"},
    {"ResizeFitTo", "NNCN"},
    {"RoundedBorder", "NCN"},
    {"ImageBorder", "TNN"},
    {"AddTextWatermark", "TTNNNC"},
}};

// True when a and b are the same text but for the case of ASCII letters.
constexpr bool GVSameCommandName(const char* a, const char* b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (; *a != '\0' && *b != '\0'; ++a, ++b)
        if (lower(*a) != lower(*b))
            return false;
    return *a == *b;
}

// The command of that name (any case), or nullptr when the processor knows none.
constexpr const GVProcessorCommand* GVFindProcessorCommand(const char* name)
{
    for (const GVProcessorCommand& command : GVProcessorCommands)
        if (GVSameCommandName(name, command.name))
            return &command;
    return nullptr;
}
