// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/myrecttracker.h"

#include <array>

#include <QPainter>
#include <QPen>

namespace
{
constexpr std::array<CropRect::Handle, 8> Handles = {
    CropRect::TopLeft, CropRect::TopRight, CropRect::BottomRight, CropRect::BottomLeft,
    CropRect::Top,     CropRect::Right,    CropRect::Bottom,      CropRect::Left};

bool MovesLeft(CropRect::Handle h)
{
    return h == CropRect::TopLeft || h == CropRect::BottomLeft || h == CropRect::Left;
}
bool MovesRight(CropRect::Handle h)
{
    return h == CropRect::TopRight || h == CropRect::BottomRight || h == CropRect::Right;
}
bool MovesTop(CropRect::Handle h)
{
    return h == CropRect::TopLeft || h == CropRect::TopRight || h == CropRect::Top;
}
bool MovesBottom(CropRect::Handle h)
{
    return h == CropRect::BottomLeft || h == CropRect::BottomRight || h == CropRect::Bottom;
}
} // namespace

void CMyRectTracker::Reset(float ratio)
{
    m_crop.SetRatio(ratio);
    m_rect = {};
    m_dragging = false;
    m_handles = false;
}

QRect CMyRectTracker::Normalized() const
{
    return QRect(QPoint(m_rect.left, m_rect.top), QPoint(m_rect.right, m_rect.bottom))
        .normalized()
        .adjusted(0, 0, -1, -1); // right/bottom are exclusive
}

QRect CMyRectTracker::HandleRect(CropRect::Handle handle) const
{
    const QRect r = Normalized().adjusted(0, 0, 1, 1);
    const int s = HandleSize;
    // Outside the border, so that the handles never hide the edge of the crop.
    const int x = MovesLeft(handle) ? r.left() - s : MovesRight(handle) ? r.right() : r.center().x() - s / 2;
    const int y = MovesTop(handle) ? r.top() - s : MovesBottom(handle) ? r.bottom() : r.center().y() - s / 2;
    return QRect(x, y, s, s);
}

std::optional<CropRect::Handle> CMyRectTracker::HitTest(QPoint point) const
{
    if (IsEmpty())
        return std::nullopt;
    if (m_handles) {
        for (const CropRect::Handle handle : Handles) {
            if (HandleRect(handle).contains(point))
                return handle;
        }
    }
    if (Normalized().contains(point))
        return CropRect::Inside;
    return std::nullopt;
}

void CMyRectTracker::Press(QPoint point, const CropRect::Rect& visible)
{
    m_visible = visible;
    m_anchor = point;
    m_start = m_rect;
    const QPoint centre = Normalized().center();
    m_centre = {centre.x(), centre.y()};
    const std::optional<CropRect::Handle> hit = HitTest(point);
    if (hit) {
        m_handle = *hit;
    } else {
        // A new rectangle grows from the press like a corner dragged out of it.
        m_rect = m_start = {point.x(), point.y(), point.x(), point.y()};
        m_handle = CropRect::BottomRight;
        m_handles = false;
    }
    m_dragging = true;
}

void CMyRectTracker::Move(QPoint point)
{
    if (!m_dragging)
        return;
    CropRect::Rect rect = m_start;
    if (m_handle == CropRect::Inside) {
        const QPoint by = point - m_anchor;
        rect = {rect.left + by.x(), rect.top + by.y(), rect.right + by.x(), rect.bottom + by.y()};
    } else {
        // The edges the handle holds follow the mouse by the distance it moved.
        const QPoint by = point - m_anchor;
        if (MovesLeft(m_handle))
            rect.left += by.x();
        if (MovesRight(m_handle))
            rect.right += by.x();
        if (MovesTop(m_handle))
            rect.top += by.y();
        if (MovesBottom(m_handle))
            rect.bottom += by.y();
    }
    m_rect = m_crop.Adjust(rect, m_handle, m_centre, m_visible);
}

bool CMyRectTracker::Release()
{
    if (!m_dragging)
        return false;
    m_dragging = false;
    m_handles = true;
    return true;
}

QRect CMyRectTracker::Bounds() const
{
    return Normalized().adjusted(-HandleSize - 1, -HandleSize - 1, HandleSize + 2, HandleSize + 2);
}

void CMyRectTracker::Draw(QPainter& painter) const
{
    if (IsEmpty())
        return;
    painter.save();
    const QRect r = Normalized();
    // A dark line under a light dashed one shows on any photo.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(r);
    QPen dashes(Qt::white, 1, m_handles ? Qt::SolidLine : Qt::DashLine);
    painter.setPen(dashes);
    painter.drawRect(r.adjusted(1, 1, -1, -1));
    if (m_handles) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
        for (const CropRect::Handle handle : Handles)
            painter.drawRect(HandleRect(handle).adjusted(0, 0, -1, -1));
    }
    painter.restore();
}
