// SPDX-License-Identifier: GPL-2.0-or-later
// The scrolling of the album properties form, in pixels: the form moves in lines of 30
// pixels and pages of three lines; the range is the form's height rounded up to whole lines.
#pragma once

namespace formscroll
{

constexpr int Line = 30;
constexpr int Page = 3 * Line;
constexpr int WheelDelta = 120; // one notch of the mouse wheel

// What the scroll bar asks for.
enum class BarAction { LineUp, LineDown, PageUp, PageDown, Thumb, Other };

// The scroll range for a form of that height: the next multiple of a line at or above it.
int Range(int formHeight);
// The position the bar's action leads to from position (thumb: to thumbPosition).
int BarTarget(BarAction action, int position, int thumbPosition);
// The step for a wheel rotation (positive away from the user): one notch moves one line up,
// partial notches move nothing.
int WheelStep(int rotation);
// A position kept inside the form: never negative, and never so far that the page, in whole
// lines, passes the end of the range in whole lines.
int Clamp(int position, int pageSize, int range);

} // namespace formscroll
