// SPDX-License-Identifier: GPL-2.0-or-later
// What the album manager shows of one album, and what the open album knows of itself.
#pragma once

#include <cstdint>

#include <QImage>

#include "sdk/gv_string.h"

struct AlbumSummary {
    gv_string projectPath;
    gv_string templateName;
    gv_string pluginName;
    gv_string managerText;      // filled by the album manager only
    int32_t managerNumber = 0;  // filled by the album manager only
    int32_t imageCount = 0;
    gv_string albumName;
    gv_string destination;
    gv_string favoritesName;
    QImage thumbnail;           // null when the album has none
};
