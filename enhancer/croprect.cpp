// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/croprect.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace
{

bool MovesLeft(CropRect::Handle handle)
{
    return handle == CropRect::TopLeft || handle == CropRect::BottomLeft ||
           handle == CropRect::Left;
}

bool MovesTop(CropRect::Handle handle)
{
    return handle == CropRect::TopLeft || handle == CropRect::TopRight ||
           handle == CropRect::Top;
}

bool IsCorner(CropRect::Handle handle)
{
    return handle == CropRect::TopLeft || handle == CropRect::TopRight ||
           handle == CropRect::BottomRight || handle == CropRect::BottomLeft;
}

int Scaled(int value, int offset, double zoom)
{
    return int((value + offset) / zoom);
}

} // namespace

std::optional<float> CropRect::RatioOfCommand(int command, int32_t imageWidth,
                                              int32_t imageHeight)
{
    switch (command) {
    case CommandFreeCrop: return 0.0f;
    case CommandKeepProportions:
        return imageHeight > 0 ? float(imageWidth) / float(imageHeight) : 0.0f;
    case CommandFilm: return FilmRatio;
    case CommandDigital: return DigitalRatio;
    default: return std::nullopt;
    }
}

double CropRect::ChosenRatio(int width, int height) const
{
    const double r = m_ratio;
    if (height == 0)
        return width < 0 ? -r : r;
    const double current = double(width) / height;
    const double candidates[4] = {r, 1.0 / r, -r, -1.0 / r};
    double best = candidates[0];
    for (const double candidate : candidates) {
        if (std::fabs(candidate - current) < std::fabs(best - current))
            best = candidate;
    }
    return best;
}

// Height from the width; the dragged edge moves, or both round the centre for a side handle.
void CropRect::FitHeight(Rect& rect, Handle handle, Point centre, double ratio)
{
    const int height = int(rect.Width() / ratio);
    if (handle == Left || handle == Right) {
        rect.top = centre.y - height / 2;
        rect.bottom = rect.top + height;
    } else if (MovesTop(handle)) {
        rect.top = rect.bottom - height;
    } else {
        rect.bottom = rect.top + height;
    }
}

void CropRect::FitWidth(Rect& rect, Handle handle, Point centre, double ratio)
{
    const int width = int(rect.Height() * ratio);
    if (handle == Top || handle == Bottom) {
        rect.left = centre.x - width / 2;
        rect.right = rect.left + width;
    } else if (MovesLeft(handle)) {
        rect.left = rect.right - width;
    } else {
        rect.right = rect.left + width;
    }
}

void CropRect::KeepRatio(Rect& rect, Handle handle, Point centre, double ratio)
{
    if (IsCorner(handle)) {
        // Halfway between what the width and what the height ask for.
        const int width = int((rect.Width() + rect.Height() * ratio) / 2);
        const int height = int((rect.Height() + rect.Width() / ratio) / 2);
        if (MovesLeft(handle))
            rect.left = rect.right - width;
        else
            rect.right = rect.left + width;
        if (MovesTop(handle))
            rect.top = rect.bottom - height;
        else
            rect.bottom = rect.top + height;
    } else if (handle == Top || handle == Bottom) {
        FitWidth(rect, handle, centre, ratio);
    } else if (handle == Left || handle == Right) {
        FitHeight(rect, handle, centre, ratio);
    }
}

bool CropRect::ClampX(Rect& rect, const Rect& visible)
{
    const Rect before = rect;
    rect.left = std::clamp(rect.left, visible.left, visible.right);
    rect.right = std::clamp(rect.right, visible.left, visible.right);
    return !(before == rect);
}

bool CropRect::ClampY(Rect& rect, const Rect& visible)
{
    const Rect before = rect;
    rect.top = std::clamp(rect.top, visible.top, visible.bottom);
    rect.bottom = std::clamp(rect.bottom, visible.top, visible.bottom);
    return !(before == rect);
}

// A moved tracker keeps its size and is pushed back inside (as far as it fits).
void CropRect::MoveInside(Rect& rect, const Rect& visible)
{
    const int width = std::min(std::abs(rect.Width()), visible.Width());
    const int height = std::min(std::abs(rect.Height()), visible.Height());
    const int left = std::clamp(std::min(rect.left, rect.right), visible.left, visible.right - width);
    const int top = std::clamp(std::min(rect.top, rect.bottom), visible.top, visible.bottom - height);
    const int dx = left - std::min(rect.left, rect.right);
    const int dy = top - std::min(rect.top, rect.bottom);
    rect = {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
    ClampX(rect, visible);
    ClampY(rect, visible);
}

CropRect::Rect CropRect::Adjust(Rect rect, Handle handle, Point centre, const Rect& visible) const
{
    if (handle == Inside) {
        MoveInside(rect, visible);
        return rect;
    }
    const bool keep = m_ratio != 0.0f;
    // Chosen once from the dragged rectangle: clamping must not turn it round.
    const double ratio = keep ? ChosenRatio(rect.Width(), rect.Height()) : 0.0;
    if (keep)
        KeepRatio(rect, handle, centre, ratio);
    if (ClampX(rect, visible) && keep)
        FitHeight(rect, handle, centre, ratio);
    if (ClampY(rect, visible) && keep) {
        FitWidth(rect, handle, centre, ratio);
        ClampX(rect, visible);
    }
    // Whatever the ratio asked for, the tracker never leaves the picture.
    ClampY(rect, visible);
    return rect;
}

CropRect::Rect CropRect::ToImage(const Rect& tracker, Point scroll, Point origin, double zoom)
{
    if (zoom <= 0.0)
        return {};
    return {Scaled(tracker.left, scroll.x - origin.x, zoom),
            Scaled(tracker.top, scroll.y - origin.y, zoom),
            Scaled(tracker.right, scroll.x - origin.x, zoom),
            Scaled(tracker.bottom, scroll.y - origin.y, zoom)};
}

CropRect::Rect CropRect::ToClient(const Rect& image, Point scroll, Point origin, double zoom)
{
    auto place = [zoom](int value, int offset) { return int(value * zoom) + offset; };
    return {place(image.left, origin.x - scroll.x), place(image.top, origin.y - scroll.y),
            place(image.right, origin.x - scroll.x), place(image.bottom, origin.y - scroll.y)};
}

std::optional<CropRect::Rect> CropRect::CropOnEnter(const Rect& tracker, Point scroll,
                                                    Point origin, int scaledWidth,
                                                    int scaledHeight, double zoom)
{
    if (zoom <= 0.0)
        return std::nullopt;
    Rect rect{tracker.left + scroll.x - origin.x, tracker.top + scroll.y - origin.y,
              tracker.right + scroll.x - origin.x, tracker.bottom + scroll.y - origin.y};
    if (rect.left > rect.right)
        std::swap(rect.left, rect.right);
    if (rect.top > rect.bottom)
        std::swap(rect.top, rect.bottom);
    rect.left = std::clamp(rect.left, 0, scaledWidth);
    rect.top = std::clamp(rect.top, 0, scaledHeight);
    rect.right = std::clamp(rect.right, 0, scaledWidth);
    rect.bottom = std::clamp(rect.bottom, 0, scaledHeight);
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return std::nullopt;
    const Rect image{Scaled(rect.left, 0, zoom), Scaled(rect.top, 0, zoom),
                     Scaled(rect.right, 0, zoom), Scaled(rect.bottom, 0, zoom)};
    // A sliver thinner than one image pixel at a high zoom holds no pixel either.
    if (image.Width() <= 0 || image.Height() <= 0)
        return std::nullopt;
    return image;
}
