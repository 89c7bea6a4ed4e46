// SPDX-License-Identifier: GPL-2.0-or-later
// RotationDial: the geometry of the rotation dialog's dial — the angle a click points at
// (0 up, 90 right, 180 down, 270 left), the needle and the tick marks for an angle. Pixel
// coordinates with y downwards, as the dial's widget draws.
#pragma once

#include <array>
#include <vector>

class RotationDial {
public:
    struct Point {
        int x = 0;
        int y = 0;
        bool operator==(const Point&) const = default;
    };
    struct Line {
        Point from, to;
    };

    static constexpr int TickCount = 24;  // one every 15 degrees
    static constexpr int TickLength = 6;
    static constexpr int MarkLength = 15; // at the four edges

    // The dial fills the largest centred square of a client area of this size.
    RotationDial(int clientWidth, int clientHeight);

    Point Centre() const { return {m_centreX, m_centreY}; }
    int Side() const { return m_side; }
    int Left() const { return m_left; }
    int Top() const { return m_top; }

    // The angle (0 to 359) of a point of the client area.
    int AngleAt(int x, int y) const;
    // The needle's outline for an angle: the centre, its left foot, its tip, its right foot.
    std::array<Point, 4> Needle(int angle) const;
    // The ticks round the rim and the four long marks inward from the edges.
    std::vector<Line> Ticks() const;
    std::array<Line, 4> Marks() const;

    // A point turned about the centre by angle degrees (clockwise on the screen).
    Point Turned(Point point, double angle) const;

    // What the angle entry keeps: 360 and more wrap round, negative values come up to 0..359.
    static int NormalisedAngle(int angle);

private:
    int m_left = 0, m_top = 0, m_side = 0;
    int m_centreX = 0, m_centreY = 0;
};
