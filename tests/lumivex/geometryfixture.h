// SPDX-License-Identifier: GPL-2.0-or-later
// What the geometry dialogs' tests share: real photos loaded as the editor loads them.
#pragma once

#include <QString>

#include "enhancer/imagerecord.h"

// Loads tests/data/photos/<name> into image; false when it does not load.
bool loadPhoto(const char* name, ImageRecord& image);
