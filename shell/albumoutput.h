// SPDX-License-Identifier: GPL-2.0-or-later
// AlbumOutput: what the generation page does without its window: generates the album into
// the destination (checking and emptying the folder first), saves it, puts a shortcut to it
// into the Favorites, has the plug-in show it when asked, and answers Next.
#pragma once

#include <functional>
#include <optional>

#include <QString>

#include "plugins/albumgenerator.h"
#include "plugins/destinationcheck.h"

class AlbumProject;
class CGVApp;
class Choosers;
class ProjectFile;

class AlbumOutput
{
public:
    AlbumOutput(CGVApp& app, Choosers& choosers);
    ~AlbumOutput();
    AlbumOutput(const AlbumOutput&) = delete;
    AlbumOutput& operator=(const AlbumOutput&) = delete;

    // The "File Deletion Warning" dialog; without one nothing is deleted.
    void SetDeletionWarning(CDestinationCheck::DeletionWarning warning)
    {
        m_warning = std::move(warning);
    }
    CDestinationCheck& Check() { return m_check; }
    // The album-name dialog shown when a new album is saved; without one it keeps its name.
    void SetAlbumNameDialog(std::function<std::optional<QString>(const QString&)> dialog);

    // Generate: 0 when the album was generated, -1 when a check stopped it, GV_E_FILENOTFOUND
    // when the folder could not be made, otherwise the plug-in's failure (GV_CANCELLED when
    // the user cancelled it).
    int Generate(const QString& destination, bool saveAtOnce, bool addFavorites);
    // What the page says after a Generate that gave result: empty where the user was already
    // told (a refused or missing folder).
    QString ResultText(int result) const;
    // Has the plug-in show the generated album; false (and the user is told) when it could not.
    bool View();
    // Next: asks to generate an album that was not generated (generate runs the page's
    // Generate), then saves a modified album. False to stay on the page.
    bool Next(bool saveAtOnce, const std::function<int()>& generate);
    // Saves a modified album without asking; false when saving failed (the user was told).
    bool SaveModified() { return m_generator.SaveIfModified(true) == GV_OK; }

    // Puts a Link shortcut named after the album into favoritesFolder (made when missing),
    // pointing at the generated album's start page; the album remembers the name. False when
    // no shortcut was made.
    static bool AddFavoritesShortcut(AlbumProject& album, const QString& favoritesFolder,
                                     const QString& iconFile);

private:
    CGVApp& m_app;
    std::unique_ptr<ProjectFile> m_projectFile;
    CDestinationCheck::DeletionWarning m_warning;
    CDestinationCheck m_check;
    CAlbumGenerator m_generator;
};
