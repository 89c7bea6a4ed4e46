// SPDX-License-Identifier: GPL-2.0-or-later
// RemoteFolders: making a folder path on the server, removing a folder with everything in it,
// and telling whether a folder holds anything; each step with the connection's retries.
// Paths are absolute ("/a/b") or relative to the connection's current folder, "/" separated.
#pragma once

#include <QString>

class CMyFtpConnection;

namespace RemoteFolders
{

// Deeper folders than this are not removed: a server whose listing loops (a link to a folder
// above) would otherwise never let the removal end.
inline constexpr int MaxRemoveDepth = 64;

// Creates every missing folder of path in turn. On failure message is the server's last reply
// text, or "Unknown error ... Failed to create folder" with path when it gave none.
bool CreatePath(CMyFtpConnection& connection, const QString& path, QString& message);
// Makes the folder name inside parent unless it is there already (one listing of parent).
bool CreateChild(CMyFtpConnection& connection, const QString& parent, const QString& name,
                 QString& message);
// Removes every file and sub-folder of path, then path itself.
bool RemoveTree(CMyFtpConnection& connection, const QString& path);
// True when path lists any entry besides "." and "..".
bool HasEntries(CMyFtpConnection& connection, const QString& path);

// "a/b" + "c" = "a/b/c"; the root "/" gives "/c", an empty folder (the current one) "c".
QString Join(const QString& folder, const QString& name);

} // namespace RemoteFolders
