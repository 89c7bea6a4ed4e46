// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/stretchpicture.h"

#include <algorithm>
#include <array>

#include <QPainter>

namespace
{

// One axis: the picture's three spans (before the cut, the cut, after it) and where each
// lands in a target extra pixels longer.
struct Spans {
    std::array<int, 3> from, length, to, toLength;
};

Spans spansOf(int size, int cut, int extra)
{
    cut = std::clamp(cut, 0, size - 1);
    Spans spans;
    spans.from = {0, cut, cut + 1};
    spans.length = {cut, 1, size - cut - 1};
    spans.to = {0, cut, cut + 1 + extra};
    spans.toLength = {cut, 1 + extra, size - cut - 1};
    return spans;
}

} // namespace

void paintStretched(QPainter& painter, const QImage& picture, const QRect& target, QPoint cut)
{
    if (picture.isNull())
        return;
    const QSize size = picture.deviceIndependentSize().toSize();
    const int extraWidth = std::max(0, target.width() - size.width());
    const int extraHeight = std::max(0, target.height() - size.height());
    if (extraWidth == 0 && extraHeight == 0) {
        painter.drawImage(target.topLeft(), picture);
        return;
    }
    const qreal ratio = picture.devicePixelRatio();
    const Spans across = spansOf(size.width(), cut.x(), extraWidth);
    const Spans down = spansOf(size.height(), cut.y(), extraHeight);
    for (size_t column = 0; column < 3; ++column) {
        for (size_t row = 0; row < 3; ++row) {
            if (across.length[column] <= 0 || down.length[row] <= 0)
                continue;
            const QRectF source(across.from[column] * ratio, down.from[row] * ratio,
                                across.length[column] * ratio, down.length[row] * ratio);
            const QRectF place(target.left() + across.to[column], target.top() + down.to[row],
                               across.toLength[column], down.toLength[row]);
            painter.drawImage(place, picture, source);
        }
    }
}
