// SPDX-License-Identifier: GPL-2.0-or-later
// What the plain image tests share: images made through the interface, small pictures made
// with libvips, and reading back what was written.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include <vips/vips8>

#include "sdk/iplainimage.h"
#include "tests/support/testenv.h"

extern "C" IPlainImage* CreatePlainImage();

struct DestroyPlain {
    void operator()(IPlainImage* image) const { image->Destroy(); }
};
using Plain = std::unique_ptr<IPlainImage, DestroyPlain>;

// COLORREF values: red in the low byte.
inline constexpr uint32_t Red = 0x0000FF;
inline constexpr uint32_t Green = 0x00FF00;
inline constexpr uint32_t Blue = 0xFF0000;
inline constexpr uint32_t White = 0xFFFFFF;
inline constexpr uint32_t Black = 0x000000;

using Rgb = std::array<int, 3>;

Plain newPlain();
// A picture of width x height in one colour, through CreateImage.
Plain created(int width, int height, uint32_t color);
// Opens path through the interface; null when Open failed.
Plain opened(const std::string& path);

// A libvips picture in one colour (3 bands, or 4 with alpha).
vips::VImage filled(int width, int height, std::vector<double> pixel);
// Red top left, green top right, blue bottom left, white bottom right.
vips::VImage quadrants(int width, int height);
// A horizontal grey ramp from low to high.
vips::VImage ramp(int width, int height, int low, int high);
// Writes picture to name in folder (format from the extension) and returns the path.
std::string write(const TestFolder& folder, const std::string& name, const vips::VImage& picture);

// Saves image as a PNG in folder and decodes it again.
vips::VImage roundTrip(IPlainImage& image, const TestFolder& folder);
vips::VImage decoded(const std::string& path);
Rgb at(const vips::VImage& image, int x, int y);
// True when every channel is within tolerance.
bool similar(const Rgb& actual, const Rgb& expected, int tolerance = 3);
// Mean absolute difference of two pictures of the same size.
double difference(const vips::VImage& a, const vips::VImage& b);
