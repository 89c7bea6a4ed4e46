// SPDX-License-Identifier: GPL-2.0-or-later
// The pixel operations of the plain image library: free functions over libvips, one source
// file per group. Private to the library. Every function takes and returns 8-bit sRGB
// pictures of 3 bands, or 4 with alpha, and reports failure by throwing (vips::VError or a
// std::exception); the caller turns that into a status.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <vips/vips8>

#include "platform/displaytransform.h"

namespace varnex {

using vips::VImage;

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct Point {
    int x = 0;
    int y = 0;
};

// What fills areas the picture does not cover: a colour, or a picture scaled to cover them.
struct Background {
    uint32_t color = 0x00FFFFFF;
    std::optional<VImage> image;
};

// --- canvas.cpp: pixels, colours, anchors, plain canvas work
std::vector<double> pixelOf(uint32_t colorRef, int bands); // alpha 255 when bands is 4
Size sizeOf(const VImage& image);
VImage solid(Size size, uint32_t colorRef, int bands = 3);
VImage colourBands(const VImage& image);
// image's alpha band, or an opaque one when it has none
VImage alphaOf(const VImage& image);
VImage withAlpha(const VImage& rgb, const std::optional<VImage>& alpha);
VImage toUchar(const VImage& image);
// Runs work on the picture premultiplied by its alpha, so resampling and blurring do not pull
// the colour of transparent pixels into visible ones; pictures without alpha go straight in.
VImage premultiplied(const VImage& in, const std::function<VImage(const VImage&)>& work);
// Where a picture of inner size goes in outer for anchor code 0..8 (row by row), margin
// pixels from the edges it touches.
Point anchorPosition(int code, Size outer, Size inner, int margin);
bool isAnchor(int code);
// ResizeCanvas's placement beyond the anchors: a smaller canvas keeps the part of the picture
// that draws the eye (libvips' attention measure) rather than a fixed part of it.
constexpr int AttentionPlacement = 9;
bool isCanvasPlacement(int code);
VImage resizeCanvas(const VImage& in, Size size, int code, uint32_t colorRef);
// The background of an area: its colour, or its picture scaled to cover and centred.
VImage backgroundCanvas(Size size, const Background& background, VipsKernel kernel);

// --- resize.cpp
VipsKernel kernelFor(int interpolationMode);
const char* interpolatorFor(int interpolationMode);
// The largest size of source's shape inside box; never 0 pixels on a side.
Size fitInside(Size source, Size box, bool enlarge);
// The smallest size of source's shape covering box.
Size coverSize(Size source, Size box);
// The JPEG shrink-on-load factor (1, 2, 4, 8) that keeps the decoded size at least target.
int jpegShrinkFor(Size source, Size target);
VImage resizeExact(const VImage& in, Size target, VipsKernel kernel);
// Scaled to cover size, then cropped to it around the centre.
VImage coverCrop(const VImage& in, Size size, VipsKernel kernel);

// --- io.cpp
// A photo whose header has been read; pixels are decoded by decode().
struct Source {
    std::string path;
    bool jpeg = false;
    Size fileSize; // as stored, before the display rotation
    imaging::DisplayTransform transform;
    Size displaySize() const;
};
Source probe(const std::string& path);
// The photo as displayed (colour matrix, then rotation), in memory. With a target (display
// orientation) it is decoded with shrink-on-load where possible and resized to exactly that.
VImage decode(const Source& source, std::optional<Size> target, VipsKernel kernel);
VImage loadPicture(const std::string& path);
// Any decoded picture as 8-bit sRGB with 3 or 4 bands.
VImage toWorking(VImage in);

enum class FileFormat { Jpeg, Png, Gif, Bmp, Tiff, Webp, Avif };
std::optional<FileFormat> formatOfPath(const std::string& path);
struct SaveOptions {
    FileFormat format = FileFormat::Jpeg;
    int quality = 75;
    uint32_t background = 0x00FFFFFF; // under transparency in formats without alpha
    std::string metadataFrom;         // photo whose camera EXIF to keep; "" keeps none
};
// Writes a temporary file beside path and renames it into place.
void save(const VImage& image, const std::string& path, const SaveOptions& options);

// --- bmpfile.cpp
// True when this build's libvips can save BMP files itself.
bool vipsSavesBmp();
// A 24-bit bottom-up BMP of a 3-band picture.
void writeBmp(const VImage& rgb, const std::string& path);

// --- metadata.cpp
// Copies from's EXIF without its private data (GPS, serial numbers, owner, maker notes) and
// thumbnail into the file at to, Orientation 1 and the pixel dimensions of size. Formats
// without EXIF support are left alone.
void copyCameraMetadata(const std::string& from, const std::string& to, FileFormat format,
                        Size size);
// Removes every EXIF and XMP item from the file at path.
void removeMetadata(const std::string& path);

// --- geometry.cpp
VImage rotateQuarters(const VImage& in, int quarterTurns); // clockwise
VImage rotateAny(const VImage& in, int degrees, const Background& background, int mode);
VImage flip(const VImage& in, VipsDirection direction);

// --- border.cpp
VImage border(const VImage& in, int width, uint32_t colorRef, bool inside);
VImage roundedBorder(const VImage& in, int width, uint32_t colorRef, int radius,
                     uint32_t background);
VImage imageBorder(const VImage& in, const VImage& frame, int width, int inset);

// --- compose.cpp
// top over base at x, y with its alpha times opacity (0..1); base keeps its bands.
VImage overlay(const VImage& base, const VImage& top, Point at, double opacity);
VImage addImage(const VImage& in, const VImage& picture, Point at, Size size, double opacity,
                VipsKernel kernel);
VImage watermark(const VImage& in, const VImage& mark, int code, double opacity, VipsKernel kernel);
// in over its background; opaque, 3 bands.
VImage flattenOver(const VImage& in, const Background& background, VipsKernel kernel);

// --- text.cpp
struct TextStyle {
    std::string font; // family; "" is Sans
    int size = 12;    // pixels
    bool bold = false;
    bool italic = false;
    uint32_t color = 0;
    double opacity = 1.0;
};
VImage textAt(const VImage& in, const std::string& text, const TextStyle& style, Point at);
VImage textWatermark(const VImage& in, const std::string& text, const TextStyle& style, int code);

// --- colour.cpp
VImage applyMatrix(const VImage& in, const imaging::ColorMatrix& matrix);
VImage gray(const VImage& in);
VImage colorize(const VImage& in, uint32_t shadows, uint32_t midtones, uint32_t highlights);
struct Adjustments {
    int hue = 0;        // degrees
    int saturation = 0; // percent
    int brightness = 0; // percent
    int contrast = 0;   // percent
    double gamma = 1.0;
};
VImage adjust(const VImage& in, const Adjustments& adjustments);
VImage autoLevels(const VImage& in);

// --- filters.cpp
VImage shine(const VImage& in, int strength);
VImage blur(const VImage& in, double sigma);
VImage sharpen(const VImage& in, int strength);
struct Shadow {
    int offset = 0;
    int blur = 0;
    double opacity = 1.0;
    uint32_t color = 0;
};
VImage dropShadow(const VImage& in, const Shadow& shadow, const Background& background,
                  VipsKernel kernel);

} // namespace varnex
