// SPDX-License-Identifier: GPL-2.0-or-later
// Borders: plain, rounded, and frames cut from a picture.
#include "varnex/operations.h"

#include <algorithm>
#include <cmath>

namespace varnex {

namespace {

// How much of each pixel of a radius x radius top-left corner lies inside the quarter circle
// round (radius, radius): 1 inside, 0 outside, a one-pixel ramp on the curve for smoothness.
VImage cornerCoverage(int radius)
{
    std::vector<double> coverage(static_cast<size_t>(radius) * radius);
    for (int y = 0; y < radius; ++y) {
        for (int x = 0; x < radius; ++x) {
            const double distance = std::hypot(radius - (x + 0.5), radius - (y + 0.5));
            coverage[static_cast<size_t>(y) * radius + x] =
                std::clamp(radius - distance + 0.5, 0.0, 1.0);
        }
    }
    return VImage::new_matrix(radius, radius, coverage.data(), static_cast<int>(coverage.size()));
}

// The picture's corners cut round, the outside taking the colour.
VImage roundCorners(const VImage& in, int radius, uint32_t colorRef)
{
    const VImage mask = cornerCoverage(radius);
    const std::vector<double> colour = pixelOf(colorRef, in.bands());
    const Point corners[] = {{0, 0},
                             {in.width() - radius, 0},
                             {0, in.height() - radius},
                             {in.width() - radius, in.height() - radius}};
    VImage out = in;
    for (int i = 0; i < 4; ++i) {
        VImage cover = (i % 2 == 1) ? mask.flip(VIPS_DIRECTION_HORIZONTAL) : mask;
        cover = (i >= 2) ? cover.flip(VIPS_DIRECTION_VERTICAL) : cover;
        const VImage patch = in.extract_area(corners[i].x, corners[i].y, radius, radius);
        out = out.insert(toUchar((patch - colour) * cover + colour), corners[i].x, corners[i].y);
    }
    return out;
}

// The nine pieces of a frame picture laid out to cover size: corners as they are, edges
// stretched along, the middle stretched both ways.
VImage nineSlice(const VImage& frame, Size size, int inset)
{
    const int fw = frame.width() - 2 * inset;
    const int fh = frame.height() - 2 * inset;
    const int mw = size.width - 2 * inset;
    const int mh = size.height - 2 * inset;
    const int farX = size.width - inset;
    const int farY = size.height - inset;
    auto piece = [&](int x, int y, int w, int h, Size to) {
        return resizeExact(frame.extract_area(x, y, w, h), to, VIPS_KERNEL_LINEAR);
    };
    VImage out = piece(inset, inset, fw, fh, {mw, mh}).embed(inset, inset, size.width, size.height);
    out = out.insert(piece(inset, 0, fw, inset, {mw, inset}), inset, 0)
              .insert(piece(inset, inset + fh, fw, inset, {mw, inset}), inset, farY)
              .insert(piece(0, inset, inset, fh, {inset, mh}), 0, inset)
              .insert(piece(inset + fw, inset, inset, fh, {inset, mh}), farX, inset);
    return out.insert(frame.extract_area(0, 0, inset, inset), 0, 0)
        .insert(frame.extract_area(inset + fw, 0, inset, inset), farX, 0)
        .insert(frame.extract_area(0, inset + fh, inset, inset), 0, farY)
        .insert(frame.extract_area(inset + fw, inset + fh, inset, inset), farX, farY);
}

VImage opaque(const VImage& image)
{
    return image.bands() == 4 ? image : image.bandjoin_const({255});
}

} // namespace

VImage border(const VImage& in, int width, uint32_t colorRef, bool inside)
{
    const std::vector<double> colour = pixelOf(colorRef, in.bands());
    auto options = [&] {
        return VImage::option()->set("extend", VIPS_EXTEND_BACKGROUND)->set("background", colour);
    };
    if (!inside)
        return in.embed(width, width, in.width() + 2 * width, in.height() + 2 * width, options());
    if (2 * width >= in.width() || 2 * width >= in.height())
        return solid(sizeOf(in), colorRef, in.bands());
    return in.extract_area(width, width, in.width() - 2 * width, in.height() - 2 * width)
        .embed(width, width, in.width(), in.height(), options());
}

VImage roundedBorder(const VImage& in, int width, uint32_t colorRef, int radius,
                     uint32_t background)
{
    const VImage framed = width > 0 ? border(in, width, colorRef, false) : in;
    radius = std::min({radius, framed.width() / 2, framed.height() / 2});
    return radius > 0 ? roundCorners(framed, radius, background) : framed;
}

VImage imageBorder(const VImage& in, const VImage& frame, int width, int inset)
{
    const Size size{in.width() + 2 * width, in.height() + 2 * width};
    // Each piece needs at least a pixel, in the frame picture and in the result.
    inset = std::min({inset, (frame.width() - 1) / 2, (frame.height() - 1) / 2,
                      (size.width - 1) / 2, (size.height - 1) / 2});
    inset = std::max(inset, 0);
    VImage picture = in;
    VImage edge = frame;
    if (frame.bands() != in.bands()) { // alpha on either side: both get it
        picture = opaque(in);
        edge = opaque(frame);
    }
    const VImage laid =
        inset > 0 ? nineSlice(edge, size, inset) : resizeExact(edge, size, VIPS_KERNEL_LINEAR);
    return laid.insert(picture, width, width);
}

} // namespace varnex
