// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/toolbaricons.h"

#include <QDir>
#include <QGuiApplication>
#include <QPalette>

#include "enhancer/ui/lumivexcommands.h"
#include "platform/paths.h"

QString ToolbarIcons::Name(int id)
{
    switch (id) {
    case ID_FILE_OPEN: return QStringLiteral("open");
    case ID_FILE_SAVE: return QStringLiteral("save");
    case ID_EDIT_UNDO: return QStringLiteral("undo");
    case RedoIcon: return QStringLiteral("redo");
    case ID_PREVIOUS_IMAGE: return QStringLiteral("previous");
    case ID_NEXT_IMAGE: return QStringLiteral("next");
    case ID_ZOOM_IN: return QStringLiteral("zoomin");
    case ID_ZOOM_OUT: return QStringLiteral("zoomout");
    case ID_ENHANCE_COLORS: return QStringLiteral("enhance");
    case ID_RESIZE: return QStringLiteral("resize");
    case ID_ROTATE: return QStringLiteral("rotate");
    case ID_CROP_FREE: return QStringLiteral("crop");
    case ID_SHARPEN: return QStringLiteral("sharpen");
    case ID_RED_EYES: return QStringLiteral("redeye");
    case ID_FILE_PRINT: return QStringLiteral("print");
    default: return {};
    }
}

QString ToolbarIcons::Folder(const QString& programFolder)
{
    // Dark windows get the light-inked set.
    const bool dark = QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
    return QDir(platform::shippedFolder(platform::Shipped::Graphics, programFolder))
        .filePath(dark ? QStringLiteral("lumivex/dark") : QStringLiteral("lumivex/light"));
}

QIcon ToolbarIcons::Icon(int id, const QString& programFolder)
{
    const QString name = Name(id);
    return name.isEmpty() ? QIcon() : Picture(name, programFolder);
}

QIcon ToolbarIcons::Picture(const QString& name, const QString& programFolder)
{
    const QDir folder(Folder(programFolder));
    QIcon icon;
    icon.addFile(folder.filePath(name + QStringLiteral(".png")), QSize(Size, Size));
    icon.addFile(folder.filePath(name + QStringLiteral("@2x.png")), QSize(2 * Size, 2 * Size));
    return icon;
}

QIcon ToolbarIcons::ProgramIcon(const QString& programFolder)
{
    const QDir folder(platform::shippedFolder(platform::Shipped::Graphics, programFolder));
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(folder.filePath(QStringLiteral("lumivex-%1.png").arg(size)), QSize(size, size));
    return icon;
}
