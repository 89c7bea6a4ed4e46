// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/brushview.h"

#include <cmath>

namespace
{

bool InsideWindow(double x, double y, int width, int height)
{
    return x > 0 && y > 0 && x < width && y < height;
}

} // namespace

BrushPoint BrushView::ImagePointAt(double x, double y) const
{
    return {int(std::trunc((scrollX + x) / zoom - 1)),
            int(std::trunc(imageHeight - (scrollY + y) / zoom - 1))};
}

BrushOutline BrushView::OutlineAt(double x, double y, int size) const
{
    const double r = size * zoom / 2;
    BrushOutline outline;
    outline.left = int(std::trunc(x - r));
    outline.top = int(std::trunc(y - r));
    outline.right = int(std::trunc(x + r));
    outline.bottom = int(std::trunc(y + r));
    outline.startX = outline.left;
    outline.startY = int(std::trunc(y));
    return outline;
}

bool BrushView::DabFits(double x, double y, int size) const
{
    const double reach = size * zoom;
    return InsideWindow(x - reach, y, windowWidth, windowHeight) &&
           InsideWindow(x + reach, y, windowWidth, windowHeight) &&
           InsideWindow(x, y - reach, windowWidth, windowHeight) &&
           InsideWindow(x, y + reach, windowWidth, windowHeight);
}
