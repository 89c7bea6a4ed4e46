// SPDX-License-Identifier: GPL-2.0-or-later
// What the control tests share: skin strips drawn to order, a skin installed for the
// controls, and the folder that pictures of the controls are saved into for people to look at.
#pragma once

#include <vector>

#include <QColor>
#include <QImage>
#include <QString>

class QWidget;

// A strip of frames of the given size, frame i filled with colours[i].
QImage colourStrip(QSize frame, const std::vector<QColor>& colours);
// Saves widget's picture as build/screenshots/controls/<name>.png; true when written.
bool saveScreenshot(QWidget& widget, const QString& name);
// The generated graphics folder beside the programs.
QString graphicsFolder();

// Installs pictures by id (from a table) and the default skin colours for one test.
class SkinHooksScope
{
public:
    explicit SkinHooksScope(std::vector<std::pair<int, QImage>> pictures = {});
    ~SkinHooksScope();
};
