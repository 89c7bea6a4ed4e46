// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/skinpicture.h"

#include <QIcon>
#include <QPixmap>
#include <QPushButton>

QImage skinFrame(const QImage& strip, int states, int index)
{
    if (strip.isNull() || states < 1 || index < 0 || index >= states)
        return QImage();
    const int width = strip.width() / states;
    if (width < 1)
        return QImage();
    return strip.copy(index * width, 0, width, strip.height());
}

void applySkinPicture(QPushButton& button, const QImage& strip, int states, const QString& text)
{
    button.setToolTip(text);
    button.setAccessibleName(text);
    const QImage normal = skinFrame(strip, states, 0);
    if (normal.isNull()) {
        button.setText(text);
        return;
    }
    button.setText(QString());
    button.setIcon(QIcon(QPixmap::fromImage(normal)));
    button.setIconSize(normal.size());
    button.setFixedSize(normal.size());
    button.setFlat(true);
}
