// SPDX-License-Identifier: GPL-2.0-or-later
// BMP files, for builds of libvips that cannot write them.
#include "varnex/operations.h"

#include <array>
#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace varnex {

namespace {

void putLe(unsigned char* at, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

// The 14-byte file header and the 40-byte information header of a 24-bit picture.
std::array<unsigned char, 54> bmpHeader(Size size, uint32_t rowBytes)
{
    std::array<unsigned char, 54> header{};
    const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(size.height);
    header[0] = 'B';
    header[1] = 'M';
    putLe(&header[2], 54 + pixelBytes, 4);
    putLe(&header[10], 54, 4);
    putLe(&header[14], 40, 4);
    putLe(&header[18], static_cast<uint32_t>(size.width), 4);
    putLe(&header[22], static_cast<uint32_t>(size.height), 4); // positive: bottom-up rows
    putLe(&header[26], 1, 2);
    putLe(&header[28], 24, 2);
    putLe(&header[34], pixelBytes, 4);
    putLe(&header[38], 2835, 4); // 72 dpi
    putLe(&header[42], 2835, 4);
    return header;
}

} // namespace

bool vipsSavesBmp()
{
    VipsOperation* saver = vips_operation_new("magicksave");
    if (saver == nullptr) {
        vips_error_clear();
        return false;
    }
    const bool blocked = (vips_operation_get_flags(saver) & VIPS_OPERATION_BLOCKED) != 0;
    g_object_unref(saver);
    return !blocked;
}

void writeBmp(const VImage& rgb, const std::string& path)
{
    const int width = rgb.width();
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    size_t length = 0;
    const std::unique_ptr<void, decltype(&g_free)> pixels(rgb.write_to_memory(&length), &g_free);
    const auto* rows = static_cast<const unsigned char*>(pixels.get());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const auto header = bmpHeader(sizeOf(rgb), rowBytes);
    out.write(reinterpret_cast<const char*>(header.data()), header.size());
    std::vector<char> row(rowBytes, 0);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const unsigned char* source = rows + static_cast<size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) { // BGR order
            row[3 * x] = static_cast<char>(source[3 * x + 2]);
            row[3 * x + 1] = static_cast<char>(source[3 * x + 1]);
            row[3 * x + 2] = static_cast<char>(source[3 * x]);
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

} // namespace varnex
