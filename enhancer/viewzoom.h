// SPDX-License-Identifier: GPL-2.0-or-later
// ViewZoom: the editor view's zoom — the zoom an image opens at and the window size that
// goes with it, zooming in and out by steps, actual pixels, best fit, and where the zoomed
// image lies in the client area.
#pragma once

#include <cstdint>

class ViewZoom {
public:
    static constexpr double Step = 0.25;
    static constexpr double MaxZoom = 10.0;
    // The window opens at most this share of the screen's height.
    static constexpr double ScreenShare = 0.6;
    // The smallest client side the window opens with.
    static constexpr int SmallestClient = 300;

    struct Size {
        int width = 0;
        int height = 0;
        bool operator==(const Size&) const = default;
    };
    struct Rect {
        int left = 0, top = 0, right = 0, bottom = 0;
        bool operator==(const Rect&) const = default;
    };

    // Chooses the zoom for an image of width x height on a screen of screenHeight pixels:
    // 1 when its larger side fits in 60 % of the screen, else that share. Returns the client
    // size the window wants (at least 300 x 300).
    Size InitialUpdate(int screenHeight, int32_t width, int32_t height);

    void ZoomIn();
    void ZoomOut();
    void ActualPixels();
    // Fits the image into the client area; a scroll bar shown for an image larger than the
    // area is given back to it first.
    void BestFit(int clientWidth, int clientHeight, int32_t imageWidth, int32_t imageHeight,
                 int verticalScrollBarWidth, int horizontalScrollBarHeight);

    bool CanZoomIn() const { return m_zoom < MaxZoom; }
    bool CanZoomOut() const { return m_zoom / 2 > m_minimum; }

    double Zoom() const { return m_zoom; }
    double PreviousZoom() const { return m_previous; }
    double MinimumZoom() const { return m_minimum; }
    double ZoomStep() const { return m_step; }
    // The "Scale %d%%" figure of the status bar.
    int ScalePercent() const { return int(m_zoom * 100); }
    void SetZoom(double zoom, double minimum);

    // The image at the current zoom, and where it is drawn: centred in each direction in which
    // it is smaller than the client area, else from 0.
    Size ScaledSize(int32_t width, int32_t height) const;
    Rect ImageRect(int clientWidth, int clientHeight, int32_t width, int32_t height) const;

private:
    double m_zoom = 1.0;
    double m_previous = 1.0;
    double m_minimum = 0.2;
    double m_step = Step;
};
