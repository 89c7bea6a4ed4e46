// SPDX-License-Identifier: GPL-2.0-or-later
// Real album project files for the album manager's tests, written by the program's own
// project-file code over the test plug-ins.
#pragma once

#include <QDateTime>
#include <QString>

struct AlbumFile {
    QString name;          // the album name
    QString destination;   // "" for an album never generated
    int photos = 0;        // real photos beside the project
    bool thumbnail = true; // a thumbnail file beside the project
    qint64 age = 0;        // seconds before now of the file's last write
    bool favorite = false; // put into the Favorites under its name when generated
};

// Writes folder/fileTitle.gvp over the plug-ins in pluginFolder; returns its path.
QString writeAlbum(const QString& folder, const QString& fileTitle, const AlbumFile& album,
                   const std::string& pluginFolder);
// A file with the project extension that no reader accepts.
QString writeCorruptAlbum(const QString& folder, const QString& fileTitle, qint64 age);
