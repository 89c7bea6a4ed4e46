// SPDX-License-Identifier: GPL-2.0-or-later
// Writes a picture as a GIF89a file with one 256-colour palette: pixels at least half opaque
// are laid over the matte colour the picture will be shown on (so their soft edges blend
// there), the rest become the transparent index.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>

bool writeGif(const QImage& picture, const QString& path, const QColor& matte);
