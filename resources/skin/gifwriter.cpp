// SPDX-License-Identifier: GPL-2.0-or-later
#include "gifwriter.h"

#include <array>
#include <cstdint>
#include <vector>

#include <gif_lib.h>

namespace
{

// The picture over its matte, as three colour planes, and whether any pixel is transparent.
struct Planes {
    std::vector<GifByteType> red, green, blue;
    std::vector<bool> clear;
    bool anyClear = false;
};

Planes splitPlanes(const QImage& picture, const QColor& matte)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    const size_t count = size_t(argb.width()) * size_t(argb.height());
    Planes planes{std::vector<GifByteType>(count), std::vector<GifByteType>(count),
                  std::vector<GifByteType>(count), std::vector<bool>(count), false};
    size_t i = 0;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x, ++i) {
            const int a = qAlpha(row[x]);
            const auto blend = [a](int c, int m) {
                return GifByteType((c * a + m * (255 - a)) / 255);
            };
            planes.red[i] = blend(qRed(row[x]), matte.red());
            planes.green[i] = blend(qGreen(row[x]), matte.green());
            planes.blue[i] = blend(qBlue(row[x]), matte.blue());
            planes.clear[i] = a < 128;
            planes.anyClear = planes.anyClear || planes.clear[i];
        }
    }
    return planes;
}

bool putTransparency(GifFileType* gif, int index)
{
    GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, index};
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    return EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_OK;
}

bool writeIndexed(GifFileType* gif, const QImage& picture, std::vector<GifColorType>& palette,
                  std::vector<GifByteType>& pixels, int transparent)
{
    ColorMapObject* map = GifMakeMapObject(256, palette.data());
    if (map == nullptr)
        return false;
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, picture.width(), picture.height(), 8, 0, map) == GIF_OK;
    GifFreeMapObject(map);
    ok = ok && (transparent < 0 || putTransparency(gif, transparent));
    ok = ok &&
         EGifPutImageDesc(gif, 0, 0, picture.width(), picture.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < picture.height(); ++y)
        ok = EGifPutLine(gif, pixels.data() + size_t(y) * size_t(picture.width()),
                         picture.width()) == GIF_OK;
    return ok;
}

// The quantizer keeps only five bits of each primary; giving every entry the mean of the
// pixels it stands for brings flat areas back to their exact colour (the skin background
// must match the colour disabled buttons are painted with).
void refinePalette(const Planes& planes, const std::vector<GifByteType>& pixels,
                   std::vector<GifColorType>& palette)
{
    std::vector<std::array<uint64_t, 4>> sums(palette.size(), {0, 0, 0, 0});
    for (size_t i = 0; i < pixels.size(); ++i) {
        auto& sum = sums[pixels[i]];
        sum[0] += planes.red[i];
        sum[1] += planes.green[i];
        sum[2] += planes.blue[i];
        ++sum[3];
    }
    for (size_t entry = 0; entry < palette.size(); ++entry) {
        const auto& sum = sums[entry];
        if (sum[3] == 0)
            continue;
        const auto mean = [&sum](int c) { return GifByteType((sum[c] + sum[3] / 2) / sum[3]); };
        palette[entry] = GifColorType{mean(0), mean(1), mean(2)};
    }
}

} // namespace

bool writeGif(const QImage& picture, const QString& path, const QColor& matte)
{
    if (picture.isNull())
        return false;
    Planes planes = splitPlanes(picture, matte);
    // Keep the last entry free for the transparent index.
    int colours = planes.anyClear ? 255 : 256;
    std::vector<GifColorType> palette(256, GifColorType{0, 0, 0});
    std::vector<GifByteType> pixels(planes.red.size());
    if (GifQuantizeBuffer(unsigned(picture.width()), unsigned(picture.height()), &colours,
                          planes.red.data(), planes.green.data(), planes.blue.data(), pixels.data(),
                          palette.data()) != GIF_OK)
        return false;
    refinePalette(planes, pixels, palette);
    const int transparent = planes.anyClear ? 255 : -1;
    for (size_t i = 0; transparent >= 0 && i < pixels.size(); ++i)
        if (planes.clear[i])
            pixels[i] = GifByteType(transparent);
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.toLocal8Bit().constData(), false, &error);
    if (gif == nullptr)
        return false;
    const bool ok = writeIndexed(gif, picture, palette, pixels, transparent);
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}
