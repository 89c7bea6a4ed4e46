// SPDX-License-Identifier: GPL-2.0-or-later
// CropCopy: the part of the image inside a rectangle, as a new image.
#pragma once

#include <cstdint>

#include "enhancer/dib.h"
#include "enhancer/operation.h"
#include "enhancer/packedimage.h"

// The rectangle is in image pixels with y counted downwards from the top row, as the user
// sees it; its corners may come in any order and parts outside the image are dropped. No
// result when nothing of the image is inside, memory is short or progress asked to stop.
PackedImage CropCopy(const BITMAPINFOHEADER& source, const uint8_t* sourcePixels,
                     const RECT& rectangle, const ProgressCallback* progress);

// The rectangle in the bottom-up buffer's rows (top < bottom), clamped to the image; empty
// (left == right or top == bottom) when nothing of the image is inside.
RECT BufferRectOfCrop(const BITMAPINFOHEADER& source, const RECT& rectangle);
