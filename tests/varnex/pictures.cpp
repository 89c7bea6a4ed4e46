// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/varnex/pictures.h"

#include <cstdlib>

#include "platform/imaging.h"

Plain newPlain()
{
    imaging::startImaging();
    return Plain(CreatePlainImage());
}

Plain created(int width, int height, uint32_t color)
{
    Plain image = newPlain();
    return image->CreateImage(width, height, color) ? std::move(image) : nullptr;
}

Plain opened(const std::string& path)
{
    Plain image = newPlain();
    return image->Open(0, 0, path.c_str()) ? std::move(image) : nullptr;
}

vips::VImage filled(int width, int height, std::vector<double> pixel)
{
    imaging::startImaging();
    return vips::VImage::black(width, height)
        .new_from_image(pixel)
        .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

vips::VImage quadrants(int width, int height)
{
    const int w = width / 2;
    const int h = height / 2;
    return filled(width, height, {255, 255, 255})
        .insert(filled(w, h, {255, 0, 0}), 0, 0)
        .insert(filled(width - w, h, {0, 255, 0}), w, 0)
        .insert(filled(w, height - h, {0, 0, 255}), 0, h);
}

vips::VImage ramp(int width, int height, int low, int high)
{
    imaging::startImaging();
    const vips::VImage x = vips::VImage::xyz(width, height).extract_band(0);
    const vips::VImage grey =
        (x * (static_cast<double>(high - low) / (width - 1)) + low).cast(VIPS_FORMAT_UCHAR);
    return grey.bandjoin({grey, grey})
        .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
}

std::string write(const TestFolder& folder, const std::string& name, const vips::VImage& picture)
{
    const std::string path = folder.file(QString::fromStdString(name)).toStdString();
    picture.write_to_file(path.c_str());
    return path;
}

vips::VImage decoded(const std::string& path)
{
    imaging::startImaging();
    return vips::VImage::new_from_file(path.c_str()).copy_memory();
}

vips::VImage roundTrip(IPlainImage& image, const TestFolder& folder)
{
    static int count = 0;
    const std::string path = folder.file(QStringLiteral("out%1.png").arg(++count)).toStdString();
    if (!image.Save(0, path.c_str()))
        return vips::VImage::black(1, 1);
    return decoded(path);
}

Rgb at(const vips::VImage& image, int x, int y)
{
    const std::vector<double> pixel = image.getpoint(x, y);
    return {static_cast<int>(pixel[0]), static_cast<int>(pixel[1]), static_cast<int>(pixel[2])};
}

bool similar(const Rgb& actual, const Rgb& expected, int tolerance)
{
    for (int i = 0; i < 3; ++i)
        if (std::abs(actual[i] - expected[i]) > tolerance)
            return false;
    return true;
}

double difference(const vips::VImage& a, const vips::VImage& b)
{
    return (a.cast(VIPS_FORMAT_FLOAT) - b.cast(VIPS_FORMAT_FLOAT)).abs().avg();
}
