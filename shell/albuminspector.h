// SPDX-License-Identifier: GPL-2.0-or-later
// AlbumInspector: what the album manager does with saved albums other than the one being
// edited. Each album is read into a short-lived host object of its own, over the same
// plug-in folders as the program's album, and without any question to the user, so that it
// can run on the loader thread too.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "album/albumsummary.h"
#include "sdk/resultcode.h"

class AlbumProject;
class CGallivexImpl;
class Settings;

class AlbumInspector
{
public:
    AlbumInspector(std::vector<std::string> pluginFolders, int thumbnailSide);

    // The album's summary, or nothing when the project cannot be read.
    std::optional<AlbumSummary> ReadSummary(const QString& path) const;
    // Gives the album a new name and title and saves it; a Favorites shortcut named after
    // oldName in favoritesFolder and the bookmarked place of that name follow the album. 0 or
    // the failure's code; an album whose plug-in or theme is missing is never rewritten.
    ResultCode Rename(const QString& path, const QString& oldName, const QString& newName,
                      const QString& favoritesFolder) const;
    // Has the album's plug-in show the generated album: the plug-in's answer, or
    // GV_E_READFILE when the project cannot be read, GV_E_PLUGINNOTINSTALLED without a
    // plug-in object.
    int32_t View(const QString& path) const;
    // The album's photo paths; nothing when the project cannot be read.
    std::optional<QStringList> ImagePaths(const QString& path) const;

    // Deletes a project file and its thumbnail; false when the project stays.
    static bool DeleteProject(const QString& path);
    // Removes a deleted album's shortcut from favoritesFolder and its bookmarked place.
    static void ForgetFavorite(const QString& favoritesName, const QString& favoritesFolder);
    // The folder of the album shortcuts: ~/Favorites and the "FavoritesPath" setting.
    static QString FavoritesFolder(const Settings& settings);
    // The three lines of an album's info tip.
    static QString InfoTip(const QString& title, const AlbumSummary& summary);

private:
    bool load(CGallivexImpl& host, const QString& path) const;

    std::vector<std::string> m_pluginFolders;
    int m_thumbnailSide;
};
