// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/helpcommands.h"

#include <array>

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrlQuery>

#include "platform/paths.h"
#include "platform/stringtable.h"

namespace
{

constexpr std::array<const char*, 7> Topics = {
    "::/wizard/welcome.html",      "::/wizard/modify.html",     "::/wizard/selecttheme.html",
    "::/wizard/selectimages.html", "::/wizard/setaparams.html", "::/wizard/generate.html",
    "::/wizard/final.html"};

} // namespace

HelpCommands::HelpCommands(QString programFolder)
    : HelpCommands(std::move(programFolder),
                   [](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
}

HelpCommands::HelpCommands(QString programFolder, Opener opener)
    : m_programFolder(std::move(programFolder)), m_open(std::move(opener))
{
}

QString HelpCommands::HelpTopic(int pageIndex)
{
    if (pageIndex < 0 || pageIndex >= static_cast<int>(Topics.size()))
        return QString();
    return QString::fromLatin1(Topics[static_cast<size_t>(pageIndex)]);
}

QString HelpCommands::HelpFile(const QString& topic) const
{
    QString relative = topic;
    relative.remove(0, relative.indexOf(QLatin1Char('/')) + 1); // the help file's own part
    return QDir(platform::shippedFolder(platform::Shipped::Help, m_programFolder))
        .filePath(QStringLiteral("gv/") + relative);
}

bool HelpCommands::ShowContents(int pageIndex) const
{
    const QString topic = HelpTopic(pageIndex);
    if (!topic.isEmpty()) {
        const QString file = HelpFile(topic);
        if (QFileInfo::exists(file) && m_open(QUrl::fromLocalFile(file)))
            return true;
    }
    return openShortcut(QStringLiteral("Online Help.url")) || openWeb(IDS_WEB_HELP);
}

bool HelpCommands::ShowTopic(const QString& topic) const
{
    const QString file = HelpFile(topic);
    if (QFileInfo::exists(file) && m_open(QUrl::fromLocalFile(file)))
        return true;
    return openShortcut(QStringLiteral("Online Help.url")) || openWeb(IDS_WEB_HELP);
}

bool HelpCommands::OpenFile(const QString& path) const
{
    return QFileInfo::exists(path) && m_open(QUrl::fromLocalFile(path));
}

bool HelpCommands::ShowWhatsNew() const
{
    return openWeb(IDS_WEB_WHATS_NEW);
}

bool HelpCommands::ShowOnlineSupport() const
{
    return openShortcut(QStringLiteral("Support.url")) || openWeb(IDS_WEB_SUPPORT);
}

bool HelpCommands::ShowThemesPage() const
{
    return openShortcut(QStringLiteral("themes.url")) || openWeb(IDS_WEB_THEMES);
}

bool HelpCommands::SendSupportMail() const
{
    return m_open(SupportMailUrl());
}

QUrl HelpCommands::SupportMailUrl()
{
    QUrl url(QStringLiteral("mailto:") + loadString(IDS_SUPPORT_MAILBOX));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), loadString(IDS_SUPPORT_MAIL_SUBJECT));
    url.setQuery(query);
    return url;
}

QUrl HelpCommands::ShortcutTarget(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QUrl();
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1String("URL="), Qt::CaseInsensitive))
            return QUrl(line.mid(4).trimmed());
    }
    return QUrl();
}

bool HelpCommands::openShortcut(const QString& fileName) const
{
    // A web shortcut file is an address in a text file; the browser gets the address.
    const QUrl target = ShortcutTarget(
        QDir(platform::shippedFolder(platform::Shipped::Links, m_programFolder)).filePath(fileName));
    return target.isValid() && !target.isEmpty() && m_open(target);
}

bool HelpCommands::openWeb(int addressId) const
{
    return m_open(QUrl(loadString(addressId)));
}
