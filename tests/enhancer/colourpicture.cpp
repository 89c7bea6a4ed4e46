// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/enhancer/colourpicture.h"

#include <gtest/gtest.h>

#include <QImage>

#include "platform/imaging.h"
#include "tests/support/testenv.h"

ColourPicture::ColourPicture(int width, int height, Bgr fill)
    : header(MakeDibHeader(width, height)),
      bytes(size_t(DibStride(width)) * size_t(height), PaddingMarker)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            Set(x, y, fill);
}

Bgr ColourPicture::At(int x, int y) const
{
    const uint8_t* p = bytes.data() + size_t(y) * DibStride(header.biWidth) + size_t(x) * 3;
    return {p[0], p[1], p[2]};
}

void ColourPicture::Set(int x, int y, Bgr colour)
{
    uint8_t* p = bytes.data() + size_t(y) * DibStride(header.biWidth) + size_t(x) * 3;
    p[0] = colour.blue;
    p[1] = colour.green;
    p[2] = colour.red;
}

bool ColourPicture::PaddingIntact() const
{
    const size_t stride = DibStride(header.biWidth);
    for (int y = 0; y < header.biHeight; ++y)
        for (size_t i = size_t(header.biWidth) * 3; i < stride; ++i)
            if (bytes[y * stride + i] != PaddingMarker)
                return false;
    return true;
}

ColourPicture LoadTestPhoto(const char* name, int maxSide)
{
    imaging::startImaging();
    const auto image = imaging::Image::open(sharedTestData(QStringLiteral("photos/") + name));
    if (image == nullptr) {
        ADD_FAILURE() << "cannot open " << name;
        return ColourPicture(1, 1);
    }
    const QImage decoded =
        image->pixels(QSize(maxSide, maxSide)).convertToFormat(QImage::Format_RGB32);
    ColourPicture picture(decoded.width(), decoded.height());
    // Screen rows run top down, the editor's bottom up.
    for (int y = 0; y < decoded.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(decoded.constScanLine(y));
        for (int x = 0; x < decoded.width(); ++x)
            picture.Set(x, decoded.height() - 1 - y,
                        {uint8_t(qBlue(line[x])), uint8_t(qGreen(line[x])),
                         uint8_t(qRed(line[x]))});
    }
    return picture;
}
