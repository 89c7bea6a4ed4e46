// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/buttonframe.h"

int selectFrame(const ButtonLook& look)
{
    if (look.states < 1)
        return NoFrame;
    if (!look.enabled)
        return look.extraFrames > 0 ? look.states + look.extraFrames - 1 : NoFrame;
    if (look.pressed)
        return look.states - 1;
    if (!look.hovered && look.check == 0)
        return 0;
    return look.states == 1 ? 0 : 1;
}

QSize frameSize(QSize strip, int states, int extraFrames)
{
    const int frames = states + (extraFrames > 0 ? extraFrames : 0);
    // A strip narrower than its frame count would give zero-width frames: treat it as absent.
    if (states < 1 || strip.isEmpty() || strip.width() < frames)
        return QSize();
    return QSize(strip.width() / frames, strip.height());
}

QRect frameRect(QSize frame, int index)
{
    return QRect(QPoint(index * frame.width(), 0), frame);
}

QRect focusRect(QSize frame)
{
    // Inclusive corners (2, 2) to (width - 2, height - 2), exclusive of the right and bottom.
    return QRect(QPoint(2, 2), QPoint(frame.width() - 3, frame.height() - 3));
}

QImage greyedFrame(const QImage& frame, QRgb background)
{
    QImage grey = frame.convertToFormat(QImage::Format_ARGB32);
    const int backgroundGrey = qGray(background);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int value = (qGray(line[x]) + backgroundGrey) / 2;
            line[x] = qRgba(value, value, value, qAlpha(line[x]));
        }
    }
    return grey;
}
