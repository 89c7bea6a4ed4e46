// SPDX-License-Identifier: GPL-2.0-or-later
// BrushView: the red-eye brush as the preview sees it. Turns the mouse position in the image
// window into the image point a dab goes to, gives the outline the preview draws around the
// cursor, and says whether a dab during a stroke keeps clear of the window's edges.
#pragma once

#include <cstdint>

struct BrushPoint {
    int x = 0, y = 0;
};

// A full circle drawn as an arc in the bounding box (left, top, right, bottom), starting and
// ending at (startX, startY); window coordinates.
struct BrushOutline {
    int left = 0, top = 0, right = 0, bottom = 0;
    int startX = 0, startY = 0;
};

struct BrushView {
    // The image point under window position (x, y), rows counted from the bottom.
    BrushPoint ImagePointAt(double x, double y) const;
    // The outline of a brush of the given size (image pixels) at window position (x, y).
    BrushOutline OutlineAt(double x, double y, int size) const;
    // True when the brush's reach (size x zoom) left, right, above and below (x, y) all lies
    // strictly inside the image window: only then does a moving stroke lay a dab.
    bool DabFits(double x, double y, int size) const;

    double scrollX = 0, scrollY = 0; // scroll offset, in zoomed pixels
    double zoom = 1.0;
    int windowWidth = 0, windowHeight = 0; // the image window's client size
    int imageHeight = 0;
};
