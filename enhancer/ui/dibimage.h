// SPDX-License-Identifier: GPL-2.0-or-later
// The editor's bottom-up 24-bit pixels as a picture Qt can draw.
#pragma once

#include <cstdint>

#include <QImage>

#include "enhancer/dib.h"

// A copy of the image, top row first, in the format Qt paints fastest; a null picture for
// an empty header or no pixels.
QImage ImageOfDib(const BITMAPINFOHEADER& header, const uint8_t* pixels);
