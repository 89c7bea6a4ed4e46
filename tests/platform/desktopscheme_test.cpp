// SPDX-License-Identifier: GPL-2.0-or-later
// The desktop's light or dark preference: a GTK theme named for it decides, then the
// windows' palette when nothing else tells.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

#include "platform/desktopscheme.h"
#include "tests/support/testenv.h"

namespace
{

// Sets the application palette for the life of the object, then restores it.
class PaletteScope
{
public:
    explicit PaletteScope(const QColor& window) : m_old(QApplication::palette())
    {
        QApplication::setPalette(QPalette(Qt::black, window));
    }
    ~PaletteScope() { QApplication::setPalette(m_old); }

private:
    QPalette m_old;
};

} // namespace

TEST(DesktopScheme, AGtkThemeNamedDarkOrLightDecides)
{
    // No desktop portal to ask here.
    EnvironmentValue bus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    const PaletteScope light(QColor(240, 240, 240));
    {
        EnvironmentValue theme("GTK_THEME", "Adwaita:dark");
        EXPECT_TRUE(platform::desktopPrefersDark());
    }
    const PaletteScope dark(QColor(30, 30, 30));
    EnvironmentValue theme("GTK_THEME", "Adwaita");
    EXPECT_FALSE(platform::desktopPrefersDark()) << "a light theme named outright wins";
}

TEST(DesktopScheme, OtherwiseThePalettesLightnessTells)
{
    EnvironmentValue bus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    EnvironmentValue theme("GTK_THEME", "");
    {
        const PaletteScope dark(QColor(35, 38, 41));
        EXPECT_TRUE(platform::desktopPrefersDark());
    }
    const PaletteScope light(QColor(239, 240, 241));
    EXPECT_FALSE(platform::desktopPrefersDark());
}
