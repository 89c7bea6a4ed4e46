// SPDX-License-Identifier: GPL-2.0-or-later
// COperation: an edit that can show a live preview inside a dialog. It processes a rectangle
// of the image for the preview or the whole image for the final result, and may draw an
// overlay on the preview. The base class holds no data and does nothing.
#pragma once

#include <cstdint>

#include "enhancer/dib.h"

// A rectangle of a pixel buffer: left/top inclusive, right/bottom exclusive, rows counted in
// the buffer's own order (bottom row first).
struct RECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

class COperation {
public:
    COperation() = default;
    COperation(const COperation&) = delete;
    COperation& operator=(const COperation&) = delete;
    virtual ~COperation() = default;

    // Processes source into *destination. Both headers come by value; the destination's is
    // passed for symmetry and not read. With a null rect the whole image is processed, else
    // only the pixels inside it are written. When *destination is null the operation makes
    // a packed buffer (ImageRecord::AllocatePacked; 40 bytes of room before the pixels) and
    // hands it over through *destination; the caller owns it then. progress may be null; a
    // non-zero answer from it stops the work. True when *destination holds the result; false
    // when there is none (stopped, no memory, or nothing to do, as in this base class), in
    // which case a buffer the operation made itself has been freed and *destination is as
    // it came in.
    virtual bool Apply(BITMAPINFOHEADER source, const uint8_t* sourcePixels,
                       BITMAPINFOHEADER destination, uint8_t** destinationPixels,
                       const ProgressCallback* progress, const RECT* rect)
    {
        (void)source;
        (void)sourcePixels;
        (void)destination;
        (void)destinationPixels;
        (void)progress;
        (void)rect;
        return false;
    }

    // Draws on the preview after its image and before it reaches the screen. painter is the
    // preview's QPainter and preview its control; both are opaque here so that the engine
    // needs no widgets.
    virtual void DrawOverlay(void* painter, void* preview)
    {
        (void)painter;
        (void)preview;
    }
};
