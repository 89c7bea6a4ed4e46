// SPDX-License-Identifier: GPL-2.0-or-later
// CLumivexApp: the photo editor's application state: its own settings, the command line it
// was started with, the recent-files list, the help pages and the link back to the album
// builder that started it.
#pragma once

#include <cstdint>

#include <QString>
#include <QStringList>

#include "enhancer/lumivexdoc.h"
#include "enhancer/mycmdlineinfo.h"
#include "platform/settings.h"

class Prompter;

class CLumivexApp
{
public:
    static constexpr int MaxRecentFiles = 4;
    static constexpr uint32_t WM_IMAGE_SAVED = 33101;

    explicit CLumivexApp(QString programFolder);

    CLumivexDoc& Document() { return m_doc; }
    const CLumivexDoc& Document() const { return m_doc; }
    Settings& AppSettings() { return m_settings; }
    const CMyCmdLineInfo& CommandLine() const { return m_cmdLine; }
    QString ProgramFolder() const { return m_programFolder; }

    // Parses the command line and opens what it names: the list (list mode) or the single
    // photo. Problems of the list file are told through prompter. False when a photo was
    // named and none of them opened.
    bool InitInstance(const QStringList& params, Prompter& prompter);

    // The four most recent files, newest first, kept in the editor's own settings.
    QStringList RecentFiles() const;
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);

    // The editor's help page for a topic ("index.html"), below "lumivex" in the help folder.
    QString HelpFile(const QString& page = QStringLiteral("index.html")) const;

    // Tells the album builder that started the editor that a photo was saved; false when
    // there is none or it no longer listens.
    bool NotifyImageSaved() const;

private:
    void WriteRecentFiles(const QStringList& files);

    QString m_programFolder;
    Settings m_settings;
    CMyCmdLineInfo m_cmdLine;
    CLumivexDoc m_doc;
};
