// SPDX-License-Identifier: GPL-2.0-or-later
// How a photo is shown: the turn recorded in its Orientation tag (274) and the levels
// recorded in its ReferenceBlackWhite tag (532), taken from its side file (the photo's path
// with ".exif" appended) when that opens, else from the photo itself. The image list preview,
// the plain image library and the photo editor all show photos through this.
#pragma once

#include <QString>

#include "platform/imaging.h"

namespace imaging {

struct DisplayTransform {
    int rotation = 0;      // clockwise quarter turns: 0, 1 (90), 2 (180), 3 (270)
    bool mirrored = false; // then flipped left to right
    ColorMatrix matrix = identityMatrix();
    bool hasLevels() const { return !isIdentity(matrix); }
    RotateFlip rotateFlip() const { return static_cast<RotateFlip>(rotation + (mirrored ? 4 : 0)); }
};

// The turn and mirror of an Orientation value (1 to 8); any other value counts as upright.
struct Orientation {
    int rotation = 0;
    bool mirrored = false;
};
Orientation orientationTurn(int value);
// The Orientation value (1 to 8) of a turn and mirror.
int orientationValue(Orientation turn);
// The Orientation value after the shown photo is turned clockwise by degrees (a multiple of
// 90): a mirrored photo stays mirrored.
int turnedOrientation(int value, int degrees);

inline constexpr uint32_t TagOrientation = 274;
inline constexpr uint32_t TagReferenceBlackWhite = 532;

// The side file of a photo.
QString sideFilePath(const QString& imagePath);
// The transform of the tags of one image (the side file or the photo).
DisplayTransform transformOf(const Image& tags);
// The photo drawn as it is shown (turned, mirrored, with its levels), fitted inside box with
// its proportions kept; null when it cannot be drawn.
QImage drawShown(const Image& image, const DisplayTransform& transform, QSize box);
// The transform for a photo path: from its side file when that opens, else from the photo.
DisplayTransform readDisplayTransform(const QString& imagePath);

} // namespace imaging
