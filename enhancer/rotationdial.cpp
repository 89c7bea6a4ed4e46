// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/rotationdial.h"

#include <algorithm>
#include <cmath>

namespace
{

// The dial has always drawn and read angles with this value of pi; keeping it keeps the
// needle exactly where users have seen it.
constexpr double DialPi = 3.14;
constexpr double DegreesPerRadian = 57.324840764331206; // 180 / DialPi

} // namespace

RotationDial::RotationDial(int clientWidth, int clientHeight)
{
    m_side = std::max(0, std::min(clientWidth, clientHeight));
    m_left = (clientWidth - m_side) / 2;
    m_top = (clientHeight - m_side) / 2;
    m_centreX = m_left + m_side / 2;
    m_centreY = m_top + m_side / 2;
}

int RotationDial::AngleAt(int x, int y) const
{
    const int dy = m_centreY - y;
    const int dx = x - m_centreX;
    int angle = 0;
    if (dy != 0)
        angle = int(std::atan(double(dx) / dy) * DegreesPerRadian) + 360;
    else
        angle = dx < 0 ? 270 : 90;
    if (dy < 0)
        angle += 180;
    return angle % 360;
}

RotationDial::Point RotationDial::Turned(Point point, double angle) const
{
    const double theta = angle * DialPi / 180.0;
    const double x = point.x - m_centreX;
    const double y = point.y - m_centreY;
    return {int(std::cos(theta) * x - std::sin(theta) * y) + m_centreX,
            int(std::cos(theta) * y + std::sin(theta) * x) + m_centreY};
}

std::array<RotationDial::Point, 4> RotationDial::Needle(int angle) const
{
    const Point centre = Centre();
    return {Turned(centre, angle), Turned({m_centreX - 3, m_centreY + 3}, angle),
            Turned({m_centreX, m_centreY - m_side / 2 + 1}, angle),
            Turned({m_centreX + 3, m_centreY + 3}, angle)};
}

std::vector<RotationDial::Line> RotationDial::Ticks() const
{
    std::vector<Line> ticks;
    const int rim = m_left + m_side;
    for (int i = 0; i < TickCount; ++i) {
        const double angle = i * 360.0 / TickCount;
        ticks.push_back({Turned({rim - TickLength, m_centreY}, angle),
                         Turned({rim, m_centreY}, angle)});
    }
    return ticks;
}

std::array<RotationDial::Line, 4> RotationDial::Marks() const
{
    const int right = m_left + m_side;
    const int bottom = m_top + m_side;
    return {Line{{m_centreX, bottom}, {m_centreX, bottom - MarkLength}},
            Line{{m_centreX, m_top}, {m_centreX, m_top + MarkLength}},
            Line{{right, m_centreY}, {right - MarkLength, m_centreY}},
            Line{{m_left, m_centreY}, {m_left + MarkLength, m_centreY}}};
}

int RotationDial::NormalisedAngle(int angle)
{
    return ((angle % 360) + 360) % 360;
}
