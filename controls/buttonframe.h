// Which frame of a skin strip a picture button shows. A strip holds `states` ordinary frames
// side by side, then `extraFrames` optional ones whose last is the disabled look.
#pragma once

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

// No frame: the button is painted flat in the disabled colour instead.
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
