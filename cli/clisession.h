// SPDX-License-Identifier: GPL-2.0-or-later
// CliSession: what every gallivex-cli command that works on albums needs: the host object
// with its album and plug-ins, the terminal's prompter and progress, and project files opened
// with a clear word for everything that can go wrong.
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "album/projectfile.h"
#include "cli/cliprompter.h"
#include "platform/choosers.h"
#include "plugins/gallivex_impl.h"

class CliArguments;

class CliSession
{
public:
    // Reads "--plugins FOLDER" (repeatable) and "--yes" from the command's arguments.
    explicit CliSession(const CliArguments& arguments);
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Long operations of the album show their progress on the terminal from now on.
    void showProgress();
    // Lists the plug-ins; false, after saying so, when that fails.
    bool start();
    // Opens a project file into the album; false, after saying why, when it cannot be read or
    // its plug-in or theme is not installed.
    bool openProject(const QString& path);
    // Saves the album to its project file; false, after saying why, on failure.
    bool save();

    CGallivexImpl& host() { return m_host; }
    AlbumProject& album() { return m_host.Album(); }
    CliPrompter& prompter() { return m_prompter; }
    ProjectFile& projectFile() { return m_projectFile; }

    // The path made absolute and clean, as the album stores paths.
    static QString absolutePath(const QString& path);

private:
    CGallivexImpl m_host;
    CliPrompter m_prompter;
    NoChoosers m_choosers;
    ProjectFile m_projectFile;
};

// Writes "gallivex-cli: text" to the error stream and gives the exit code of a failure.
int cliFail(const QString& text);
// Writes "gallivex-cli: warning: text" to the error stream.
void cliWarn(const QString& text);
// Writes text and a line break to the output stream.
void cliPrint(const QString& text);
