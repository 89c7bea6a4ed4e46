// SPDX-License-Identifier: GPL-2.0-or-later
// Keeping a picture received from a scanner or camera: it is written as a BMP into a new
// temporary file, which the image list then holds like any other photo.
#pragma once

#include <QImage>
#include <QString>

class Prompter;

// Writes image as a BMP into a new file named "FT_..." in folder (the temporary folder when
// empty); the file's path, or an empty text when it could not be written.
QString writeAcquiredImage(const QImage& image, const QString& folder = QString());
// As above, telling the user when the picture could not be kept (message 32813).
QString keepAcquiredImage(const QImage& image, Prompter& prompter,
                          const QString& folder = QString());
