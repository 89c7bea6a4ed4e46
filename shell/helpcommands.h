// SPDX-License-Identifier: GPL-2.0-or-later
// HelpCommands: what the help menu and F1 do: the help page of the active wizard step, the
// maker's web pages and the support mail. Pages open in the user's browser; a missing page
// or a browser that cannot be started falls back to the next address in line.
#pragma once

#include <functional>

#include <QString>
#include <QUrl>

class HelpCommands
{
public:
    // Opens an address; false when it could not be opened.
    using Opener = std::function<bool(const QUrl&)>;

    // Opens with the desktop's default application.
    HelpCommands(QString programFolder);
    HelpCommands(QString programFolder, Opener opener);

    // "::/wizard/welcome.html" ... "::/wizard/final.html" for page indexes 0 to 6; "" else.
    static QString HelpTopic(int pageIndex);
    // The help page of a topic, below "gv" in the help folder the program comes with.
    QString HelpFile(const QString& topic) const;

    // Help Contents and F1: the step's help page, else "Online Help.url", else the maker's
    // help pages.
    bool ShowContents(int pageIndex) const;
    // A dialog's own help page ("::/wizard/publish.html"), else as ShowContents would.
    bool ShowTopic(const QString& topic) const;
    // A local file in the desktop's application for it (a log for the user to read).
    bool OpenFile(const QString& path) const;
    bool ShowWhatsNew() const;
    // "Support.url", else the maker's support page.
    bool ShowOnlineSupport() const;
    // A new mail to the support mailbox with the product and version as its subject.
    bool SendSupportMail() const;
    // "themes.url", else the maker's themes page.
    bool ShowThemesPage() const;

    // The address a web shortcut file (an "[InternetShortcut]" file with a "URL=" line)
    // points at; empty when the file is missing or names none.
    static QUrl ShortcutTarget(const QString& path);
    static QUrl SupportMailUrl();

private:
    bool openShortcut(const QString& fileName) const;
    bool openWeb(int addressId) const;

    QString m_programFolder;
    Opener m_open;
};
