// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/openalbum.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include "album/projectfile.h"
#include "controls/imagebutton.h"
#include "platform/choosers.h"
#include "platform/prompter.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "shell/gvapp.h"
#include "shell/mypropertysheet.h"

namespace
{

constexpr int IdRole = Qt::UserRole + 1;

// Stands for the program's icon on albums without a thumbnail: a framed landscape.
QIcon albumIcon(int side)
{
    QPixmap picture(side, side - 28);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame(side * 0.15, 6, side * 0.7, side - 46);
    painter.setPen(QPen(QColor(90, 90, 90), 2));
    painter.setBrush(QColor(200, 225, 245));
    painter.drawRect(frame);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(70, 140, 70));
    const QPointF hills[] = {
        frame.bottomLeft(),
        {frame.left() + frame.width() * 0.4, frame.center().y()},
        {frame.left() + frame.width() * 0.6, frame.bottom() - frame.height() * 0.3},
        {frame.right() - frame.width() * 0.2, frame.top() + frame.height() * 0.4},
        frame.bottomRight()};
    painter.drawPolygon(hills, 5);
    painter.setBrush(QColor(250, 200, 40));
    painter.drawEllipse(QPointF(frame.left() + frame.width() * 0.25, frame.top() + 14), 7, 7);
    return QIcon(picture);
}

} // namespace

COpenAlbum::COpenAlbum(CGVApp& app, Choosers& choosers, QWidget* parent)
    : CBasePage(PageIndex, parent), m_app(app), m_choosers(choosers), m_loader(m_list, {}),
      m_albums(new QListWidget(this))
{
    const int side = m_app.ThumbnailSide() > 28 ? m_app.ThumbnailSide() : CGVApp::ThumbnailSize;
    m_appIcon = albumIcon(side);
    m_albums->setAccessibleName(loadString(IDS_NAME_ALBUM_LIST));
    m_albums->setViewMode(QListView::IconMode);
    m_albums->setIconSize(QSize(side, side - 28));
    m_albums->setResizeMode(QListView::Adjust);
    m_albums->setMovement(QListView::Static);
    m_albums->setWordWrap(true);
    m_albums->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_albums->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_albums->setContextMenuPolicy(Qt::CustomContextMenu);
    m_albums->installEventFilter(this);
    m_albums->viewport()->installEventFilter(this);
    m_open = makeButton(303, IDS_OPEN_BUTTON, ID_OPEN);
    m_view = makeButton(299, IDS_VIEW_BUTTON, ID_VIEW);
    m_rename = makeButton(300, IDS_RENAME_BUTTON, ID_RENAME);
    m_property = makeButton(302, IDS_PROPERTY_BUTTON, ID_PROPERTIES);
    m_print = makeButton(301, IDS_PRINT_BUTTON, ID_PRINT);
    m_find = makeButton(264, IDS_FIND_ALBUM_BUTTON, IDC_FIND);
    m_delete = makeButton(263, IDS_DELETE_ALBUM_BUTTON, IDC_DELETE);
    connect(&m_loader, &CAlbumLoader::Loaded, this, &COpenAlbum::onLoaded, Qt::QueuedConnection);
    connect(&m_loader, &CAlbumLoader::Removed, this, &COpenAlbum::onRemoved, Qt::QueuedConnection);
    connect(m_albums, &QListWidget::itemChanged, this, &COpenAlbum::onLabelEdited);
    connect(m_albums, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { runMenu(m_albums->viewport()->mapToGlobal(at)); });
}

COpenAlbum::~COpenAlbum()
{
    // The thread reads the list: it ends before the list goes.
    m_loader.Stop();
}

QAbstractButton* COpenAlbum::makeButton(int pictureId, int textId, int command)
{
    QAbstractButton* button = nullptr;
    const QImage strip = m_app.GetSkin().LoadSkinPicture(pictureId);
    if (!strip.isNull())
        button = new CImageButton(strip, 2, this, command);
    else
        button = new QPushButton(loadString(textId), this);
    button->setAccessibleName(loadString(textId));
    connect(button, &QAbstractButton::clicked, this, [this, command] { OnCommand(command); });
    return button;
}

QAbstractButton* COpenAlbum::Button(int command) const
{
    switch (command) {
    case ID_OPEN:
        return m_open;
    case ID_VIEW:
        return m_view;
    case ID_RENAME:
        return m_rename;
    case ID_PROPERTIES:
        return m_property;
    case ID_PRINT:
        return m_print;
    case IDC_FIND:
        return m_find;
    case IDC_DELETE:
        return m_delete;
    default:
        return nullptr;
    }
}

void COpenAlbum::PlaceControls()
{
    // A larger page gives the list all the room; the buttons keep to its right and bottom.
    const int dx = Extra().width(), dy = Extra().height();
    m_albums->setGeometry(24, 96, 450 + dx, 320 + dy);
    int top = 96;
    for (QAbstractButton* button : {m_open, m_view, m_rename, m_property, m_print}) {
        button->setGeometry(486 + dx, top, 90, 26);
        top += 34;
    }
    m_find->setGeometry(24, 428 + dy, 130, 26);
    m_delete->setGeometry(164, 428 + dy, 130, 26);
}

bool COpenAlbum::OnSetActive()
{
    m_printFolder = PrintProgramFolder();
    m_print->setVisible(!m_printFolder.isEmpty());
    fillList();
    Sheet()->SetWizardButtons(CMyPropertySheet::PSWIZB_BACK | CMyPropertySheet::PSWIZB_NEXT);
    QTimer::singleShot(0, this, [this] { m_albums->setFocus(); });
    return true;
}

bool COpenAlbum::OnKillActive()
{
    clearList();
    return true;
}

void COpenAlbum::clearList()
{
    m_loader.Stop();
    m_showing = true;
    m_albums->clear();
    m_showing = false;
    m_list.Clear();
}

void COpenAlbum::fillList()
{
    clearList();
    Settings& settings = m_app.GetSettings();
    const QString last =
        settings.getString(QStringLiteral("Settings"), QStringLiteral("LastAlbumOpen"));
    const int selected = m_list.Fill(ProjectFile::ProjectsFolder(), last);
    m_showing = true;
    for (int index = 0; index < m_list.Count(); ++index) {
        auto* item = new QListWidgetItem(m_albums);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        showEntry(*item, *m_list.At(index));
    }
    m_showing = false;
    if (QListWidgetItem* item = m_albums->item(selected)) {
        m_albums->setCurrentItem(item);
        m_albums->scrollToItem(item);
    }
    m_loader.SetReader(
        [reader = inspector()](const QString& path) { return reader.ReadSummary(path); });
    m_loader.Start();
}

void COpenAlbum::showEntry(QListWidgetItem& item, const AlbumEntry& entry)
{
    const bool showing = m_showing;
    m_showing = true;
    item.setData(IdRole, QVariant::fromValue<quint64>(entry.id));
    item.setText(entry.text);
    const QImage& thumbnail = entry.summary.thumbnail;
    item.setIcon(thumbnail.isNull() ? m_appIcon : QIcon(QPixmap::fromImage(thumbnail)));
    // Until the album is read there is nothing to tell beyond its file name.
    item.setToolTip(entry.read ? AlbumInspector::InfoTip(entry.text, entry.summary) : QString());
    m_showing = showing;
}

QListWidgetItem* COpenAlbum::itemOf(quint64 id) const
{
    for (int row = 0; row < m_albums->count(); ++row) {
        if (m_albums->item(row)->data(IdRole).value<quint64>() == id)
            return m_albums->item(row);
    }
    return nullptr;
}

void COpenAlbum::onLoaded(quint64 id)
{
    QListWidgetItem* item = itemOf(id);
    const std::optional<AlbumEntry> entry = m_list.Find(id);
    // A report of a list that was refilled since names nothing any more.
    if (item != nullptr && entry)
        showEntry(*item, *entry);
}

void COpenAlbum::onRemoved(quint64 id)
{
    delete itemOf(id);
}

std::optional<AlbumEntry> COpenAlbum::selectedEntry() const
{
    const QList<QListWidgetItem*> selected = m_albums->selectedItems();
    if (selected.size() != 1)
        return std::nullopt;
    return m_list.Find(selected.front()->data(IdRole).value<quint64>());
}

AlbumInspector COpenAlbum::inspector() const
{
    return AlbumInspector(m_app.Album().PluginManager().PluginFolders(), m_app.ThumbnailSide());
}

bool COpenAlbum::openProject(const QString& path)
{
    m_loader.Pause();
    ProjectFile project(m_app.Album(), m_app.GetPrompter(), m_choosers);
    project.SetThumbnailSize(m_app.ThumbnailSide());
    const bool opened = project.OpenProject(path.toUtf8().constData(), true) == GV_OK;
    m_loader.Resume();
    if (!opened) {
        m_app.GetPrompter().message(loadString(IDS_OPEN_FAILED), Prompter::Icon::Error);
        return false;
    }
    m_app.Album().SetFresh(false);
    return true;
}

bool COpenAlbum::OpenSelected()
{
    const std::optional<AlbumEntry> entry = selectedEntry();
    if (!entry) {
        m_app.GetPrompter().message(loadString(IDS_SELECT_ALBUM_FIRST), Prompter::Icon::Warning);
        return false;
    }
    const QString path = QString::fromUtf8(entry->summary.projectPath.c_str());
    if (!openProject(path))
        return false;
    m_app.GetSettings().writeString(QStringLiteral("Settings"), QStringLiteral("LastAlbumOpen"),
                                    path);
    return true;
}

int COpenAlbum::OnWizardNext()
{
    return OpenSelected() ? ThemePage : Stay;
}

void COpenAlbum::FindAlbum()
{
    Settings& settings = m_app.GetSettings();
    const QString section = QStringLiteral("Paths");
    QString start = settings.getString(section, QStringLiteral("LastProjectPath"));
    if (start.isEmpty())
        start = settings.getString(section, QStringLiteral("ProjectPath"));
    const QString path = m_choosers.openFile(QString(), start, loadString(IDS_PROJECT_FILTER));
    if (path.isEmpty())
        return;
    settings.writeString(section, QStringLiteral("LastProjectPath"), path);
    if (openProject(path))
        Sheet()->SetActivePage(ThemePage);
}

void COpenAlbum::DeleteSelected()
{
    Prompter& prompter = m_app.GetPrompter();
    const std::optional<AlbumEntry> entry = selectedEntry();
    if (!entry) {
        prompter.message(loadString(IDS_SELECT_ALBUM_TO_DELETE), Prompter::Icon::Warning);
        return;
    }
    const QString question =
        loadString(IDS_DELETE_ALBUM_QUESTION).replace(QStringLiteral("%s"), entry->text);
    if (prompter.ask(question, Prompter::Buttons::YesNo, Prompter::Answer::No) !=
        Prompter::Answer::Yes)
        return;
    const QString path = QString::fromUtf8(entry->summary.projectPath.c_str());
    m_loader.Pause();
    if (!AlbumInspector::DeleteProject(path)) {
        prompter.message(loadString(IDS_DELETE_ALBUM_FAILED).replace(QStringLiteral("%s"), path));
    } else {
        AlbumInspector::ForgetFavorite(QString::fromUtf8(entry->summary.favoritesName.c_str()),
                                       favoritesFolder());
        m_list.Remove(entry->id);
        delete itemOf(entry->id);
    }
    m_loader.Resume();
}
