// IPlainImage: one image in memory with the pixel operations that image-processing scripts
// use. Objects come from CreatePlainImage() of the plain image library and are destroyed
// through slot 0. Colours are COLORREF values (0x00BBGGRR). Placement codes of ResizeCanvas
// are the nine anchors row by row: 0 top left, 1 top, 2 top right, 3 left, 4 centre, 5 right,
// 6 bottom left, 7 bottom, 8 bottom right. Interpolation modes: 5 nearest neighbour,
// 6 bilinear, 7 bicubic.
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
    virtual bool CreateImage(int32_t width, int32_t height, uint32_t color) = 0;   // 4
    virtual int32_t Reserved5() = 0;                                               // 5
    virtual void GetSize(int32_t* width, int32_t* height) const = 0;               // 6
    virtual void SetInterpolationMode(int32_t mode) = 0;                           // 7
    virtual int32_t Reserved8() = 0;                                               // 8
    virtual int32_t Reserved9() = 0;                                               // 9
    virtual int32_t Reserved10() = 0;                                              // 10
    virtual bool ResizeKeepAspect(int32_t width, int32_t height, int32_t flag) = 0; // 11
    virtual bool Resize(int32_t width, int32_t height) = 0;                        // 12
    virtual bool Rotate(int32_t angle) = 0;                                        // 13
    virtual bool FlipVertical() = 0;                                               // 14
    virtual bool FlipHorizontal() = 0;                                             // 15
    virtual bool Rotate90() = 0;                                                   // 16
    virtual bool Rotate180() = 0;                                                  // 17
    virtual bool Rotate270() = 0;                                                  // 18
    virtual bool Border(int32_t width, uint32_t color, int32_t third) = 0;         // 19
    virtual bool RoundedBorder(int32_t width, uint32_t color, int32_t radius) = 0; // 20
    virtual bool AddImage(const char* path, int32_t a, int32_t b, int32_t c, int32_t d,
                          int32_t e) = 0;                                          // 21
    virtual bool AddWatermark(const char* path, int32_t a, int32_t b) = 0;         // 22
    virtual bool ResizeCanvas(int32_t width, int32_t height, int32_t placement,
                              uint32_t color) = 0;                                 // 23
    virtual bool SetBgColor(uint32_t color) = 0;                                   // 24
    virtual bool SetBgImage(const char* path) = 0;                                 // 25
    virtual bool HSBCG(int32_t hue, int32_t saturation, int32_t brightness, int32_t contrast,
                       int32_t gamma) = 0;                                         // 26
    virtual bool TextOut(const char* text, const char* font, int32_t a, int32_t b, int32_t c,
                         int32_t d, uint32_t color) = 0;                           // 27
    virtual bool AddTextWatermark(const char* text, const char* font, int32_t a, int32_t b,
                                  int32_t c, uint32_t color) = 0;                  // 28
    virtual bool Gray() = 0;                                                       // 29
    virtual bool Colorize(uint32_t a, uint32_t b, uint32_t c) = 0;                 // 30
    virtual int32_t Reserved31() = 0;                                              // 31
    virtual int32_t Reserved32() = 0;                                              // 32
    virtual bool OpenSized(int32_t width, int32_t height, const char* path) = 0;   // 33
    virtual bool Open(int32_t a, int32_t b, const char* path) = 0;                 // 34
    virtual bool Save(int32_t flags, const char* path) = 0;                        // 35
    virtual void SetJpegQuality(int32_t quality) = 0;                              // 36
    virtual int32_t Reserved37() = 0;                                              // 37
    virtual bool Shine(int32_t strength) = 0;                                      // 38
    virtual bool Blur(int32_t strength) = 0;                                       // 39
    virtual bool Sharpen(int32_t strength) = 0;                                    // 40
    virtual bool AutoLevels() = 0;                                                 // 41
    virtual bool DropShadow(int32_t a, int32_t b, int32_t c, uint32_t color) = 0;  // 42
    virtual int32_t GetWidth() const = 0;                                          // 43
    virtual int32_t GetHeight() const = 0;                                         // 44
    virtual int32_t Reserved45() = 0;                                              // 45
    virtual int32_t Reserved46() = 0;                                              // 46
    virtual int32_t Reserved47() = 0;                                              // 47
    virtual bool ImageBorder(const char* path, int32_t a, int32_t b) = 0;          // 48

protected:
    ~IPlainImage() = default;
};

extern "C" {
// The plain image library's one export; never returns null.
using CreatePlainImageFn = IPlainImage* (*)();
}
