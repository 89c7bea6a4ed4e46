#include "images/preview.h"

#include "platform/imaging.h"

namespace {

// The largest size with the picture's proportions that fits inside client.
QSize fitted(QSize picture, QSize client)
{
    if (picture.isEmpty() || client.isEmpty())
        return QSize();
    return picture.scaled(client, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

} // namespace

PreviewPicture renderPreview(const QString& path, QSize client)
{
    PreviewPicture preview;
    const auto image = imaging::Image::open(path);
    if (!image)
        return preview;
    const auto side = imaging::Image::open(imaging::sideFilePath(path));
    preview.transform = imaging::transformOf(side ? *side : *image);

    // A quarter turn lays the picture on its side: fit the turned size, draw the upright one.
    const bool sideways = preview.transform.rotation % 2 == 1;
    const QSize upright(image->width(), image->height());
    const QSize shown = fitted(sideways ? upright.transposed() : upright, client);
    if (shown.isEmpty())
        return preview;
    const QSize drawn = sideways ? shown.transposed() : shown;
    const imaging::ColorMatrix* matrix =
        preview.transform.hasLevels() ? &preview.transform.matrix : nullptr;
    preview.picture = image->draw(drawn, matrix, preview.transform.rotateFlip());
    preview.rect = QRect(QPoint((client.width() - shown.width()) / 2,
                                (client.height() - shown.height()) / 2),
                         shown);
    return preview;
}
