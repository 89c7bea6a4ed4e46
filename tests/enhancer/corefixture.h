// SPDX-License-Identifier: GPL-2.0-or-later
// What the editor core's tests share: small crafted pixel records, pictures written as real
// files by the imaging layer (with Orientation and levels where asked), and choosers that
// answer from lists.
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

#include "enhancer/dib.h"
#include "enhancer/packedimage.h"
#include "platform/choosers.h"

class ImageRecord;

// A width x height record filled with one byte value (padding zero).
PackedPixels filledPixels(int width, int height, uint8_t value);
// Each pixel's blue, green, red = x, y, x + y (in buffer rows) plus seed, padding zero.
PackedPixels patternPixels(int width, int height, uint8_t seed = 0);

// The colour of the pixel at x, y counted from the top, as the record holds it.
QColor shownColour(const ImageRecord& image, int x, int yFromTop);
// The colours in the middle of the four quarters of an image shown top row first: top left,
// top right, bottom left, bottom right.
std::vector<QColor> quarterColours(const ImageRecord& image);
// Colours within tolerance on each channel (lossy files).
bool closeTo(const QColor& a, const QColor& b, int tolerance = 12);

// A 32 x 16 picture of four quarters: red, green / blue, white.
QImage quarterPicture();
// Writes picture to path with the encoder of mimeType; orientation (0 for none) and the six
// ReferenceBlackWhite values (empty for none) become its tags. Returns path ("" on failure).
QString writePicture(const QString& path, const QImage& picture, const QString& mimeType,
                     int orientation = 0, const std::vector<double>& levels = {});
// The side file of photo with the given tags (a 1 x 1 JPEG that carries only them).
QString writeSideFile(const QString& photo, int orientation,
                      const std::vector<double>& levels = {});

// Answers the file dialogs from lists: "" (cancelled) once a list runs out.
class EditorChoosers : public NoChoosers
{
public:
    QStringList openFiles(const QString& title, const QString& folder,
                          const QString& filter) override;
    QString saveFile(const QString& title, const QString& suggested,
                     const QString& filter) override;

    std::deque<QStringList> openAnswers;
    std::deque<QString> saveAnswers;
    QStringList suggestions; // the names the save dialog was opened with
    QStringList filters;     // the filter of every dialog, in order
};
