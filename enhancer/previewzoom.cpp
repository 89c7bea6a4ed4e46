// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/previewzoom.h"

#include <algorithm>
#include <cmath>

void PreviewZoom::SetLayout(int areaWidth, int areaHeight, int32_t imageWidth,
                            int32_t imageHeight)
{
    m_areaWidth = std::max(areaWidth, 1);
    m_areaHeight = std::max(areaHeight, 1);
    m_imageWidth = std::max(imageWidth, 1);
    m_imageHeight = std::max(imageHeight, 1);
    // The picture must fit both ways: going by its longer side alone would cut off a
    // landscape picture nearly as tall as wide in a wide area, and it could not be zoomed
    // out to be seen whole.
    m_fitZoom = std::min(double(m_areaWidth) / m_imageWidth, double(m_areaHeight) / m_imageHeight);
    m_zoom = m_fitZoom;
    m_factor = 1.0;
    m_scrollX = m_scrollY = 0.0;
}

void PreviewZoom::ZoomTo(double zoom)
{
    if (!(zoom > 0))
        return;
    m_factor = zoom / m_zoom;
    m_scrollX = ((m_areaWidth + 2 * m_scrollX) * m_factor - m_areaWidth) / 2;
    m_scrollY = ((m_areaHeight + 2 * m_scrollY) * m_factor - m_areaHeight) / 2;
    m_zoom = zoom;
}

void PreviewZoom::ZoomIn()
{
    if (m_zoom < 2 * m_step)
        ZoomTo(m_zoom * 2);
    else if (m_zoom != m_fitZoom)
        ZoomTo(m_zoom + m_step);
    else
        ZoomTo(m_step * (std::floor(m_zoom / m_step) + 1));
}

void PreviewZoom::ZoomOut()
{
    const double smaller = m_zoom - m_step;
    ZoomTo(smaller - m_fitZoom > Tolerance ? smaller : m_fitZoom);
}

void PreviewZoom::Pan(double dx, double dy)
{
    m_scrollX += dx;
    m_scrollY += dy;
}

PreviewZoom::Rect PreviewZoom::ImageWindow() const
{
    const double scaledWidth = m_imageWidth * m_zoom, scaledHeight = m_imageHeight * m_zoom;
    int width = 0, height = 0;
    if (scaledWidth < m_areaWidth && scaledHeight < m_areaHeight) {
        width = int(scaledWidth);
        height = int(scaledHeight);
    } else if (m_imageWidth >= m_imageHeight) {
        width = m_areaWidth;
        height = std::min(m_areaHeight, int(double(m_areaWidth) * m_imageHeight / m_imageWidth));
    } else {
        height = m_areaHeight;
        width = std::min(m_areaWidth, int(double(m_areaHeight) * m_imageWidth / m_imageHeight));
    }
    width = std::max(width, 1);
    height = std::max(height, 1);
    return {(m_areaWidth - width) / 2, (m_areaHeight - height) / 2, width, height};
}

PreviewZoom::Rect PreviewZoom::VisibleSource()
{
    const Rect window = ImageWindow();
    m_scrollX = std::max(m_scrollX, 0.0);
    m_scrollY = std::max(m_scrollY, 0.0);
    // At least one pixel, however far the picture is zoomed in.
    const int width = std::clamp(int(window.width / m_zoom), 1, int(m_imageWidth));
    const int height = std::clamp(int(window.height / m_zoom), 1, int(m_imageHeight));
    if (m_scrollX / m_zoom + width > m_imageWidth)
        m_scrollX = (m_imageWidth - width) * m_zoom;
    if (m_scrollY / m_zoom + height > m_imageHeight)
        m_scrollY = (m_imageHeight - height) * m_zoom;
    const int left = std::min(int(m_scrollX / m_zoom), int(m_imageWidth) - width);
    const int top = std::max(0, int(m_imageHeight - height - m_scrollY / m_zoom));
    return {left, top, width, height};
}
