// SPDX-License-Identifier: GPL-2.0-or-later
// The plain image: one picture and the IPlainImage operations on it, over libvips.
//
// A photo opened is read lazily: only its header at first, its pixels when an operation
// needs them. When that first operation is a resize the photo is decoded straight at (about)
// the size asked for, which is what keeps big photos fast and small in memory.
#pragma once

#include <optional>
#include <string>

#include <vips/vips8>

#include "sdk/iplainimage.h"
#include "varnex/operations.h"

namespace varnex {

class CPlainImage final : public IPlainImage {
public:
    CPlainImage();

    void Destroy() override;
    int32_t Reserved1() override { return 0; }
    int32_t Reserved2() override { return 0; }
    int32_t Reserved3() override { return 0; }
    bool CreateImage(int32_t width, int32_t height, uint32_t color) override;
    int32_t Reserved5() override { return 0; }
    void GetSize(int32_t* width, int32_t* height) const override;
    void SetInterpolationMode(int32_t mode) override;
    int32_t Reserved8() override { return 0; }
    int32_t Reserved9() override { return 0; }
    int32_t Reserved10() override { return 0; }
    bool ResizeKeepAspect(int32_t width, int32_t height, int32_t flag) override;
    bool Resize(int32_t width, int32_t height) override;
    bool Rotate(int32_t angle) override;
    bool FlipVertical() override;
    bool FlipHorizontal() override;
    bool Rotate90() override;
    bool Rotate180() override;
    bool Rotate270() override;
    bool Border(int32_t width, uint32_t color, int32_t third) override;
    bool RoundedBorder(int32_t width, uint32_t color, int32_t radius) override;
    bool AddImage(const char* path, int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) override;
    bool AddWatermark(const char* path, int32_t a, int32_t b) override;
    bool ResizeCanvas(int32_t width, int32_t height, int32_t placement, uint32_t color) override;
    bool SetBgColor(uint32_t color) override;
    bool SetBgImage(const char* path) override;
    bool HSBCG(int32_t hue, int32_t saturation, int32_t brightness, int32_t contrast,
               int32_t gamma) override;
    bool TextOut(const char* text, const char* font, int32_t a, int32_t b, int32_t c, int32_t d,
                 uint32_t color) override;
    bool AddTextWatermark(const char* text, const char* font, int32_t a, int32_t b, int32_t c,
                          uint32_t color) override;
    bool Gray() override;
    bool Colorize(uint32_t a, uint32_t b, uint32_t c) override;
    int32_t Reserved31() override { return 0; }
    int32_t Reserved32() override { return 0; }
    bool OpenSized(int32_t width, int32_t height, const char* path) override;
    bool Open(int32_t a, int32_t b, const char* path) override;
    bool Save(int32_t flags, const char* path) override;
    void SetJpegQuality(int32_t quality) override;
    int32_t Reserved37() override { return 0; }
    bool Shine(int32_t strength) override;
    bool Blur(int32_t strength) override;
    bool Sharpen(int32_t strength) override;
    bool AutoLevels() override;
    bool DropShadow(int32_t a, int32_t b, int32_t c, uint32_t color) override;
    int32_t GetWidth() const override;
    int32_t GetHeight() const override;
    int32_t Reserved45() override { return 0; }
    int32_t Reserved46() override { return 0; }
    int32_t Reserved47() override { return 0; }
    bool ImageBorder(const char* path, int32_t a, int32_t b) override;

private:
    ~CPlainImage() = default;

    bool hasImage() const { return m_image || m_pending; }
    Size currentSize() const;
    // The picture in memory, decoding a pending photo (at target size when given).
    const VImage& pixels(std::optional<Size> target = std::nullopt);
    // Replaces the picture with work(picture); false when there is none or work fails.
    template <typename Work> bool apply(Work&& work);
    // Runs fn, turning any exception into false: the one place errors become a status.
    template <typename Fn> bool guarded(Fn&& fn) noexcept;
    bool open(const char* path, std::optional<Size> box);
    bool resizeTo(Size target);
    VipsKernel kernel() const { return kernelFor(m_interpolationMode); }

    std::optional<VImage> m_image;
    std::optional<Source> m_pending; // opened, not decoded yet
    std::optional<Size> m_openBox;   // OpenSized's box for the pending photo
    std::string m_photoPath;         // whose camera metadata Save may keep
    int m_jpegQuality = 75;
    int m_interpolationMode = 5;
    Background m_background;
};

} // namespace varnex
