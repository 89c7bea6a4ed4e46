// SPDX-License-Identifier: GPL-2.0-or-later
// Names an image file for the image processor: a path and two numbers that are handed to the
// plain image unchanged (for "Out", the first number goes to its save operation).
#pragma once

#include <cstdint>

#include "sdk/gv_string.h"

class GVImageStream {
public:
    GVImageStream() = default;
    GVImageStream(const char* filePath, int32_t first = 0, int32_t second = 0)
        : path(filePath), param1(first), param2(second)
    {
    }
    GVImageStream(const GVImageStream&) = default;
    GVImageStream& operator=(const GVImageStream&) = default;

    // Slot 0.
    virtual ~GVImageStream() = default;
    // Slot 1.
    virtual const gv_string& GetPath() const { return path; }
    // Slot 2: the path as text, answered by the path string itself.
    virtual const char* GetPathText() const { return path.c_str(); }

    gv_string path;
    int32_t param1 = 0;
    int32_t param2 = 0;
};
