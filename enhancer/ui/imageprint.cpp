// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/imageprint.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include "enhancer/imagerecord.h"
#include "platform/settings.h"

namespace
{
const QString NoteSetting = QStringLiteral("noshow_qd_dlg");
} // namespace

std::optional<ImagePrint::Command> ImagePrint::ProgramCommand(const ImageRecord& image)
{
    const Settings print(QStringLiteral("Quindle"));
    const QString programPath = QStringLiteral("Program path");
    if (!print.contains(QString(), programPath))
        return std::nullopt;
    const QString folder = print.getString(QString(), programPath);
    if (folder.isEmpty())
        return std::nullopt;
    const QFileInfo file(QString::fromStdString(image.path));
    QString imageFolder = QDir::toNativeSeparators(file.absolutePath());
    if (!imageFolder.endsWith(QDir::separator()))
        imageFolder += QDir::separator();
    return Command{QDir(folder).filePath(QString::fromLatin1(ProgramFile)),
                   {file.fileName(), imageFolder}};
}

bool ImagePrint::ShowNote()
{
    return Settings(QStringLiteral("Lumivex")).getInt(QString(), NoteSetting, 0) == 0;
}

void ImagePrint::SetShowNote(bool show)
{
    Settings(QStringLiteral("Lumivex")).writeInt(QString(), NoteSetting, show ? 0 : 1);
}

QSize ImagePrint::DrawnSize(QSize image, int dpiX, int dpiY, QSize page)
{
    if (image.isEmpty() || page.isEmpty())
        return {};
    const QSize drawn(image.width() * (dpiX / ImageDpi), image.height() * (dpiY / ImageDpi));
    if (!drawn.isEmpty() && drawn.width() <= page.width() && drawn.height() <= page.height())
        return drawn;
    // Fit the page in the printer's own dots: keeping the image's proportions on paper
    // means allowing for printers whose two resolutions differ.
    const double inchesWide = double(image.width()) / ImageDpi;
    const double inchesHigh = double(image.height()) / ImageDpi;
    const double scale = std::min(page.width() / (inchesWide * dpiX),
                                  page.height() / (inchesHigh * dpiY));
    return QSize(std::max(1, int(inchesWide * dpiX * scale)),
                 std::max(1, int(inchesHigh * dpiY * scale)));
}

void ImagePrint::DrawPage(QPainter& painter, const QImage& picture, int dpiX, int dpiY,
                          QSize page)
{
    const QSize size = DrawnSize(picture.size(), dpiX, dpiY, page);
    if (size.isEmpty())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRect(QPoint(0, 0), size), picture);
}
