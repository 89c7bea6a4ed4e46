// SPDX-License-Identifier: GPL-2.0-or-later
// Pictures of the editor's windows and dialogs for a person to look at: saved under
// build/screenshots/lumivex/, one in each of the desktop's light and dark palettes.
#pragma once

#include <QPalette>
#include <QString>

class QWidget;

// The palettes of the desktop's light and dark schemes.
QPalette lightPalette();
QPalette darkPalette();

// Saves widget's picture as build/screenshots/lumivex/<name>.png; true when written.
bool saveScreenshot(QWidget& widget, const QString& name);

// Photographs widget shown in the light and then the dark palette (<name>-light, <name>-dark);
// true when both were written.
bool saveBothSchemes(QWidget& widget, const QString& name);
