// SPDX-License-Identifier: GPL-2.0-or-later
// One photo of the album as plug-ins see it: texts and position, never the file path
// (plug-ins read photos by index through IGallivex).
#pragma once

#include <cstdint>

#include "sdk/gv_string.h"

struct AlbumImageInfo {
    gv_string name;        // the title shown with the picture
    gv_string description;
    gv_string comment;     // left empty by the host
    gv_string subfolder;   // subfolder text: where a folder scan found it, or set by the user
    int32_t index = 0;     // position in the list when the image list was last committed
    int32_t reserved = 0;  // copied, never set by the host
};
