// SPDX-License-Identifier: GPL-2.0-or-later
// CAlbumWriter: puts the album's files into its destination, only through the host: pages
// through its write streams, theme files and the user's files through its copies.
#pragma once

#include <QString>

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

private:
    IGallivex& m_host;
};
