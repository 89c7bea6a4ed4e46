// SPDX-License-Identifier: GPL-2.0-or-later
// StrokeHistory: the red-eye brush's own undo, one step per stroke and as many steps as
// there were strokes. Each finished stroke keeps only the pixels of its bounding box, before
// and after; the whole working image is copied once at the start of every stroke.
#pragma once

#include <cstdint>
#include <vector>

#include "enhancer/operation.h"

class StrokeHistory {
public:
    // For a working image of width x height 24-bit pixels in the bottom-up row layout.
    StrokeHistory(int32_t width, int32_t height);

    // pixels is the working image in every call. Coordinates are pixel-buffer coordinates.
    void BeginStroke(const uint8_t* pixels, int32_t brushSize, int32_t x, int32_t y);
    void Extend(int32_t x, int32_t y);
    void EndStroke(const uint8_t* pixels);

    bool CanUndo() const { return m_current >= 0 && m_current < EntryCount(); }
    bool CanRedo() const { return m_redo >= 0 && m_redo < EntryCount(); }
    void Undo(uint8_t* pixels);
    void Redo(uint8_t* pixels);

    int32_t EntryCount() const { return static_cast<int32_t>(m_entries.size()); }
    int32_t CurrentIndex() const { return m_current; }
    int32_t RedoIndex() const { return m_redo; }
    bool StrokeOpen() const { return m_open; }
    // The rectangle of an entry, inside the image.
    RECT EntryRect(int32_t index) const { return m_entries.at(size_t(index)).rect; }

private:
    // A rectangle's pixels, 3 bytes each, rows padded to multiples of 4 bytes.
    using Patch = std::vector<uint8_t>;
    struct Entry {
        RECT rect;
        Patch before;
        Patch after;
    };

    Patch CopyOut(const uint8_t* image, const RECT& rect) const;
    void CopyIn(const Patch& patch, const RECT& rect, uint8_t* image) const;
    void Grow(int32_t x, int32_t y);

    int32_t m_width;
    int32_t m_height;
    uint32_t m_stride;
    std::vector<uint8_t> m_snapshot;
    int32_t m_brushSize = 0;
    int32_t m_current = -1;
    int32_t m_redo = -1;
    std::vector<Entry> m_entries;
    RECT m_stroke;
    bool m_open = false;
};
