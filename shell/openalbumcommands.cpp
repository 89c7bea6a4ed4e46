// SPDX-License-Identifier: GPL-2.0-or-later
// The album manager's commands on one album: rename, properties, view, print, and the
// context menu and keys that run them.
#include "shell/openalbum.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryFile>
#include <QTimer>

#include "platform/process.h"
#include "platform/prompter.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "shell/albumprop.h"
#include "shell/gvapp.h"
#include "shell/mypropertysheet.h"

namespace
{

constexpr int IdRole = Qt::UserRole + 1;

} // namespace

bool COpenAlbum::OnCommand(int command)
{
    switch (command) {
    case ID_OPEN:
        // After the key or click is done with, as a posted message would run.
        QTimer::singleShot(0, this, [this] { Sheet()->PressButton(CMyPropertySheet::ID_WIZNEXT); });
        return true;
    case ID_VIEW:
        ViewSelected();
        return true;
    case ID_PROPERTIES:
        QTimer::singleShot(0, this, [this] { ShowProperties(); });
        return true;
    case ID_RENAME:
        QTimer::singleShot(0, this, [this] { RenameSelected(); });
        return true;
    case ID_DELETE:
    case IDC_DELETE:
        DeleteSelected();
        return true;
    case ID_CONTEXT_MENU: {
        QListWidgetItem* item = m_albums->currentItem();
        const QRect place = item != nullptr ? m_albums->visualItemRect(item) : QRect();
        runMenu(m_albums->viewport()->mapToGlobal(place.center()));
        return true;
    }
    case ID_PRINT:
        PrintSelected();
        return true;
    case IDC_FIND:
        FindAlbum();
        return true;
    default:
        return false;
    }
}

bool COpenAlbum::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_albums && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        // While a label is edited its editor has the keys, so Delete here means the album.
        DeleteSelected();
        return true;
    }
    if (watched == m_albums->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        onDoubleClick(static_cast<QMouseEvent*>(event)->position().toPoint());
        return true;
    }
    return CBasePage::eventFilter(watched, event);
}

void COpenAlbum::onDoubleClick(const QPoint& position)
{
    QListWidgetItem* item = m_albums->itemAt(position);
    if (item == nullptr)
        return;
    // The label lies below the icon: a double-click there edits it, on the icon it opens.
    const QRect place = m_albums->visualItemRect(item);
    if (position.y() > place.top() + m_albums->iconSize().height() + 4) {
        m_albums->editItem(item);
        return;
    }
    m_albums->setCurrentItem(item);
    Sheet()->PressButton(CMyPropertySheet::ID_WIZNEXT);
}

void COpenAlbum::RenameSelected()
{
    if (QListWidgetItem* item = m_albums->currentItem())
        m_albums->editItem(item);
}

QString COpenAlbum::favoritesFolder() const
{
    return m_favoritesFolder.isEmpty() ? AlbumInspector::FavoritesFolder(m_app.GetSettings())
                                       : m_favoritesFolder;
}

void COpenAlbum::onLabelEdited(QListWidgetItem* item)
{
    if (m_showing || item == nullptr)
        return;
    const quint64 id = item->data(IdRole).value<quint64>();
    const std::optional<AlbumEntry> entry = m_list.Find(id);
    if (!entry)
        return;
    const QString name = item->text().trimmed();
    if (name.isEmpty() || name == entry->text) {
        showEntry(*item, *entry);
        return;
    }
    m_loader.Pause();
    const QString path = QString::fromUtf8(entry->summary.projectPath.c_str());
    const ResultCode result = inspector().Rename(path, entry->text, name, favoritesFolder());
    if (result == GV_OK) {
        m_list.Rename(id, name);
        if (const std::optional<AlbumSummary> renamed = inspector().ReadSummary(path))
            m_list.Update(id, *renamed);
    }
    m_loader.Resume();
    if (result != GV_OK) {
        m_app.GetPrompter().message(
            loadString(IDS_RENAME_FAILED).replace(QStringLiteral("%i"), QString::number(result)));
    }
    showEntry(*item, *m_list.Find(id));
}

void COpenAlbum::ShowProperties()
{
    const std::optional<AlbumEntry> entry = selectedEntry();
    if (!entry)
        return;
    // Read afresh: the dialog shows the project as it is now, also before the loader came by.
    m_loader.Pause();
    std::optional<AlbumSummary> summary =
        inspector().ReadSummary(QString::fromUtf8(entry->summary.projectPath.c_str()));
    m_loader.Resume();
    if (!summary)
        summary = entry->summary;
    summary->projectPath = entry->summary.projectPath;
    CAlbumProp dialog(m_app.GetSkin(), *summary, this);
    if (m_showProps)
        m_showProps(dialog);
    else
        dialog.exec();
}

void COpenAlbum::ViewSelected()
{
    const std::optional<AlbumEntry> entry = selectedEntry();
    if (!entry)
        return;
    const QString path = QString::fromUtf8(entry->summary.projectPath.c_str());
    if (!QFileInfo::exists(path))
        return;
    m_loader.Pause();
    const int32_t result = inspector().View(path);
    m_loader.Resume();
    if (result < 0)
        m_app.GetPrompter().message(loadString(IDS_VIEW_FAILED).arg(result));
}

QString COpenAlbum::PrintProgramFolder()
{
    const Settings print(QStringLiteral("Quindle"));
    return print.getString(QStringLiteral(""), QStringLiteral("Program path"));
}

bool COpenAlbum::writePrintList(const QStringList& photos, QString& listPath) const
{
    QTemporaryFile list(QDir::tempPath() + QStringLiteral("/qd_XXXXXX.txt"));
    list.setAutoRemove(false); // the print program reads it after we are gone
    if (!list.open())
        return false;
    for (const QString& photo : photos)
        list.write(QDir::toNativeSeparators(photo).toUtf8() + '\n');
    listPath = list.fileName();
    return list.flush();
}

void COpenAlbum::PrintSelected()
{
    const std::optional<AlbumEntry> entry = selectedEntry();
    if (!entry || m_printFolder.isEmpty())
        return;
    m_loader.Pause();
    const std::optional<QStringList> photos =
        inspector().ImagePaths(QString::fromUtf8(entry->summary.projectPath.c_str()));
    m_loader.Resume();
    QString listPath;
    if (!photos || !writePrintList(*photos, listPath))
        return;
    const QString program = QDir(m_printFolder).filePath(QStringLiteral("Quindle.exe"));
    if (!platform::startDetached(program, {QStringLiteral("\\b"), listPath}))
        m_app.GetPrompter().message(loadString(IDS_PRINT_FAILED));
}

QMenu* COpenAlbum::BuildContextMenu()
{
    auto* menu = new QMenu(this);
    const auto add = [this, menu](int textId, int command) {
        QAction* action = menu->addAction(loadString(textId));
        action->setData(command);
        return action;
    };
    menu->setDefaultAction(add(IDS_MENU_OPEN_ALBUM, ID_OPEN));
    const std::optional<AlbumEntry> entry = selectedEntry();
    add(IDS_MENU_VIEW_ALBUM, ID_VIEW)->setEnabled(entry && !entry->summary.destination.empty());
    add(IDS_MENU_RENAME_ALBUM, ID_RENAME);
    add(IDS_MENU_DELETE, ID_DELETE);
    add(IDS_MENU_PROPERTIES, ID_PROPERTIES);
    if (!m_printFolder.isEmpty())
        add(IDS_MENU_PRINT, ID_PRINT);
    return menu;
}

void COpenAlbum::runMenu(const QPoint& globalPosition)
{
    QMenu* menu = BuildContextMenu();
    QAction* chosen = menu->exec(globalPosition);
    const int command = chosen != nullptr ? chosen->data().toInt() : 0;
    menu->deleteLater();
    if (command != 0)
        OnCommand(command);
}
