// SPDX-License-Identifier: GPL-2.0-or-later
// ImageRecord: one state of the document's image — its header, its pixels and the derived
// sizes the view's zoom arithmetic uses. It owns its pixel buffer: a bare buffer (as the
// loader makes) or a packed one (as every edit makes: 40 bytes of room before the pixels).
#pragma once

#include <cstdint>
#include <string>

#include "enhancer/dib.h"

class ImageRecord {
public:
    ImageRecord() = default;
    ~ImageRecord();
    ImageRecord(ImageRecord&& other) noexcept;
    ImageRecord& operator=(ImageRecord&& other) noexcept;
    ImageRecord(const ImageRecord&) = delete;
    ImageRecord& operator=(const ImageRecord&) = delete;

    // A new buffer for stride x height pixel bytes of an image, with the 40 bytes of room in
    // front (packed); null when the size is refused or memory is short. Released by
    // FreePacked.
    static uint8_t* AllocatePacked(const BITMAPINFOHEADER& header);
    static void FreePacked(uint8_t* pixels);
    // A bare buffer of the given size (the loader's); released with the record.
    static uint8_t* AllocateBare(size_t bytes);

    // Takes ownership of pixels (packed or bare) with their header, then recomputes the
    // derived values; the path stays.
    void Assign(const BITMAPINFOHEADER& header, uint8_t* pixels, bool packed);
    // Frees the pixels; the record then has no image.
    void Release();
    void Swap(ImageRecord& other) noexcept;

    // Recomputes width/height (both forms), aspect, byte size and file name; packed = false.
    void RecomputeDerived();

    bool HasPixels() const { return m_pixels != nullptr; }

    BITMAPINFOHEADER header;
    std::string path;       // the file the image came from
    std::string fileName;   // the part of the path after the last separator
    double width = 0.0, height = 0.0;
    float aspect = 0.0f;
    int32_t widthPixels = 0, heightPixels = 0;
    uint32_t byteSize = 0;  // stride x height

    uint8_t* Pixels() const { return m_pixels; }
    bool IsPacked() const { return m_packed; }

private:
    uint8_t* m_pixels = nullptr; // first byte of the bottom row
    bool m_packed = false;
};
