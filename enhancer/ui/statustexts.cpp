// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/statustexts.h"

#include "enhancer/lumivexdoc.h"
#include "enhancer/lumivexstrings.h"

QStringList StatusTexts(const CLumivexDoc& doc, double zoom)
{
    const ImageRecord& image = doc.Current();
    if (!image.HasPixels())
        return {QString(), QString(), QString(), QString()};
    const QString list =
        doc.ListMode() ? QString::asprintf(loadLumivexString(IDS_LX_IMAGE_OF).toUtf8().constData(),
                                           doc.NavigationIndex() + 1,
                                           static_cast<int>(doc.NavigationList().size()))
                       : QString();
    return {QString::fromStdString(image.fileName),
            QStringLiteral("%1x%2x%3")
                .arg(image.widthPixels)
                .arg(image.heightPixels)
                .arg(image.header.biBitCount),
            QString::asprintf(loadLumivexString(IDS_LX_SCALE_STATUS).toUtf8().constData(),
                              static_cast<int>(zoom * 100)),
            list};
}
