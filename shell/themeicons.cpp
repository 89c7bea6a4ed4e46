// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/themeicons.h"

#include <QPainter>
#include <QPixmap>

namespace
{

constexpr int Side = 24;

QPixmap canvas()
{
    QPixmap pixmap(Side, Side);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A framed picture with a hill and a sun: a template is a look for photos.
QPixmap framedPicture(const QColor& frame, const QColor& sky)
{
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(frame, 2));
    painter.setBrush(sky);
    painter.drawRect(QRectF(3, 4, 18, 16));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(90, 140, 80));
    painter.drawEllipse(QRectF(2, 13, 14, 12));
    painter.setBrush(QColor(250, 210, 80));
    painter.drawEllipse(QRectF(14, 7, 4, 4));
    painter.end();
    return pixmap;
}

} // namespace

namespace themeicons
{

QIcon plugin()
{
    // A stack of pages: a plug-in makes whole albums.
    QPixmap pixmap = canvas();
    QPainter painter(&pixmap);
    painter.setPen(QColor(70, 70, 90));
    for (int i = 2; i >= 0; --i) {
        painter.setBrush(i == 0 ? QColor(240, 236, 220) : QColor(200, 196, 180));
        painter.drawRect(3 + 3 * i, 2 + 3 * i, 14, 16);
    }
    painter.end();
    return QIcon(pixmap);
}

QIcon theme()
{
    // The tree shows the selected mode's picture for the selected template by itself.
    QIcon icon(framedPicture(QColor(90, 90, 110), QColor(170, 200, 230)));
    icon.addPixmap(framedPicture(QColor(230, 120, 20), QColor(190, 220, 250)), QIcon::Selected);
    return icon;
}

} // namespace themeicons
