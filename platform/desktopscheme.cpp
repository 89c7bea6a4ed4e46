// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/desktopscheme.h"

#include <optional>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QPalette>
#include <QStyleHints>

namespace platform {

namespace {

std::optional<bool> fromGtkTheme()
{
    const QByteArray theme = qgetenv("GTK_THEME");
    if (theme.isEmpty())
        return std::nullopt;
    return theme.endsWith(":dark");
}

std::optional<bool> fromQt()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    switch (QGuiApplication::styleHints()->colorScheme()) {
    case Qt::ColorScheme::Dark:
        return true;
    case Qt::ColorScheme::Light:
        return false;
    default:
        break;
    }
#endif
    return std::nullopt;
}

// The freedesktop portal answers 1 for "prefer dark", 2 for "prefer light", 0 for none.
std::optional<bool> fromPortal()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return std::nullopt;
    QDBusMessage read = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("Read"));
    read << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("color-scheme");
    // A desktop without the portal must not hold up the start.
    const QDBusMessage reply = bus.call(read, QDBus::Block, 500);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    QVariant value = reply.arguments().constFirst();
    // The value comes wrapped in one or two variants.
    while (value.canConvert<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    bool ok = false;
    const uint scheme = value.toUInt(&ok);
    if (!ok || (scheme != 1 && scheme != 2))
        return std::nullopt;
    return scheme == 1;
}

} // namespace

bool desktopPrefersDark()
{
    if (const auto gtk = fromGtkTheme())
        return *gtk;
    if (const auto qt = fromQt())
        return *qt;
    if (const auto portal = fromPortal())
        return *portal;
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

} // namespace platform
