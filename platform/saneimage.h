// SPDX-License-Identifier: GPL-2.0-or-later
// Turning the raw lines a SANE device sends into a QImage.
#pragma once

#include <QByteArray>
#include <QImage>

namespace sane
{

// The layout of one frame as the device states it.
struct FrameLayout {
    bool color = false; // three samples per pixel, red first
    int depth = 8;      // bits per sample: 1, 8 or 16
    int bytesPerLine = 0;
    int pixelsPerLine = 0;
};

// The picture held in data; lines follow from the data's length. Null when the layout is not
// one this program reads.
QImage imageFromFrame(const FrameLayout& layout, const QByteArray& data);

} // namespace sane
