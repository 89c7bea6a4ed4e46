// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/saneimage.h"

#include <QtEndian>

namespace sane
{

namespace
{

// One sample scaled to 8 bits; 16-bit samples come in the machine's byte order.
int sample(const uchar* line, int index, int depth)
{
    if (depth == 16)
        return qFromUnaligned<quint16>(line + 2 * index) >> 8;
    return line[index];
}

void copyLine(const FrameLayout& layout, const uchar* source, QRgb* target)
{
    for (int x = 0; x < layout.pixelsPerLine; ++x) {
        if (layout.depth == 1) {
            // In line-art, a set bit is black.
            const bool black = source[x / 8] & (0x80 >> (x % 8));
            target[x] = black ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        } else if (layout.color) {
            target[x] =
                qRgb(sample(source, 3 * x, layout.depth), sample(source, 3 * x + 1, layout.depth),
                     sample(source, 3 * x + 2, layout.depth));
        } else {
            const int gray = sample(source, x, layout.depth);
            target[x] = qRgb(gray, gray, gray);
        }
    }
}

bool readable(const FrameLayout& layout)
{
    const bool depthKnown =
        layout.depth == 8 || layout.depth == 16 || (layout.depth == 1 && !layout.color);
    const int samples = layout.color ? 3 : 1;
    const long long needed =
        (static_cast<long long>(layout.pixelsPerLine) * samples * layout.depth + 7) / 8;
    return depthKnown && layout.pixelsPerLine > 0 && layout.bytesPerLine >= needed;
}

} // namespace

QImage imageFromFrame(const FrameLayout& layout, const QByteArray& data)
{
    if (!readable(layout))
        return {};
    const int lines = static_cast<int>(data.size() / layout.bytesPerLine);
    if (lines <= 0)
        return {};
    QImage image(layout.pixelsPerLine, lines, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    for (int y = 0; y < lines; ++y)
        copyLine(layout, bytes + static_cast<qsizetype>(y) * layout.bytesPerLine,
                 reinterpret_cast<QRgb*>(image.scanLine(y)));
    return image;
}

} // namespace sane
