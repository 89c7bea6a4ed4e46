// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/viewzoom.h"

#include <algorithm>
#include <cmath>

namespace
{

// The minimum zoom is this part of the zoom an image opens at.
constexpr double MinimumShare = 5.0;

} // namespace

ViewZoom::Size ViewZoom::InitialUpdate(int screenHeight, int32_t width, int32_t height)
{
    const int share = int(screenHeight * ScreenShare);
    const int larger = std::max(width, height);
    Size wanted{share, share};
    if (larger > share) {
        m_zoom = double(share) / larger;
        wanted = {int(m_zoom * width), int(m_zoom * height)};
    } else {
        m_zoom = 1.0;
    }
    m_previous = m_zoom;
    m_step = Step;
    m_minimum = m_zoom / MinimumShare;
    wanted.width = std::max(wanted.width, SmallestClient);
    wanted.height = std::max(wanted.height, SmallestClient);
    return wanted;
}

void ViewZoom::ZoomIn()
{
    m_previous = m_zoom;
    if (m_zoom < 2 * m_step) {
        m_zoom *= 2;
    } else if (m_zoom * 100 == std::trunc(m_zoom * 100)) {
        m_zoom += m_step;
    } else {
        // Off the steps (after a best fit or a doubling): up to the next whole step.
        m_zoom = m_step * (std::floor(m_zoom / m_step) + 1);
    }
    m_zoom = std::min(m_zoom, MaxZoom);
}

void ViewZoom::ZoomOut()
{
    m_previous = m_zoom;
    if (m_zoom > m_step)
        m_zoom -= m_step;
    else if (m_zoom / 2 > m_minimum)
        m_zoom /= 2;
}

void ViewZoom::ActualPixels()
{
    m_previous = m_zoom;
    m_zoom = 1.0;
}

void ViewZoom::BestFit(int clientWidth, int clientHeight, int32_t imageWidth,
                       int32_t imageHeight, int verticalScrollBarWidth,
                       int horizontalScrollBarHeight)
{
    if (imageWidth <= 0 || imageHeight <= 0)
        return;
    const Size scaled = ScaledSize(imageWidth, imageHeight);
    double width = clientWidth;
    double height = clientHeight;
    if (scaled.width > clientWidth)
        width += verticalScrollBarWidth;
    if (scaled.height > clientHeight)
        height += horizontalScrollBarHeight;
    if (width <= 0 || height <= 0)
        return;
    m_previous = m_zoom;
    m_zoom = width / height < double(imageWidth) / imageHeight ? width / imageWidth
                                                                : height / imageHeight;
    m_step = Step;
}

void ViewZoom::SetZoom(double zoom, double minimum)
{
    m_previous = m_zoom;
    m_zoom = zoom;
    m_minimum = minimum;
}

ViewZoom::Size ViewZoom::ScaledSize(int32_t width, int32_t height) const
{
    return {int(m_zoom * width), int(m_zoom * height)};
}

ViewZoom::Rect ViewZoom::ImageRect(int clientWidth, int clientHeight, int32_t width,
                                   int32_t height) const
{
    const Size scaled = ScaledSize(width, height);
    const int left = scaled.width < clientWidth ? (clientWidth - scaled.width) / 2 : 0;
    const int top = scaled.height < clientHeight ? (clientHeight - scaled.height) / 2 : 0;
    return {left, top, left + scaled.width, top + scaled.height};
}
