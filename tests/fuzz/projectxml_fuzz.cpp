// SPDX-License-Identifier: GPL-2.0-or-later
// Fuzz target for the XML project file reader: any bytes, as a whole file.
#include <cstddef>
#include <cstdint>

#include "album/projectxmlreader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SavedProject project;
    ProjectXmlReader::Parse(reinterpret_cast<const char*>(data), size, project);
    return 0;
}
