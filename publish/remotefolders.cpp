// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/remotefolders.h"

#include <vector>

#include <QStringList>

#include "platform/ftpclient.h"
#include "platform/stringtable.h"
#include "publish/myftpconnection.h"
#include "publish/myftpfilefind.h"

namespace RemoteFolders
{
namespace
{

struct Listed {
    QString name;
    bool folder = false;
};

// The entries of folder besides "." and ".."; false when it could not be listed (an empty
// folder lists fine).
bool listFolder(CMyFtpConnection& connection, const QString& folder, std::vector<Listed>& out)
{
    MyCFtpFileFind find(connection);
    bool more = find.FindFile(Join(folder, QStringLiteral("*")));
    for (; more; more = find.FindNextFile()) {
        if (!find.IsDots())
            out.push_back({find.GetFileName(), find.IsDirectory()});
    }
    return find.LastError() == FtpError::NoMoreFiles;
}

bool hasFolder(CMyFtpConnection& connection, const QString& folder, const QString& name)
{
    std::vector<Listed> entries;
    listFolder(connection, folder, entries);
    for (const Listed& entry : entries) {
        if (entry.folder && entry.name == name)
            return true;
    }
    return false;
}

// Some servers leave dot-names out of listings: such a folder exists when we can go into it.
bool canEnter(CMyFtpConnection& connection, const QString& path)
{
    QString current;
    if (!connection.GetCurrentDirectory(current) || !connection.SetCurrentDirectory(path))
        return false;
    connection.SetCurrentDirectory(current);
    return true;
}

// The components of path ("." dropped); false when one of them would climb out of it.
bool componentsOf(const QString& path, QStringList& parts)
{
    QString plain = path;
    plain.replace(u'\\', u'/');
    parts = plain.split(u'/', Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    return !parts.contains(QStringLiteral(".."));
}

QString failureText(const CMyFtpConnection& connection, const QString& path)
{
    // The last reply tells why only when the server refused; after a time-out or a reset
    // it is some earlier, good one.
    const FtpError& error = connection.LastError();
    if (error.code == FtpError::ExtendedError && !error.replyText.trimmed().isEmpty())
        return error.replyText.trimmed();
    return loadString(IDS_CREATE_FOLDER_UNKNOWN).replace(QStringLiteral("%s"), path);
}

// A name from a listing that can be addressed inside its folder.
bool isPlainEntry(const QString& name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(u'\\');
}

bool removeBelow(CMyFtpConnection& connection, const QString& path, int depth)
{
    std::vector<Listed> entries;
    if (depth > MaxRemoveDepth || !listFolder(connection, path, entries))
        return false;
    for (const Listed& entry : entries) {
        if (!isPlainEntry(entry.name))
            return false;
        const QString inside = Join(path, entry.name);
        const bool removed = entry.folder ? removeBelow(connection, inside, depth + 1) &&
                                                connection.RemoveDirectory(inside)
                                          : connection.Remove(inside);
        if (!removed)
            return false;
    }
    return true;
}

} // namespace

QString Join(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

bool CreateChild(CMyFtpConnection& connection, const QString& parent, const QString& name,
                 QString& message)
{
    if (hasFolder(connection, parent, name))
        return true;
    const QString path = Join(parent, name);
    if (connection.CreateDirectory(path))
        return true;
    const QString why = failureText(connection, path);
    if (canEnter(connection, path))
        return true;
    message = why;
    return false;
}

bool CreatePath(CMyFtpConnection& connection, const QString& path, QString& message)
{
    QStringList parts;
    if (!componentsOf(path, parts)) {
        message = loadString(IDS_CREATE_FOLDER_UNKNOWN).replace(QStringLiteral("%s"), path);
        return false;
    }
    QString folder =
        path.startsWith(u'/') || path.startsWith(u'\\') ? QStringLiteral("/") : QString();
    for (const QString& part : parts) {
        if (!CreateChild(connection, folder, part, message))
            return false;
        folder = Join(folder, part);
    }
    return true;
}

bool RemoveTree(CMyFtpConnection& connection, const QString& path)
{
    // The top of the server, or the folder we happen to be in, is never what is meant.
    QStringList parts;
    if (!componentsOf(path, parts) || parts.isEmpty())
        return false;
    return removeBelow(connection, path, 0) && connection.RemoveDirectory(path);
}

bool HasEntries(CMyFtpConnection& connection, const QString& path)
{
    std::vector<Listed> entries;
    listFolder(connection, path, entries);
    return !entries.empty();
}

} // namespace RemoteFolders
