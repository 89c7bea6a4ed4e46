// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/support/bigphoto.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include <vips/vips8>

#include "platform/imaging.h"
#include "tests/support/testenv.h"

QString bigTestPhoto()
{
    // Made once: tiling and compressing 22 megapixels takes a moment.
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("big.jpg"));
    if (QFileInfo::exists(path))
        return path;
    const QString tile = sharedTestData(QStringLiteral("photos/exs-DSCN0010.jpg")); // 640 x 480
    if (!imaging::startImaging() || !folder.isValid() || !QFileInfo::exists(tile))
        return QString();
    try {
        // The small tile is decoded once; the big picture goes to the file in strips.
        vips::VImage::new_from_file(tile.toUtf8().constData())
            .replicate(9, 8)
            .jpegsave(path.toUtf8().constData(), vips::VImage::option()->set("Q", 90));
    } catch (const vips::VError& error) {
        ADD_FAILURE() << "cannot make the big test photo: " << error.what();
        return QString();
    }
    return path;
}
