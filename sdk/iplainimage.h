// SPDX-License-Identifier: GPL-2.0-or-later
// IPlainImage: one image in memory with the pixel operations that image-processing scripts
// use. Objects come from CreatePlainImage() of the plain image library and are destroyed
// through slot 0. Colours are COLORREF values (0x00BBGGRR). Placement codes of ResizeCanvas
// are the nine anchors row by row: 0 top left, 1 top, 2 top right, 3 left, 4 centre, 5 right,
// 6 bottom left, 7 bottom, 8 bottom right; ResizeCanvas also takes 9, which crops around the
// picture's centre of interest and centres what it pads. Interpolation modes: 5 nearest neighbour,
// 6 bilinear, 7 bicubic (any other value: bicubic); the default is 5.
//
// Operations return false, changing nothing, when there is no picture yet (neither opened
// nor created) or when they fail. Pictures are 8-bit sRGB, with alpha when the file had it.
// Opacities are percentages where 0 (a value left out) means 100. The background colour
// (default white) fills what rotating and shadows uncover and lies under transparency when
// saving to a format without alpha.
//
// Slots are fixed; reserved slots keep later operations in their places.
#pragma once

#include <cstdint>

class IPlainImage {
public:
    virtual void Destroy() = 0;                                                    // 0
    virtual int32_t Reserved1() = 0;                                               // 1
    virtual int32_t Reserved2() = 0;                                               // 2
    virtual int32_t Reserved3() = 0;                                               // 3
    // A blank picture of that colour.
    virtual bool CreateImage(int32_t width, int32_t height, uint32_t color) = 0;   // 4
    virtual int32_t Reserved5() = 0;                                               // 5
    // The current size; 0 x 0 without a picture.
    virtual void GetSize(int32_t* width, int32_t* height) const = 0;               // 6
    virtual void SetInterpolationMode(int32_t mode) = 0;                           // 7
    virtual int32_t Reserved8() = 0;                                               // 8
    virtual int32_t Reserved9() = 0;                                               // 9
    virtual int32_t Reserved10() = 0;                                              // 10
    // Fits the picture inside width x height keeping its shape (never a 0-pixel
    // side). flag 0: only shrinks, a picture already inside stays; other values may enlarge.
    virtual bool ResizeKeepAspect(int32_t width, int32_t height, int32_t flag) = 0; // 11
    // Exactly width x height.
    virtual bool Resize(int32_t width, int32_t height) = 0;                        // 12
    // Any angle in degrees, clockwise; the canvas grows to hold the corners, the area
    // uncovered takes the background (colour or picture).
    virtual bool Rotate(int32_t angle) = 0;                                        // 13
    // Top to bottom; FlipHorizontal mirrors left to right. Turns below are clockwise.
    virtual bool FlipVertical() = 0;                                               // 14
    virtual bool FlipHorizontal() = 0;                                             // 15
    virtual bool Rotate90() = 0;                                                   // 16
    virtual bool Rotate180() = 0;                                                  // 17
    virtual bool Rotate270() = 0;                                                  // 18
    // width pixels of colour; third 0: around the picture (the canvas grows by 2 x
    // width), any other value: drawn inside over the picture's edge, keeping its size.
    virtual bool Border(int32_t width, uint32_t color, int32_t third) = 0;         // 19
    // A border around the picture with outer corners rounded by radius (0: twice the
    // width); outside the rounding is the background colour. Width 0 rounds the picture itself.
    virtual bool RoundedBorder(int32_t width, uint32_t color, int32_t radius) = 0; // 20
    // Lays the picture of a file at x a, y b, sized c x d (0 x 0: its own size; one 0
    // follows the other keeping the shape), opacity e percent.
    virtual bool AddImage(const char* path, int32_t a, int32_t b, int32_t c, int32_t d,
                          int32_t e) = 0;                                          // 21
    // A picture file placed by anchor code a, 8 pixels from the edges, opacity b
    // percent, its alpha respected; shrunk to fit when larger than the picture.
    virtual bool AddWatermark(const char* path, int32_t a, int32_t b) = 0;         // 22
    // The canvas becomes width x height, the picture placed by anchor code (a smaller
    // canvas crops around the anchor), new area in colour.
    virtual bool ResizeCanvas(int32_t width, int32_t height, int32_t placement,
                              uint32_t color) = 0;                                 // 23
    // A setting for later operations; succeeds even without a picture.
    virtual bool SetBgColor(uint32_t color) = 0;                                   // 24
    // A picture file scaled to cover the picture, laid under it (seen through
    // transparency) and in areas later uncovered by Rotate and DropShadow.
    virtual bool SetBgImage(const char* path) = 0;                                 // 25
    // Hue shift in degrees; saturation, brightness, contrast in percent -100..100
    // (0 unchanged, contrast -100 is flat grey); gamma in hundredths, 0 or 100 unchanged,
    // above 100 lighter.
    virtual bool HSBCG(int32_t hue, int32_t saturation, int32_t brightness, int32_t contrast,
                       int32_t gamma) = 0;                                         // 26
    // UTF-8 text with its ink's top left at x a, y b; c: size in pixels; d: style bits,
    // 1 bold, 2 italic; font: family (empty: Sans).
    virtual bool TextOut(const char* text, const char* font, int32_t a, int32_t b, int32_t c,
                         int32_t d, uint32_t color) = 0;                           // 27
    // Text placed by anchor code a, 8 pixels from the edges; b: size in pixels
    // (smaller when the text would not fit the width); c: opacity percent.
    virtual bool AddTextWatermark(const char* text, const char* font, int32_t a, int32_t b,
                                  int32_t c, uint32_t color) = 0;                  // 28
    // Grey, kept as three equal colour bands.
    virtual bool Gray() = 0;                                                       // 29
    // Tones the picture by its lightness: shadows a, middle tones b, highlights c.
    virtual bool Colorize(uint32_t a, uint32_t b, uint32_t c) = 0;                 // 30
    virtual int32_t Reserved31() = 0;                                              // 31
    virtual int32_t Reserved32() = 0;                                              // 32
    // Opens a photo as displayed (its turn and levels applied), fitted inside width x
    // height when larger (width or height 0: no box). Pixels are decoded when first needed.
    virtual bool OpenSized(int32_t width, int32_t height, const char* path) = 0;   // 33
    // Opens a photo as displayed; a and b are not used.
    virtual bool Open(int32_t a, int32_t b, const char* path) = 0;                 // 34
    // Format from the extension: jpg/jpeg, png, gif, bmp, tif/tiff, webp. flags bit 0
    // keeps the photo's camera EXIF (without GPS position); otherwise no metadata is written.
    // Never leaves a half-written file.
    virtual bool Save(int32_t flags, const char* path) = 0;                        // 35
    // 1..100 for JPEG and WebP; default 75.
    virtual void SetJpegQuality(int32_t quality) = 0;                              // 36
    virtual int32_t Reserved37() = 0;                                              // 37
    // A soft white light fading down from the top; strength 0..100: its opacity there.
    virtual bool Shine(int32_t strength) = 0;                                      // 38
    // Gaussian blur, sigma strength / 10 pixels.
    virtual bool Blur(int32_t strength) = 0;                                       // 39
    // Unsharp mask of lightness; strength 0..100, 0 does nothing.
    virtual bool Sharpen(int32_t strength) = 0;                                    // 40
    // Stretches each channel so that 0.5 % of pixels clip at either end.
    virtual bool AutoLevels() = 0;                                                 // 41
    // A shadow offset a pixels right and down, blurred over b pixels, opacity c
    // percent, on the background; the canvas grows to hold it.
    virtual bool DropShadow(int32_t a, int32_t b, int32_t c, uint32_t color) = 0;  // 42
    virtual int32_t GetWidth() const = 0;                                          // 43
    virtual int32_t GetHeight() const = 0;                                         // 44
    virtual int32_t Reserved45() = 0;                                              // 45
    virtual int32_t Reserved46() = 0;                                              // 46
    virtual int32_t Reserved47() = 0;                                              // 47
    // A frame a pixels wide cut from a picture file: its b x b corners unscaled, its
    // edges stretched along the picture.
    virtual bool ImageBorder(const char* path, int32_t a, int32_t b) = 0;          // 48

protected:
    ~IPlainImage() = default;
};

extern "C" {
// The plain image library's one export; never returns null.
using CreatePlainImageFn = IPlainImage* (*)();
}
