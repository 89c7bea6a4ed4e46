// SPDX-License-Identifier: GPL-2.0-or-later
// One photo of the album: what plug-ins see, plus the full path of the source photo.
#pragma once

#include "sdk/albumimageinfo.h"
#include "sdk/gv_string.h"

struct AlbumImage : AlbumImageInfo {
    gv_string path;
};
