// SPDX-License-Identifier: GPL-2.0-or-later
// The photo editor's pixel format: a 24-bit bottom-up device-independent bitmap. Rows of blue,
// green, red bytes, bottom row first, each row padded to a multiple of 4 bytes. Every edit
// takes and returns images in this form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// The 40-byte header of such a bitmap, with the field order and sizes of the classic record.
struct BITMAPINFOHEADER {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;   // positive: bottom-up
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 24;
    uint32_t biCompression = 0; // uncompressed RGB
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40, "the header is 40 bytes");

// Bytes per row: width x 3 rounded up to a multiple of 4.
constexpr uint32_t DibStride(int32_t width)
{
    return (static_cast<uint32_t>(width) * 3u + 3u) & ~3u;
}

// A header for a 24-bit image of the given size.
inline BITMAPINFOHEADER MakeDibHeader(int32_t width, int32_t height)
{
    BITMAPINFOHEADER header;
    header.biWidth = width;
    header.biHeight = height;
    return header;
}

// Room kept in front of the pixels of every buffer an edit makes ("packed": the block starts
// this many bytes before the pixels).
constexpr size_t PackedHeaderRoom = 40;

// Long operations report their percentage here; a non-zero answer asks them to stop, and they
// then give no result.
using ProgressCallback = std::function<int(int percent)>;
