// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/formscroll.h"

namespace formscroll
{

int Range(int formHeight)
{
    if (formHeight <= 0)
        return 0;
    return (formHeight + Line - 1) / Line * Line;
}

int BarTarget(BarAction action, int position, int thumbPosition)
{
    switch (action) {
    case BarAction::LineUp:
        return position - Line;
    case BarAction::LineDown:
        return position + Line;
    case BarAction::PageUp:
        return position - Page;
    case BarAction::PageDown:
        return position + Page;
    case BarAction::Thumb:
        return thumbPosition;
    case BarAction::Other:
        break;
    }
    return position;
}

int WheelStep(int rotation)
{
    return -(rotation / WheelDelta) * Line;
}

int Clamp(int position, int pageSize, int range)
{
    if (position < 0)
        position = 0;
    const int last = range / Line * Line - pageSize / Line * Line;
    if (position > last)
        position = last;
    // A page taller than the range: the form stays at its top.
    return position < 0 ? 0 : position;
}

} // namespace formscroll
