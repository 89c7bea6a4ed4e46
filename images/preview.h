// SPDX-License-Identifier: GPL-2.0-or-later
// What the image list's preview shows for a photo: the picture fitted into the control with
// the turn and the levels the user recorded (in the photo's side file, else in the photo).
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include "platform/displaytransform.h"

struct PreviewPicture {
    QImage picture;                       // null when the photo cannot be read
    QRect rect;                           // where it goes in the control, centred
    imaging::DisplayTransform transform;  // what was applied
};

// Renders path to fit inside client, keeping its proportions.
PreviewPicture renderPreview(const QString& path, QSize client);
