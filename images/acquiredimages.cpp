// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/acquiredimages.h"

#include <QDir>
#include <QTemporaryFile>

#include "platform/prompter.h"
#include "platform/stringtable.h"

QString writeAcquiredImage(const QImage& image, const QString& folder)
{
    if (image.isNull())
        return {};
    const QString base = folder.isEmpty() ? QDir::tempPath() : folder;
    QTemporaryFile file(QDir(base).filePath(QStringLiteral("FT_XXXXXX.bmp")));
    if (!file.open() || !image.save(&file, "BMP") || !file.flush())
        return {};
    // The list keeps the picture: the file outlives this function.
    file.setAutoRemove(false);
    return file.fileName();
}

QString keepAcquiredImage(const QImage& image, Prompter& prompter, const QString& folder)
{
    const QString path = writeAcquiredImage(image, folder);
    if (path.isEmpty())
        prompter.message(loadString(IDS_TWAIN_TRANSFER_FAILED), Prompter::Icon::Error);
    return path;
}
