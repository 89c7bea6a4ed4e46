// SPDX-License-Identifier: GPL-2.0-or-later
// Fuzz target for the reader of the older binary project files: any bytes, as a whole file.
#include <cstddef>
#include <cstdint>

#include "album/legacyprojectreader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LegacyProject project;
    LegacyProjectReader(reinterpret_cast<const char*>(data), size).Read(project);
    return 0;
}
