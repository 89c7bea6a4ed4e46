// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/lumivex/dialogshots.h"

#include <QApplication>
#include <QDir>
#include <QStyle>
#include <QTest>
#include <QWidget>

#include "tests/support/testenv.h"

QPalette lightPalette()
{
    return QApplication::style()->standardPalette();
}

QPalette darkPalette()
{
    QPalette palette;
    const QColor window(45, 45, 48), base(30, 30, 32), text(230, 230, 230);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(60, 60, 64));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, QColor(53, 132, 228));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Light, QColor(90, 90, 94));
    palette.setColor(QPalette::Mid, QColor(50, 50, 54));
    palette.setColor(QPalette::Dark, QColor(20, 20, 22));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(130, 130, 130));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(130, 130, 130));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(130, 130, 130));
    return palette;
}

namespace
{

// Lets pictures drawn on worker threads, and the controls' own repaints after a palette
// change, arrive.
void settle()
{
    QTest::qWait(80);
}

} // namespace

bool saveScreenshot(QWidget& widget, const QString& name)
{
    const QString folder = binFolder() + QStringLiteral("/../screenshots/lumivex");
    QDir().mkpath(folder);
    return widget.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

bool saveBothSchemes(QWidget& widget, const QString& name)
{
    const QPalette before = widget.palette();
    widget.setPalette(lightPalette());
    settle();
    const bool light = saveScreenshot(widget, name + QStringLiteral("-light"));
    widget.setPalette(darkPalette());
    settle();
    const bool dark = saveScreenshot(widget, name + QStringLiteral("-dark"));
    widget.setPalette(before);
    return light && dark;
}
