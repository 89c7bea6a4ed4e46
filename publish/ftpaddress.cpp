// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/ftpaddress.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

namespace {

std::optional<FtpOptions::Protocol> protocolOf(const QString& scheme)
{
    if (scheme == QLatin1String("ftp"))
        return FtpOptions::Protocol::Ftp;
    if (scheme == QLatin1String("ftps"))
        return FtpOptions::Protocol::Ftps;
    if (scheme == QLatin1String("sftp"))
        return FtpOptions::Protocol::Sftp;
    return std::nullopt;
}

QString schemeOf(FtpOptions::Protocol protocol)
{
    switch (protocol) {
    case FtpOptions::Protocol::Ftps:
        return QStringLiteral("ftps");
    case FtpOptions::Protocol::Sftp:
        return QStringLiteral("sftp");
    case FtpOptions::Protocol::Ftp:
        break;
    }
    return QStringLiteral("ftp");
}

// A carriage return or line feed would end the FTP command a name is sent in.
bool hasControlCharacters(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

// "/a/./b/../c" -> "/a/c"; null when ".." climbs above the top. Both "/" and "\" separate.
std::optional<QString> normalisedFolder(const QString& path)
{
    QStringList parts;
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    for (const QString& part : path.split(separators, Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (parts.isEmpty())
                return std::nullopt;
            parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    return QLatin1Char('/') + parts.join(QLatin1Char('/'));
}

std::optional<FtpAddress> fromUrl(const QUrl& url)
{
    const auto protocol = protocolOf(url.scheme().toLower());
    if (!url.isValid() || !protocol)
        return std::nullopt;
    FtpAddress address;
    address.protocol = *protocol;
    address.host = url.host(QUrl::FullyDecoded);
    address.user = url.userName(QUrl::FullyDecoded);
    address.password = url.password(QUrl::FullyDecoded);
    const QString path = url.path(QUrl::FullyDecoded);
    if (address.host.isEmpty() || url.port() == 0 || url.port() > 65535 ||
        hasControlCharacters(address.host + address.user + address.password + path))
        return std::nullopt;
    address.port = url.port() > 0 ? static_cast<uint16_t>(url.port()) : 0;
    const auto folder = normalisedFolder(path);
    if (!folder)
        return std::nullopt;
    address.folder = *folder;
    return address;
}

} // namespace

std::optional<FtpAddress> FtpAddress::Parse(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const QUrl url(trimmed);
    if (protocolOf(url.scheme().toLower()) && url.isValid() && !url.host().isEmpty())
        return fromUrl(url);
    // "host/folder" or "host:port/folder" read as a scheme of their own; another scheme's
    // "name://" would give a host with an empty port, which is no address at all.
    static const QRegularExpression emptyPort(QStringLiteral("^[^/]*:(//|/?$)"));
    if (emptyPort.match(trimmed).hasMatch())
        return std::nullopt;
    return fromUrl(QUrl(QStringLiteral("ftp://") + trimmed));
}

QString FtpAddress::ToText() const
{
    QUrl url;
    url.setScheme(schemeOf(protocol));
    url.setHost(host);
    if (port != 0)
        url.setPort(port);
    url.setPath(folder.isEmpty() ? QStringLiteral("/") : folder);
    return url.toString(QUrl::FullyEncoded);
}
