// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ftppath.h"

#include <QStringList>
#include <QUrl>

QString FtpPath::absolute(const QString& current, const QString& path)
{
    QString text = path;
    text.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!text.startsWith(QLatin1Char('/')))
        text = current + QLatin1Char('/') + text;
    QStringList parts;
    for (const QString& part : text.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    return QLatin1Char('/') + parts.join(QLatin1Char('/'));
}

bool FtpPath::sendable(const QString& path)
{
    return !path.contains(QLatin1Char('\r')) && !path.contains(QLatin1Char('\n'))
           && !path.contains(QChar(0));
}

QString FtpPath::parent(const QString& absolutePath)
{
    const qsizetype slash = absolutePath.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : absolutePath.left(slash);
}

QByteArray FtpPath::url(FtpOptions::Protocol protocol, const QString& host, uint16_t port,
                        const QString& absolutePath, bool folder)
{
    const bool sftp = protocol == FtpOptions::Protocol::Sftp;
    QByteArray url = sftp ? "sftp://" : "ftp://";
    const QByteArray name = QUrl::toAce(host).isEmpty() ? host.toUtf8() : QUrl::toAce(host);
    url += host.contains(QLatin1Char(':')) ? "[" + name + "]" : name;
    url += ":" + QByteArray::number(port ? port : (sftp ? 22 : 21));
    // FTP URL paths are relative to the login folder; "%2F" makes them start at the root.
    // SFTP URL paths are absolute already.
    url += sftp ? "" : "/%2F";
    QByteArray path;
    for (const QString& part : absolutePath.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        path += "/" + QUrl::toPercentEncoding(part);
    // The root is "%2F" alone for FTP (a folder, as it ends in "/" once decoded).
    if (sftp && path.isEmpty())
        path = "/";
    else if (folder && !path.isEmpty())
        path += "/";
    return url + path;
}

QByteArray FtpPath::quotedForSftp(const QString& absolutePath)
{
    QByteArray text = absolutePath.toUtf8();
    text.replace("\\", "\\\\");
    text.replace("\"", "\\\"");
    return "\"" + text + "\"";
}
