// SPDX-License-Identifier: GPL-2.0-or-later
// Helpers of the colour dialogs' tests: pictures with known colours, the colour a preview
// shows at a point.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include "enhancer/imagerecord.h"
#include "tests/enhancer/colourpicture.h"

class CPreviewCtrl;

// A picture whose left half is red and right half blue, with a green top quarter.
ColourPicture QuarteredPicture(int width, int height);
// An image record holding a copy of picture (the document's image).
ImageRecord RecordOf(const ColourPicture& picture);
// The colour the preview shows at (fx, fy), fractions of its picture's width and height.
QColor ShownAt(const CPreviewCtrl& preview, double fx, double fy);
