// SPDX-License-Identifier: GPL-2.0-or-later
// COpenAlbum: the album manager page. It lists the saved albums, newest first, with their
// thumbnails, and opens, views, renames, deletes, prints and describes them, or opens a
// project file from anywhere. A loader thread reads the listed albums in the background; the
// page holds it whenever it changes the list or reads an album itself.
#pragma once

#include <functional>
#include <optional>

#include <QIcon>

#include "shell/albuminspector.h"
#include "shell/albumlist.h"
#include "shell/albumloader.h"
#include "shell/basepage.h"

class CAlbumProp;
class CGVApp;
class Choosers;
class QAbstractButton;
class QListWidget;
class QListWidgetItem;
class QMenu;

class COpenAlbum : public CBasePage
{
    Q_OBJECT
public:
    static constexpr int PageIndex = 1;
    static constexpr int ThemePage = 2;
    enum Command {
        ID_OPEN = 32773,
        ID_VIEW = 32774,
        ID_PROPERTIES = 32775,
        ID_RENAME = 32776,
        ID_DELETE = 32777,
        ID_CONTEXT_MENU = 32779,
        ID_PRINT = 1157,
        IDC_FIND = 1026,
        IDC_DELETE = 1084,
    };

    COpenAlbum(CGVApp& app, Choosers& choosers, QWidget* parent = nullptr);
    ~COpenAlbum() override;

    bool OnSetActive() override;
    bool OnKillActive() override;
    int OnWizardNext() override;
    bool OnCommand(int command) override;

    QListWidget& Albums() { return *m_albums; }
    AlbumList& List() { return m_list; }
    CAlbumLoader& Loader() { return m_loader; }
    QAbstractButton* Button(int command) const;
    // The print program's folder; "" when it is not installed.
    const QString& PrintFolder() const { return m_printFolder; }
    // The context menu of the selected album, its actions carrying their commands.
    QMenu* BuildContextMenu();
    // How the properties dialog is shown; modally unless replaced.
    void SetPropertiesDialog(std::function<void(CAlbumProp&)> show)
    {
        m_showProps = std::move(show);
    }
    void SetFavoritesFolder(const QString& folder) { m_favoritesFolder = folder; }

    // The commands, as the buttons, keys and menu run them.
    bool OpenSelected();
    void FindAlbum();
    void DeleteSelected();
    void ShowProperties();
    void ViewSelected();
    void PrintSelected();
    void RenameSelected();

    // The print program's folder from the "Program path" of its settings; "" when none.
    static QString PrintProgramFolder();

protected:
    void PlaceControls() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillList();
    void clearList();
    QListWidgetItem* itemOf(quint64 id) const;
    void showEntry(QListWidgetItem& item, const AlbumEntry& entry);
    std::optional<AlbumEntry> selectedEntry() const;
    bool openProject(const QString& path);
    void onLoaded(quint64 id);
    void onRemoved(quint64 id);
    void onLabelEdited(QListWidgetItem* item);
    void onDoubleClick(const QPoint& position);
    void runMenu(const QPoint& globalPosition);
    QAbstractButton* makeButton(int pictureId, int textId, int command);
    AlbumInspector inspector() const;
    QString favoritesFolder() const;
    bool writePrintList(const QStringList& photos, QString& listPath) const;

    CGVApp& m_app;
    Choosers& m_choosers;
    AlbumList m_list;
    CAlbumLoader m_loader;
    QListWidget* m_albums;
    QAbstractButton* m_open;
    QAbstractButton* m_view;
    QAbstractButton* m_rename;
    QAbstractButton* m_property;
    QAbstractButton* m_print;
    QAbstractButton* m_find;
    QAbstractButton* m_delete;
    QIcon m_appIcon;
    QString m_printFolder;
    QString m_favoritesFolder;
    std::function<void(CAlbumProp&)> m_showProps;
    bool m_showing = false; // the page itself sets an item's text
};
