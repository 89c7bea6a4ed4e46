// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/enhancer/geometrytestimage.h"

#include <cstring>

#include <gtest/gtest.h>
#include <vips/vips8>

#include "platform/imaging.h"
#include "tests/support/testenv.h"

TestImage::TestImage(int32_t width, int32_t height, Bgr fill)
    : m_header(MakeDibHeader(width, height)),
      m_bytes(size_t(DibStride(width)) * size_t(height), 0)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            Set(x, y, fill);
}

TestImage::TestImage(const PackedImage& image) : TestImage(image.Width(), image.Height())
{
    m_header = image.header;
    std::memcpy(m_bytes.data(), image.pixels.get(), m_bytes.size());
}

Bgr TestImage::At(int x, int y) const
{
    const uint8_t* p = m_bytes.data() + size_t(y) * DibStride(Width()) + size_t(x) * 3;
    return {p[0], p[1], p[2]};
}

void TestImage::Set(int x, int y, Bgr colour)
{
    uint8_t* p = m_bytes.data() + size_t(y) * DibStride(Width()) + size_t(x) * 3;
    p[0] = colour.b;
    p[1] = colour.g;
    p[2] = colour.r;
}

void TestImage::PoisonPadding(uint8_t value)
{
    const uint32_t stride = DibStride(Width());
    for (int y = 0; y < Height(); ++y)
        for (uint32_t b = uint32_t(Width()) * 3; b < stride; ++b)
            m_bytes[size_t(y) * stride + b] = value;
}

std::vector<uint8_t> TestImage::PixelBytes() const
{
    std::vector<uint8_t> bytes;
    const uint32_t stride = DibStride(Width());
    for (int y = 0; y < Height(); ++y) {
        const uint8_t* row = m_bytes.data() + size_t(y) * stride;
        bytes.insert(bytes.end(), row, row + size_t(Width()) * 3);
    }
    return bytes;
}

Bgr Label(int x, int y)
{
    return {uint8_t(10 + x * 20), uint8_t(20 + y * 30), uint8_t(x * 7 + y * 11)};
}

TestImage LabelledImage(int32_t width, int32_t height)
{
    TestImage image(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set(x, y, Label(x, y));
    return image;
}

namespace
{

TestImage FromVips(const vips::VImage& decoded)
{
    vips::VImage picture = decoded.colourspace(VIPS_INTERPRETATION_sRGB);
    if (picture.bands() > 3)
        picture = picture.extract_band(0, vips::VImage::option()->set("n", 3));
    picture = picture.cast(VIPS_FORMAT_UCHAR);
    size_t size = 0;
    void* memory = picture.write_to_memory(&size);
    const auto* rgb = static_cast<const uint8_t*>(memory);
    TestImage image(picture.width(), picture.height());
    // libvips' rows run top-down; the editor's bottom-up.
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const uint8_t* p = rgb + (size_t(y) * picture.width() + x) * 3;
            image.Set(x, picture.height() - 1 - y, {p[2], p[1], p[0]});
        }
    }
    g_free(memory);
    return image;
}

vips::VImage Decode(const std::string& relativePath)
{
    imaging::startImaging();
    const QString path = sharedTestData(QString::fromStdString(relativePath));
    return vips::VImage::new_from_file(path.toUtf8().constData());
}

} // namespace

TestImage LoadPhoto(const std::string& relativePath)
{
    try {
        return FromVips(Decode(relativePath));
    } catch (const vips::VError& error) {
        ADD_FAILURE() << relativePath << ": " << error.what();
        return TestImage(1, 1);
    }
}

TestImage LoadPhotoTurnedByVips(const std::string& relativePath, VipsTurn turn)
{
    try {
        const vips::VImage photo = Decode(relativePath);
        switch (turn) {
        case VipsTurn::Rotate90: return FromVips(photo.rot(VIPS_ANGLE_D90));
        case VipsTurn::Rotate180: return FromVips(photo.rot(VIPS_ANGLE_D180));
        case VipsTurn::Rotate270: return FromVips(photo.rot(VIPS_ANGLE_D270));
        case VipsTurn::FlipHorizontal: return FromVips(photo.flip(VIPS_DIRECTION_HORIZONTAL));
        case VipsTurn::FlipVertical: return FromVips(photo.flip(VIPS_DIRECTION_VERTICAL));
        }
    } catch (const vips::VError& error) {
        ADD_FAILURE() << relativePath << ": " << error.what();
    }
    return TestImage(1, 1);
}
