// SPDX-License-Identifier: GPL-2.0-or-later
// ToolbarIcons: the toolbar's pictures by command and the dialogs' by name, drawn at build
// time into the graphics folder at 1x and 2x, in the set that suits the palette's light or
// dark windows. The graphics folder is the one that comes with the program in programFolder.
#pragma once

#include <QIcon>
#include <QString>

class ToolbarIcons
{
public:
    static constexpr int Size = 32;
    // The Redo picture the Undo button swaps to; not a command of its own.
    static constexpr int RedoIcon = -1;

    // The picture of a command; an empty icon for commands without one.
    static QIcon Icon(int id, const QString& programFolder);
    // A picture of the set by its file name without folder and suffix ("width", "height"
    // of the resize dialog); an icon without files when the set has no such picture.
    static QIcon Picture(const QString& name, const QString& programFolder);
    // The picture's file name without folder and suffix ("" when none).
    static QString Name(int id);
    // The folder of the set for the application's current palette.
    static QString Folder(const QString& programFolder);
    // The program's icon at every size drawn.
    static QIcon ProgramIcon(const QString& programFolder);
};
