// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/controls/controlsfixture.h"

#include <QDir>
#include <QPainter>
#include <QWidget>

#include "controls/skinhooks.h"
#include "tests/support/testenv.h"

QImage colourStrip(QSize frame, const std::vector<QColor>& colours)
{
    QImage strip(frame.width() * int(colours.size()), frame.height(), QImage::Format_RGB32);
    QPainter painter(&strip);
    for (size_t i = 0; i < colours.size(); ++i)
        painter.fillRect(QRect(QPoint(int(i) * frame.width(), 0), frame), colours[i]);
    return strip;
}

bool saveScreenshot(QWidget& widget, const QString& name)
{
    const QString folder = binFolder() + QStringLiteral("/../screenshots/controls");
    QDir().mkpath(folder);
    return widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

QString graphicsFolder()
{
    return binFolder() + QStringLiteral("/graphics");
}

SkinHooksScope::SkinHooksScope(std::vector<std::pair<int, QImage>> pictures)
{
    SkinHooks::install(
        [pictures](int id) {
            for (const auto& [key, picture] : pictures)
                if (key == id)
                    return picture;
            return QImage();
        },
        {});
}

SkinHooksScope::~SkinHooksScope()
{
    SkinHooks::install({}, {});
}
