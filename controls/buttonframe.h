// SPDX-License-Identifier: GPL-2.0-or-later
// Which frame of a skin strip a picture button shows. A strip holds `states` ordinary frames
// side by side, then `extraFrames` optional ones whose last is the disabled look.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

struct ButtonLook {
    int states = 1;
    int extraFrames = 0;
    bool enabled = true;
    bool pressed = false;
    bool hovered = false;
    int check = 0;
};

// No frame of its own: a disabled button shows its normal frame greyed (greyedFrame).
constexpr int NoFrame = -1;

// Three states read normal, hover, pressed; two states read normal, then hover or checked
// (and pressed).
int selectFrame(const ButtonLook& look);
// One frame's size in a strip of the given size; empty when the strip cannot be split.
QSize frameSize(QSize strip, int states, int extraFrames);
// Where frame index lies in the strip.
QRect frameRect(QSize frame, int index);
// The rectangle the focus cue is drawn on, two pixels inside the frame.
QRect focusRect(QSize frame);
// A frame as a disabled button shows it: its picture and label in greys, half faded into the
// background colour, so the button stays recognisable but plainly out of use. Transparent
// pixels stay transparent.
QImage greyedFrame(const QImage& frame, QRgb background);
