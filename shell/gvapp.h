// SPDX-License-Identifier: GPL-2.0-or-later
// CGVApp: the album builder's application. It owns the host object, and with it the album,
// for the whole run, prepares the user's settings, lists the plug-ins, serves the skin and the
// page shortcuts, and decides from the command line whether to install a theme or to open the
// wizard.
#pragma once

#include <QString>
#include <QStringList>

#include "album/albumproject.h"
#include "platform/settings.h"
#include "plugins/gallivex_impl.h"
#include "shell/commandline.h"
#include "shell/pageaccelerators.h"
#include "shell/skin.h"

class Prompter;
class QWidget;

class CGVApp {
public:
    enum class Start {
        RunWizard,     // show the wizard (with AlbumToOpen() when one was named)
        InstallTheme,  // a theme package went to the setup program; end without a wizard
        Failed,        // the plug-ins could not be listed; the user was told; end
    };

    static constexpr int ProgramVersion = 65539; // 0x10003, written at every start
    static constexpr int ThumbnailSize = 128;

    CGVApp(Prompter& prompter, QString programFolder);
    CGVApp(const CGVApp&) = delete;
    CGVApp& operator=(const CGVApp&) = delete;
    ~CGVApp();

    // The start-up, given the arguments after the program name.
    Start InitInstance(const QStringList& arguments);
    // Releases the plug-ins and the album's photos at the end of the run.
    void ExitInstance();

    // Copies the installer's machine-wide settings to the user on the first run.
    static void SeedUserSettings();

    // The host object that plug-ins are handed, and the album it holds.
    CGallivexImpl& Host() { return m_host; }
    AlbumProject& Album() { return m_host.Album(); }
    // From now on long operations of the album show the progress window over mainWindow.
    void UseProgressWindows(QWidget* mainWindow);
    // Gives the controls the skin's pictures and colours.
    void InstallSkin();
    Prompter& GetPrompter() { return m_prompter; }
    Skin& GetSkin() { return m_skin; }
    Settings& GetSettings() { return m_settings; }
    int32_t GetSkinColor(int index) { return m_skin.GetSkinColor(index); }
    int AcceleratorTableOf(int pageIndex) const;
    const CommandLineInfo& CommandLine() const { return m_commandLine; }
    QString AlbumToOpen() const;
    int ThumbnailSide() const { return m_thumbnailSize; }
    QString ProgramFolder() const { return m_programFolder; }

private:
    bool handOverTheme(const QString& fileName);

    Prompter& m_prompter;
    QString m_programFolder;
    Settings m_settings;
    Skin m_skin;
    CGallivexImpl m_host;
    PageAccelerators m_accelerators{};
    CommandLineInfo m_commandLine;
    int m_thumbnailSize = 0;
};
