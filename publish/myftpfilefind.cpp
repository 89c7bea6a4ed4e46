// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/myftpfilefind.h"

#include <QRegularExpression>

#include "publish/myftpconnection.h"

namespace {

// Splits "folder/pattern" at its last separator; "" for the folder means the current one.
void splitPattern(const QString& pattern, QString& folder, QString& name)
{
    qsizetype slash = pattern.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        slash = pattern.lastIndexOf(QLatin1Char('\\'));
    if (slash < 0) {
        folder.clear();
        name = pattern;
        return;
    }
    folder = slash == 0 ? QStringLiteral("/") : pattern.left(slash);
    name = pattern.mid(slash + 1);
}

bool hasWildcards(const QString& name)
{
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

} // namespace

MyCFtpFileFind::MyCFtpFileFind(CMyFtpConnection& connection)
    : m_connection(connection)
{
}

bool MyCFtpFileFind::FindFile(const QString& pattern)
{
    QString name;
    splitPattern(pattern, m_folder, name);
    m_matches.clear();
    m_index = -1;
    std::vector<FtpEntry> entries;
    const bool listed = m_connection.RunWithRetries(
        QStringLiteral("FindFile(%1)").arg(pattern),
        [&](FtpClient& client) {
            if (m_folder.isEmpty())
                m_folder = client.currentFolder();
            return client.list(m_folder, entries);
        },
        CMyFtpConnection::RetryLine::Plain, true);
    if (!listed) {
        m_lastError = m_connection.LastError().code;
        if (m_lastError == FtpError::None)
            m_lastError = FtpError::Unknown;
        return false;
    }
    const bool wildcards = hasWildcards(name);
    const QRegularExpression wildcard(
        QRegularExpression::wildcardToRegularExpression(wildcards ? name : QStringLiteral("*")));
    for (FtpEntry& entry : entries) {
        if (name.isEmpty() || (wildcards ? wildcard.match(entry.name).hasMatch()
                                         : entry.name == name))
            m_matches.push_back(std::move(entry));
    }
    return FindNextFile();
}

bool MyCFtpFileFind::FindNextFile()
{
    // The whole folder came with FindFile, so moving on needs no server.
    if (m_index + 1 >= static_cast<int>(m_matches.size())) {
        m_index = static_cast<int>(m_matches.size());
        m_lastError = FtpError::NoMoreFiles;
        return false;
    }
    ++m_index;
    m_lastError = FtpError::None;
    return true;
}

const FtpEntry* MyCFtpFileFind::Current() const
{
    if (m_index < 0 || m_index >= static_cast<int>(m_matches.size()))
        return nullptr;
    return &m_matches[static_cast<size_t>(m_index)];
}

QString MyCFtpFileFind::GetFileName() const
{
    const FtpEntry* entry = Current();
    if (!entry)
        return QString();
    qsizetype slash = entry->name.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        slash = entry->name.lastIndexOf(QLatin1Char('\\'));
    return entry->name.mid(slash + 1);
}

QString MyCFtpFileFind::GetFilePath() const
{
    const QString name = GetFileName();
    if (name.isEmpty())
        return QString();
    return m_folder.endsWith(QLatin1Char('/')) ? m_folder + name
                                               : m_folder + QLatin1Char('/') + name;
}

bool MyCFtpFileFind::IsDirectory() const
{
    const FtpEntry* entry = Current();
    return entry && entry->folder;
}

bool MyCFtpFileFind::IsDots() const
{
    const QString name = GetFileName();
    return name == QLatin1String(".") || name == QLatin1String("..");
}

int MyCFtpFileFind::LastError() const
{
    return m_lastError;
}
