// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/dibimage.h"

QImage ImageOfDib(const BITMAPINFOHEADER& header, const uint8_t* pixels)
{
    const int32_t width = header.biWidth;
    const int32_t height = header.biHeight;
    if (!pixels || width <= 0 || height <= 0)
        return {};
    QImage picture(width, height, QImage::Format_RGB32);
    if (picture.isNull())
        return {}; // too large for memory
    const uint32_t stride = DibStride(width);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* source = pixels + size_t(height - 1 - y) * stride;
        auto* target = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int32_t x = 0; x < width; ++x, source += 3)
            target[x] = qRgb(source[2], source[1], source[0]);
    }
    return picture;
}
