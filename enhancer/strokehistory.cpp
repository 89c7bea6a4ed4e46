// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/strokehistory.h"

#include <algorithm>
#include <cstring>

StrokeHistory::StrokeHistory(int32_t width, int32_t height)
    : m_width(std::max(0, width)), m_height(std::max(0, height)), m_stride(DibStride(m_width))
{
}

void StrokeHistory::BeginStroke(const uint8_t* pixels, int32_t brushSize, int32_t x, int32_t y)
{
    if (CanRedo())
        m_entries.erase(m_entries.begin() + m_redo, m_entries.end());
    m_redo = -1;
    m_current = EntryCount() - 1;
    // Allocated on the first stroke, reused by the others.
    m_snapshot.resize(size_t(m_stride) * size_t(m_height));
    if (!m_snapshot.empty())
        std::memcpy(m_snapshot.data(), pixels, m_snapshot.size());
    m_brushSize = brushSize;
    const int32_t r = brushSize / 2 + 2;
    m_stroke = {x - r, y - r, x + r, y + r};
    m_open = true;
}

void StrokeHistory::Grow(int32_t x, int32_t y)
{
    m_stroke.left = std::min(m_stroke.left, x);
    m_stroke.top = std::min(m_stroke.top, y);
    m_stroke.right = std::max(m_stroke.right, x);
    m_stroke.bottom = std::max(m_stroke.bottom, y);
}

void StrokeHistory::Extend(int32_t x, int32_t y)
{
    if (!m_open)
        return;
    const int32_t r = m_brushSize / 2 + 2;
    Grow(x - r, y - r);
    Grow(x + r, y + r);
}

void StrokeHistory::EndStroke(const uint8_t* pixels)
{
    if (!m_open)
        return;
    m_open = false;
    const RECT rect{std::clamp(m_stroke.left, 0, m_width), std::clamp(m_stroke.top, 0, m_height),
                    std::clamp(m_stroke.right, 0, m_width),
                    std::clamp(m_stroke.bottom, 0, m_height)};
    // A stroke wholly outside the picture changed nothing and leaves no step to undo.
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    m_entries.push_back({rect, CopyOut(m_snapshot.data(), rect), CopyOut(pixels, rect)});
    m_current = EntryCount() - 1;
    m_redo = -1;
}

void StrokeHistory::Undo(uint8_t* pixels)
{
    if (!CanUndo())
        return;
    const Entry& entry = m_entries[size_t(m_current)];
    CopyIn(entry.before, entry.rect, pixels);
    m_redo = m_current;
    --m_current;
}

void StrokeHistory::Redo(uint8_t* pixels)
{
    if (!CanRedo())
        return;
    const Entry& entry = m_entries[size_t(m_redo)];
    CopyIn(entry.after, entry.rect, pixels);
    m_current = m_redo;
    ++m_redo;
}

StrokeHistory::Patch StrokeHistory::CopyOut(const uint8_t* image, const RECT& rect) const
{
    const size_t rowBytes = size_t(rect.right - rect.left) * 3;
    const uint32_t patchStride = DibStride(rect.right - rect.left);
    Patch patch(size_t(patchStride) * size_t(rect.bottom - rect.top), 0);
    for (int32_t y = rect.top; y < rect.bottom; ++y)
        std::memcpy(patch.data() + size_t(y - rect.top) * patchStride,
                    image + size_t(y) * m_stride + size_t(rect.left) * 3, rowBytes);
    return patch;
}

void StrokeHistory::CopyIn(const Patch& patch, const RECT& rect, uint8_t* image) const
{
    const size_t rowBytes = size_t(rect.right - rect.left) * 3;
    const uint32_t patchStride = DibStride(rect.right - rect.left);
    for (int32_t y = rect.top; y < rect.bottom; ++y)
        std::memcpy(image + size_t(y) * m_stride + size_t(rect.left) * 3,
                    patch.data() + size_t(y - rect.top) * patchStride, rowBytes);
}
