// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ftppath.h"

#include <cctype>

#include <QByteArrayList>
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
    return !path.contains(QLatin1Char('\r')) && !path.contains(QLatin1Char('\n')) &&
           !path.contains(QChar(0));
}

namespace
{

// The host as it goes into a URL: an IPv6 address as it is (its brackets added later), a
// name in its ASCII form; empty when it is neither.
QByteArray urlHost(const QString& host)
{
    if (host.contains(QLatin1Char(':'))) {
        for (QChar c : host)
            if (!std::isxdigit(static_cast<unsigned char>(c.toLatin1())) && c != QLatin1Char(':') &&
                c != QLatin1Char('.'))
                return {};
        return host.toLatin1();
    }
    const QByteArray name = QUrl::toAce(host);
    for (char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '_')
            return {};
    return name;
}

} // namespace

bool FtpPath::usableHost(const QString& host)
{
    return !urlHost(host).isEmpty();
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
    const QByteArray name = urlHost(host);
    url += host.contains(QLatin1Char(':')) ? "[" + name + "]" : name;
    url += ":" + QByteArray::number(port ? port : (sftp ? 22 : 21));
    QByteArrayList parts;
    for (const QString& part : absolutePath.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        parts.append(QUrl::toPercentEncoding(part));
    // FTP URL paths are relative to the login folder; "%2F" makes them start at the root
    // (the root itself is "%2F" alone, a folder as it ends in "/" once decoded). SFTP URL
    // paths are absolute already.
    QByteArray path = (sftp ? "/" : "/%2F") + parts.join('/');
    if (folder && !parts.isEmpty())
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
