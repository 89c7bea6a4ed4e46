// SPDX-License-Identifier: GPL-2.0-or-later
// CAlbumWriter: puts the album's files into its destination, only through the host: pages
// through its write streams, theme files and the user's files through its copies. A file whose
// bytes are already there is left alone, so its time stays and a publish sends nothing new.
// It keeps the list of the album's files for the album's manifest.
#pragma once

#include <map>

#include <QByteArray>
#include <QString>

#include "outputs/html/albummanifest.h"
#include "sdk/igallivex.h"

class CAlbumWriter
{
public:
    explicit CAlbumWriter(IGallivex& host) : m_host(host) {}

    // Writes text as UTF-8. A file that could not be written whole is removed again, so a
    // full disk never leaves half a page behind. GV_OK or GV_E_WRITEFILE/GV_E_CREATEFILE.
    ResultCode writeText(const QString& relative, const QString& text);
    // Copies any file into the album (overwriting). GV_OK or GV_E_CREATEFILE.
    ResultCode copy(const QString& source, const QString& relative);
    // The full path of a file of the album, "" when it would lie outside.
    QString fullPath(const QString& relative);

    // Counts a file made by others (pictures) as the album's; known holds what is already
    // known of it (a size of -1: nothing, it is looked at when the list is made).
    void claim(const QString& relative, const CAlbumManifest::File& known = {});
    // The album's files as claimed so far, each with its size and hash; files that are no
    // longer there are left out.
    std::map<QString, CAlbumManifest::File> files();
    // How many files this writer wrote or copied rather than found already in place.
    int changedFiles() const { return m_changed; }

private:
    IGallivex& m_host;
    std::map<QString, CAlbumManifest::File> m_claimed;
    int m_changed = 0;
};
