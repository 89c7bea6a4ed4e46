// SPDX-License-Identifier: GPL-2.0-or-later
// What the program was asked to do on its command line: open a file (an album project, or a
// theme package to install), or start with a new album. Switches start with '/' or '-'.
#pragma once

#include <QString>
#include <QStringList>

struct CommandLineInfo {
    enum ShellCommand { FileNew, FileOpen };

    ShellCommand command = FileNew;
    QString fileName;
    bool showSplash = true; // off with /nologo, /embedding or /automation

    // Parses the arguments after the program name.
    static CommandLineInfo parse(const QStringList& arguments);
    // True for a theme package: a name ending in ".thm" or ".td", in any case.
    static bool isThemeFile(const QString& fileName);
};
