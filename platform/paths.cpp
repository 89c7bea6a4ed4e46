// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {

QString programFolder()
{
    if (QCoreApplication::instance() != nullptr)
        return QCoreApplication::applicationDirPath();
    // No application object yet (libraries, early start-up): ask the system.
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
}

QString shippedFolder(Shipped what, const QString& programFolder)
{
    const QDir program(programFolder);
    // An installed program has the prefix's data folder at the same place relative to it.
    const bool installed = program.exists(QStringLiteral(GV_BIN_TO_DATA));
    const QString data = installed ? program.filePath(QStringLiteral(GV_BIN_TO_DATA)) : program.path();
    const QString plugins = program.filePath(installed ? QStringLiteral(GV_BIN_TO_PLUGINS)
                                                       : QStringLiteral("plugins"));
    switch (what) {
    case Shipped::Plugins:
        return QDir::cleanPath(plugins);
    case Shipped::Graphics:
        return QDir::cleanPath(data + QStringLiteral("/graphics"));
    case Shipped::Help:
        return QDir::cleanPath(data + QStringLiteral("/help"));
    case Shipped::Links:
        return QDir::cleanPath(data);
    case Shipped::HtmlThemes:
        return QDir::cleanPath(installed ? data + QStringLiteral("/themes/html")
                                         : plugins + QStringLiteral("/html/templates"));
    }
    return QString();
}

QString userDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Vellora/Gallivex");
}

} // namespace platform
