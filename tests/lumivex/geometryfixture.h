// SPDX-License-Identifier: GPL-2.0-or-later
// What the geometry dialogs' tests share: real photos loaded as the editor loads them, the
// light and dark palettes the dialogs are photographed in, and the pictures they leave.
#pragma once

#include <QPalette>
#include <QString>

#include "enhancer/imagerecord.h"

class QWidget;

// Loads tests/data/photos/<name> into image; false when it does not load.
bool loadPhoto(const char* name, ImageRecord& image);

// The palettes of the desktop's light and dark schemes.
QPalette lightPalette();
QPalette darkPalette();

// Saves widget's picture as build/screenshots/lumivex/<name>.png; true when written.
bool saveScreenshot(QWidget& widget, const QString& name);

// Photographs widget shown in the light and then the dark palette (<name>-light, <name>-dark);
// true when both were written.
bool saveBothSchemes(QWidget& widget, const QString& name);
