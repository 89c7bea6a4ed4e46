// SPDX-License-Identifier: GPL-2.0-or-later
// Skin pictures hold a button's looks side by side in one strip (normal, hover, pressed ...).
// These put the normal look of such a strip on a standard button, or its text when the skin
// has no picture for it.
#pragma once

#include <QImage>
#include <QString>

class QPushButton;

// Frame index of a strip of states equal frames; a null image when there is none.
QImage skinFrame(const QImage& strip, int states, int index);
// Shows frame 0 of strip on button, sized to one frame; without a picture, shows text. The
// text stays the button's tooltip and accessible name either way.
void applySkinPicture(QPushButton& button, const QImage& strip, int states, const QString& text);
