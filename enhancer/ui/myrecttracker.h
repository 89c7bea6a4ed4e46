// SPDX-License-Identifier: GPL-2.0-or-later
// CMyRectTracker: the crop tool's rectangle on the screen — its handles, what lies under the
// mouse, rubber-banding a new rectangle and moving or resizing the present one while
// CropRect keeps the ratio and the picture's bounds. It draws itself; the view forwards the
// mouse to it.
#pragma once

#include <optional>

#include <QPoint>
#include <QRect>

#include "enhancer/croprect.h"

class QPainter;

class CMyRectTracker
{
public:
    // Side of the square resize handles, drawn outside the rectangle.
    static constexpr int HandleSize = 8;

    CMyRectTracker() = default;

    // An empty tracker with ratio (0 = free).
    void Reset(float ratio);
    void SetRatio(float ratio) { m_crop.SetRatio(ratio); }
    float Ratio() const { return m_crop.Ratio(); }
    const CropRect& Crop() const { return m_crop; }

    // In client coordinates, corners in the order they were dragged (may be inside out).
    CropRect::Rect Rect() const { return m_rect; }
    void SetRect(const CropRect::Rect& rect) { m_rect = rect; }
    bool IsEmpty() const { return m_rect.Width() == 0 || m_rect.Height() == 0; }
    // Drawn with handles once a rectangle has been rubber-banded.
    bool HasHandles() const { return m_handles; }

    // The handle under point, Inside for the rectangle's inside, none elsewhere.
    std::optional<CropRect::Handle> HitTest(QPoint point) const;

    // A button press at point: on a handle or inside, the present rectangle is resized or
    // moved; elsewhere a new one is rubber-banded from point. visible is the image's
    // visible part in client coordinates, which the rectangle never leaves.
    void Press(QPoint point, const CropRect::Rect& visible);
    void Move(QPoint point);
    // The button is up; true when a drag was under way.
    bool Release();
    bool IsDragging() const { return m_dragging; }

    // The screen area to repaint for the tracker (border and handles included).
    QRect Bounds() const;
    void Draw(QPainter& painter) const;

private:
    QRect Normalized() const;
    QRect HandleRect(CropRect::Handle handle) const;

    CropRect m_crop;
    CropRect::Rect m_rect;
    CropRect::Rect m_start;    // the rectangle when the drag began
    CropRect::Rect m_visible;
    CropRect::Point m_centre;  // its centre then: side handles keep the other side on it
    CropRect::Handle m_handle = CropRect::BottomRight;
    QPoint m_anchor;
    bool m_dragging = false;
    bool m_handles = false;
};
