// SPDX-License-Identifier: GPL-2.0-or-later
// PreviewZoom: the arithmetic of the zoomable preview in the red-eye and sharpen dialogs. It
// keeps the zoom and the scroll offset, chooses the zoom that shows the whole picture, steps
// in and out, sizes the image window inside the preview's area and says which part of the
// picture is visible, so the control itself only draws and forwards the mouse.
#pragma once

#include <cstdint>

class PreviewZoom {
public:
    // Zoom steps: the sharpen preview's and the red-eye control's.
    static constexpr double DefaultStep = 0.25, RedEyeStep = 0.5;
    // Below this difference two zooms count as the same.
    static constexpr double Tolerance = 1e-7;

    struct Rect {
        int left = 0, top = 0, width = 0, height = 0;
        bool operator==(const Rect&) const = default;
    };

    explicit PreviewZoom(double step = DefaultStep) : m_step(step) {}

    // The picture's size and the image area (the client area below the toolbar); works out
    // the fit zoom and shows the picture at it, scrolled to its start.
    void SetLayout(int areaWidth, int areaHeight, int32_t imageWidth, int32_t imageHeight);
    // Shows the picture at zoom, keeping the centre of the area in place.
    void ZoomTo(double zoom);
    void ZoomIn();
    void ZoomOut();

    bool CanZoomOut() const { return m_zoom - m_fitZoom > Tolerance; }
    // The picture is larger than the fit: the cursor offers to drag it.
    bool CanPan() const { return CanZoomOut(); }
    // A drag moved the cursor by (dx, dy): the picture follows it.
    void Pan(double dx, double dy);

    // The image window, centred in the image area (area coordinates).
    Rect ImageWindow() const;
    // The part of the picture that the image window shows, in image pixels with rows counted
    // from the bottom; pulls the scroll offset back inside the picture first.
    Rect VisibleSource();
    // The figure of the "scale %d%%" label.
    int ScalePercent() const { return int(m_zoom * 100); }

    double Zoom() const { return m_zoom; }
    double FitZoom() const { return m_fitZoom; }
    double Step() const { return m_step; }
    // New zoom over old of the last change.
    double LastFactor() const { return m_factor; }
    double ScrollX() const { return m_scrollX; }
    double ScrollY() const { return m_scrollY; }

private:
    double m_step;
    double m_zoom = 1.0, m_fitZoom = 1.0, m_factor = 1.0;
    double m_scrollX = 0.0, m_scrollY = 0.0; // in zoomed pixels
    int m_areaWidth = 0, m_areaHeight = 0;
    int32_t m_imageWidth = 0, m_imageHeight = 0;
};
