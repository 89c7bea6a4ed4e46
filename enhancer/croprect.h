// SPDX-License-Identifier: GPL-2.0-or-later
// CropRect: the crop tool's rectangle — its aspect ratio (free, the image's own, 3:2, 4:3),
// the ratio kept while a handle is dragged, clamping to the visible image, and the
// conversions between the tracker on the screen and the crop in image pixels (y downwards).
#pragma once

#include <cstdint>
#include <optional>

class CropRect {
public:
    struct Rect {
        int left = 0, top = 0, right = 0, bottom = 0;
        int Width() const { return right - left; }
        int Height() const { return bottom - top; }
        bool operator==(const Rect&) const = default;
    };
    struct Point {
        int x = 0, y = 0;
    };
    // The tracker's handles, and its inside (moving it whole).
    enum Handle { TopLeft, TopRight, BottomRight, BottomLeft, Top, Right, Bottom, Left, Inside };

    static constexpr int CommandFreeCrop = 32787;
    static constexpr int CommandKeepProportions = 188;
    static constexpr int CommandFilm = 32791;    // 3:2
    static constexpr int CommandDigital = 32793; // 4:3
    static constexpr float FilmRatio = 1.5f;
    static constexpr float DigitalRatio = 0.75f;
    // "The selected area does not contain any part of the image."
    static constexpr int NothingSelectedText = 174;

    // The ratio a crop command starts with (0 = free); none for other commands. Every one of
    // them starts cropping.
    static std::optional<float> RatioOfCommand(int command, int32_t imageWidth,
                                               int32_t imageHeight);

    explicit CropRect(float ratio = 0.0f) : m_ratio(ratio) {}
    float Ratio() const { return m_ratio; }
    void SetRatio(float ratio) { m_ratio = ratio; }

    // Of r, 1/r, -r and -1/r, the one nearest to width / height: the ratio holds across both
    // orientations and for rectangles dragged inside out.
    double ChosenRatio(int width, int height) const;

    // The tracker's rectangle after the user moved handle: the ratio kept (the dragged edges
    // move; a side handle keeps the other dimension centred on centre, the tracker's centre
    // when the drag began), then kept inside visible.
    Rect Adjust(Rect rect, Handle handle, Point centre, const Rect& visible) const;

    // The tracker in image pixels: (client + scroll - image origin) / zoom, truncated.
    static Rect ToImage(const Rect& tracker, Point scroll, Point origin, double zoom);
    // The crop in image pixels back on the screen, after a scroll or a zoom.
    static Rect ToClient(const Rect& image, Point scroll, Point origin, double zoom);
    // What Enter cuts, in image pixels: the tracker normalised and clamped to the zoomed image
    // (scaledWidth x scaledHeight drawn at origin); none when nothing of the image is inside.
    static std::optional<Rect> CropOnEnter(const Rect& tracker, Point scroll, Point origin,
                                           int scaledWidth, int scaledHeight, double zoom);

private:
    static void KeepRatio(Rect& rect, Handle handle, Point centre, double ratio);
    static void FitHeight(Rect& rect, Handle handle, Point centre, double ratio);
    static void FitWidth(Rect& rect, Handle handle, Point centre, double ratio);
    static bool ClampX(Rect& rect, const Rect& visible);
    static bool ClampY(Rect& rect, const Rect& visible);
    static void MoveInside(Rect& rect, const Rect& visible);

    float m_ratio = 0.0f;
};
