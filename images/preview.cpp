// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/preview.h"

#include "platform/imaging.h"

PreviewPicture renderPreview(const QString& path, QSize client)
{
    PreviewPicture preview;
    const auto image = imaging::Image::open(path);
    if (!image)
        return preview;
    const auto side = imaging::Image::open(imaging::sideFilePath(path));
    preview.transform = imaging::transformOf(side ? *side : *image);
    preview.picture = imaging::drawShown(*image, preview.transform, client);
    if (preview.picture.isNull())
        return preview;
    const QSize shown = preview.picture.size();
    preview.rect = QRect(QPoint((client.width() - shown.width()) / 2,
                                (client.height() - shown.height()) / 2),
                         shown);
    return preview;
}
