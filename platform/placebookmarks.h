// SPDX-License-Identifier: GPL-2.0-or-later
// The places that file managers and file dialogs list beside the folders: GTK's bookmarks
// file (GNOME Files, Nemo, Caja, Thunar and the Qt and GTK file dialogs read it) and KDE's
// user-places.xbel where it exists. Albums are put there by name, renamed and removed with
// the album.
#pragma once

#include <QString>
#include <QUrl>

namespace platform {

class PlaceBookmarks {
public:
    // The current user's files: $XDG_CONFIG_HOME/gtk-3.0/bookmarks, $XDG_DATA_HOME/user-places.xbel.
    PlaceBookmarks();
    PlaceBookmarks(QString gtkFile, QString kdeFile);

    // Adds the place under its name, or points the place of that name at target; KDE's list is
    // changed only when it exists (KDE makes it with its defaults). The icon is an icon
    // theme's name. False when the GTK list could not be written.
    bool add(const QString& name, const QUrl& target, const QString& icon);
    // Renames the places called oldName; true when there was one and it now has newName.
    bool rename(const QString& oldName, const QString& newName);
    // Removes the places called name; true when there was one.
    bool remove(const QString& name);
    // The target of the GTK place called name; empty when there is none.
    QUrl target(const QString& name) const;

private:
    QString m_gtkFile;
    QString m_kdeFile;
};

} // namespace platform
