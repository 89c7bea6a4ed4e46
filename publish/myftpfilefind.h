// SPDX-License-Identifier: GPL-2.0-or-later
// MyCFtpFileFind: walks the entries of a remote folder, fetched from the server on every
// FindFile (never from a cache), with the connection's retries.
#pragma once

#include <vector>

#include <QString>

#include "platform/ftpclient.h"

class CMyFtpConnection;

class MyCFtpFileFind {
public:
    explicit MyCFtpFileFind(CMyFtpConnection& connection);

    // pattern is "folder/*" (every entry), "folder/*.jpg" (names matching the wildcards "*"
    // and "?") or "folder/name" (that one entry). False with error 18 when nothing matches
    // (an empty folder is not logged); false with the failure's code when the folder could
    // not be listed. The first match is current after a success.
    bool FindFile(const QString& pattern);
    // Moves to the next match; false with 18 after the last one.
    bool FindNextFile();

    // The current entry's name: the part after the last "/" (or, without one, the last "\").
    QString GetFileName() const;
    // The folder searched + "/" + the name.
    QString GetFilePath() const;
    bool IsDirectory() const;
    bool IsDots() const;
    // 0 after a success, else the failure's code (18: no more files).
    int LastError() const;

private:
    const FtpEntry* Current() const;

    CMyFtpConnection& m_connection; // its retries and retry delay are the finder's
    QString m_folder;
    std::vector<FtpEntry> m_matches;
    int m_index = -1;
    int m_lastError = 0;
};
