// SPDX-License-Identifier: GPL-2.0-or-later
#include "varnex/plainimage.h"

#include <algorithm>
#include <new>

#include <QtGlobal>

#include <vips/vector.h>

#include "platform/imaging.h"

namespace varnex {

namespace {

// Opacities are percentages; 0 is what a script gives when it leaves the value out, so it
// stands for fully opaque.
double opacityOf(int32_t percent)
{
    return percent == 0 ? 1.0 : std::clamp(percent, 0, 100) / 100.0;
}

TextStyle textStyle(const char* font, int32_t size, int32_t style, uint32_t color)
{
    return {font != nullptr ? font : "", size, (style & 1) != 0, (style & 2) != 0, color, 1.0};
}

} // namespace

CPlainImage::CPlainImage()
{
    static const bool started = [] {
        const bool ok = imaging::startImaging();
        // The engine's run-time vector code is compiled anew for each resize; over the
        // hundred thousand resizes of a 10,000-photo album its code memory once crashed the
        // whole generation. The plain paths are safe, at about a fifth more generation time.
        vips_vector_set_enabled(FALSE);
        return ok;
    }();
    (void)started;
}

void CPlainImage::Destroy()
{
    delete this;
}

template <typename Fn> bool CPlainImage::guarded(Fn&& fn) noexcept
{
    try {
        return fn();
    } catch (const vips::VError& error) {
        qWarning("Plain image: %s", error.what());
    } catch (const std::exception& error) {
        qWarning("Plain image: %s", error.what());
    } catch (...) {
        qWarning("Plain image: unknown failure");
    }
    return false;
}

template <typename Work> bool CPlainImage::apply(Work&& work)
{
    if (!hasImage())
        return false;
    return guarded([&] {
        // In memory after every operation: the next one may read it in any order, and more
        // than once, without recomputing the whole chain.
        m_image = work(pixels()).copy_memory();
        return true;
    });
}

Size CPlainImage::currentSize() const
{
    if (m_image)
        return sizeOf(*m_image);
    if (!m_pending)
        return {};
    const Size size = m_pending->displaySize();
    return m_openBox ? fitInside(size, *m_openBox, false) : size;
}

const VImage& CPlainImage::pixels(std::optional<Size> target)
{
    if (m_pending) {
        if (!target && currentSize() != m_pending->displaySize())
            target = currentSize(); // OpenSized's box
        m_image = decode(*m_pending, target, kernel());
        m_pending.reset();
        m_openBox.reset();
    }
    return *m_image;
}

bool CPlainImage::open(const char* path, std::optional<Size> box)
{
    if (path == nullptr || *path == '\0')
        return false;
    return guarded([&] {
        Source source = probe(path);
        m_image.reset();
        m_pending = std::move(source);
        m_openBox = box;
        m_photoPath = path;
        return true;
    });
}

bool CPlainImage::resizeTo(Size target)
{
    if (!hasImage() || target.width <= 0 || target.height <= 0)
        return false;
    return guarded([&] {
        m_image = resizeExact(pixels(target), target, kernel()).copy_memory();
        return true;
    });
}

bool CPlainImage::CreateImage(int32_t width, int32_t height, uint32_t color)
{
    if (width <= 0 || height <= 0)
        return false;
    return guarded([&] {
        m_image = solid({width, height}, color, 3);
        m_pending.reset();
        m_openBox.reset();
        m_photoPath.clear();
        return true;
    });
}

void CPlainImage::GetSize(int32_t* width, int32_t* height) const
{
    const Size size = currentSize();
    if (width != nullptr)
        *width = size.width;
    if (height != nullptr)
        *height = size.height;
}

int32_t CPlainImage::GetWidth() const
{
    return currentSize().width;
}

int32_t CPlainImage::GetHeight() const
{
    return currentSize().height;
}

void CPlainImage::SetInterpolationMode(int32_t mode)
{
    m_interpolationMode = mode;
}

void CPlainImage::SetJpegQuality(int32_t quality)
{
    m_jpegQuality = std::clamp(quality, 1, 100);
}

bool CPlainImage::SetBgColor(uint32_t color)
{
    m_background.color = color;
    return true;
}

bool CPlainImage::ResizeKeepAspect(int32_t width, int32_t height, int32_t flag)
{
    if (!hasImage() || width <= 0 || height <= 0)
        return false;
    return resizeTo(fitInside(currentSize(), {width, height}, flag != 0));
}

bool CPlainImage::Resize(int32_t width, int32_t height)
{
    return resizeTo({width, height});
}

bool CPlainImage::Rotate(int32_t angle)
{
    return apply(
        [&](const VImage& in) { return rotateAny(in, angle, m_background, m_interpolationMode); });
}

bool CPlainImage::FlipVertical()
{
    return apply([](const VImage& in) { return flip(in, VIPS_DIRECTION_VERTICAL); });
}

bool CPlainImage::FlipHorizontal()
{
    return apply([](const VImage& in) { return flip(in, VIPS_DIRECTION_HORIZONTAL); });
}

bool CPlainImage::Rotate90()
{
    return apply([](const VImage& in) { return rotateQuarters(in, 1); });
}

bool CPlainImage::Rotate180()
{
    return apply([](const VImage& in) { return rotateQuarters(in, 2); });
}

bool CPlainImage::Rotate270()
{
    return apply([](const VImage& in) { return rotateQuarters(in, 3); });
}

bool CPlainImage::Border(int32_t width, uint32_t color, int32_t third)
{
    if (width < 0)
        return false;
    if (width == 0)
        return hasImage();
    return apply([&](const VImage& in) { return border(in, width, color, third != 0); });
}

bool CPlainImage::RoundedBorder(int32_t width, uint32_t color, int32_t radius)
{
    if (width < 0 || radius < 0)
        return false;
    if (width == 0 && radius == 0)
        return hasImage();
    // Twice the width rounds the outside well without ever reaching the picture's corners.
    const int corner = radius > 0 ? radius : 2 * width;
    return apply([&](const VImage& in) {
        return roundedBorder(in, width, color, corner, m_background.color);
    });
}

bool CPlainImage::ImageBorder(const char* path, int32_t a, int32_t b)
{
    if (path == nullptr || a < 1 || b < 1)
        return false;
    return apply([&](const VImage& in) { return imageBorder(in, loadPicture(path), a, b); });
}

bool CPlainImage::AddImage(const char* path, int32_t a, int32_t b, int32_t c, int32_t d, int32_t e)
{
    if (path == nullptr || c < 0 || d < 0)
        return false;
    return apply([&](const VImage& in) {
        return addImage(in, loadPicture(path), {a, b}, {c, d}, opacityOf(e), kernel());
    });
}

bool CPlainImage::AddWatermark(const char* path, int32_t a, int32_t b)
{
    if (path == nullptr || !isAnchor(a))
        return false;
    return apply([&](const VImage& in) {
        return watermark(in, loadPicture(path), a, opacityOf(b), kernel());
    });
}

bool CPlainImage::ResizeCanvas(int32_t width, int32_t height, int32_t placement, uint32_t color)
{
    if (width <= 0 || height <= 0 || !isCanvasPlacement(placement))
        return false;
    return apply([&](const VImage& in) {
        return resizeCanvas(in, {width, height}, placement, color);
    });
}

bool CPlainImage::SetBgImage(const char* path)
{
    if (path == nullptr || !hasImage())
        return false;
    return guarded([&] {
        // Kept at about the size it covers now, decoded small where the format allows.
        const Source source = probe(path);
        const Size cover = coverSize(source.displaySize(), currentSize());
        const VImage picture = decode(source, cover, kernel());
        m_background.image = flattenOver(picture, Background{m_background.color, {}}, kernel());
        m_image = flattenOver(pixels(), m_background, kernel()).copy_memory();
        return true;
    });
}

bool CPlainImage::HSBCG(int32_t hue, int32_t saturation, int32_t brightness, int32_t contrast,
                        int32_t gamma)
{
    if (gamma < 0)
        return false;
    const double g = gamma == 0 ? 1.0 : std::clamp(gamma, 1, 1000) / 100.0;
    if (hue % 360 == 0 && saturation == 0 && brightness == 0 && contrast == 0 && g == 1.0)
        return hasImage();
    return apply([&](const VImage& in) {
        return adjust(in, {hue, saturation, brightness, contrast, g});
    });
}

bool CPlainImage::TextOut(const char* text, const char* font, int32_t a, int32_t b, int32_t c,
                          int32_t d, uint32_t color)
{
    if (text == nullptr || c <= 0)
        return false;
    if (*text == '\0')
        return hasImage();
    return apply([&](const VImage& in) {
        return textAt(in, text, textStyle(font, c, d, color), {a, b});
    });
}

bool CPlainImage::AddTextWatermark(const char* text, const char* font, int32_t a, int32_t b,
                                   int32_t c, uint32_t color)
{
    if (text == nullptr || !isAnchor(a) || b <= 0)
        return false;
    if (*text == '\0')
        return hasImage();
    TextStyle style = textStyle(font, b, 0, color);
    style.opacity = opacityOf(c);
    return apply([&](const VImage& in) { return textWatermark(in, text, style, a); });
}

bool CPlainImage::Gray()
{
    return apply([](const VImage& in) { return gray(in); });
}

bool CPlainImage::Colorize(uint32_t a, uint32_t b, uint32_t c)
{
    return apply([&](const VImage& in) { return colorize(in, a, b, c); });
}

bool CPlainImage::OpenSized(int32_t width, int32_t height, const char* path)
{
    if (width > 0 && height > 0)
        return open(path, Size{width, height});
    return open(path, std::nullopt);
}

bool CPlainImage::Open(int32_t, int32_t, const char* path)
{
    return open(path, std::nullopt);
}

bool CPlainImage::Save(int32_t flags, const char* path)
{
    if (!hasImage() || path == nullptr)
        return false;
    const std::optional<FileFormat> format = formatOfPath(path);
    if (!format)
        return false;
    return guarded([&] {
        const SaveOptions options{*format, m_jpegQuality, m_background.color,
                                  (flags & 1) != 0 ? m_photoPath : std::string()};
        save(pixels(), path, options);
        return true;
    });
}

bool CPlainImage::Shine(int32_t strength)
{
    if (strength < 0)
        return false;
    if (strength == 0)
        return hasImage();
    return apply([&](const VImage& in) { return shine(in, strength); });
}

bool CPlainImage::Blur(int32_t strength)
{
    if (strength < 0)
        return false;
    if (strength == 0)
        return hasImage();
    return apply([&](const VImage& in) { return blur(in, strength / 10.0); });
}

bool CPlainImage::Sharpen(int32_t strength)
{
    if (strength < 0)
        return false;
    if (strength == 0)
        return hasImage();
    return apply([&](const VImage& in) { return sharpen(in, strength); });
}

bool CPlainImage::AutoLevels()
{
    return apply([](const VImage& in) { return autoLevels(in); });
}

bool CPlainImage::DropShadow(int32_t a, int32_t b, int32_t c, uint32_t color)
{
    if (a < 0 || b < 0)
        return false;
    const Shadow shadow{a, b, opacityOf(c), color};
    return apply([&](const VImage& in) { return dropShadow(in, shadow, m_background, kernel()); });
}

} // namespace varnex

// The library's one export. Only running out of memory could make it return null.
extern "C" __attribute__((visibility("default"))) IPlainImage* CreatePlainImage()
{
    return new (std::nothrow) varnex::CPlainImage();
}
