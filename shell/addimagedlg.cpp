// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/addimagedlg.h"

#include <algorithm>

#include <QDir>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "controls/imagebutton.h"
#include "images/imageadder.h"
#include "images/twain.h"
#include "images/subfoldertext.h"
#include "platform/process.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"
#include "shell/gvapp.h"
#include "shell/myimage.h"
#include "shell/mypropertysheet.h"

namespace
{

// Buttons: id, caption (offset from the first caption text), skin picture (0 for none).
struct ButtonSpec {
    int id;
    int caption;
    int picture;
};
constexpr ButtonSpec PageButtons[] = {
    {CAddImageDlg::ID_ADD, 0, 202},          {CAddImageDlg::ID_ADD_FOLDER, 1, 215},
    {CAddImageDlg::ID_IMPORT, 2, 32811},     {CAddImageDlg::ID_REMOVE, 3, 205},
    {CAddImageDlg::ID_TOP, 4, 291},          {CAddImageDlg::ID_UP, 5, 281},
    {CAddImageDlg::ID_DOWN, 6, 282},         {CAddImageDlg::ID_BOTTOM, 7, 292},
    {CAddImageDlg::ID_ROTATE_RIGHT, 8, 293}, {CAddImageDlg::ID_ROTATE_LEFT, 9, 294},
    {CAddImageDlg::ID_AUTOLEVELS, 10, 295},  {CAddImageDlg::ID_EDIT_TITLE, 11, 297},
    {CAddImageDlg::ID_EXIF, 12, 400},        {CAddImageDlg::ID_ENHANCE, 13, 203},
    {CAddImageDlg::ID_PRINT, 14, 204},
};

QListWidget* makeList(QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->setUniformItemSizes(true);
    return list;
}

} // namespace

CAddImageDlg::CAddImageDlg(CGVApp& app, Choosers& choosers, QWidget* parent)
    : CBasePage(PageIndex, parent), m_app(app), m_choosers(choosers),
      m_imageChoosers(std::make_unique<DialogImageListChoosers>()),
      m_backupFolder(QDir::tempPath() + QStringLiteral("/gallivex-XXXXXX")),
      m_edits(m_backupFolder.isValid() ? m_backupFolder.path() : QDir::tempPath()),
      m_temporaryFolder(QDir::tempPath()), m_titles(makeList(this)), m_paths(makeList(this)),
      m_description(new QPlainTextEdit(this)), m_subfolder(new QLineEdit(this)),
      m_status(new QLabel(this)), m_preview(new CMyImage(this)), m_starter(&platform::startDetached)
{
    m_titles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_description->setTabChangesFocus(true);
    const std::pair<QWidget*, int> names[] = {
        {m_titles, IDS_NAME_PHOTO_TITLES},         {m_paths, IDS_NAME_PHOTO_FILES},
        {m_preview, IDS_NAME_PHOTO_PREVIEW},       {m_description, IDS_NAME_PHOTO_DESCRIPTION},
        {m_subfolder, IDS_NAME_SUBFOLDER}};
    for (const auto& [control, text] : names)
        control->setAccessibleName(loadString(text));
    m_description->installEventFilter(this);
    m_titles->installEventFilter(this);
    m_paths->installEventFilter(this);
    m_subfolder->hide();
    createButtons();
    connectLists();
    connect(&m_listener, &CImageSavedListener::ImageSaved, this, &CAddImageDlg::OnImageSaved);
}

CAddImageDlg::~CAddImageDlg() = default;

void CAddImageDlg::keyPressEvent(QKeyEvent* event)
{
    // Ctrl+Shift+D, F and R are not in the page's shortcut table: they reach the page when
    // the control with the focus leaves them alone.
    if (event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
        switch (event->key()) {
        case Qt::Key_D:
            ClearDescriptions();
            return;
        case Qt::Key_F:
            ClearTitles();
            return;
        case Qt::Key_R:
            StripTitleExtensions();
            return;
        default:
            break;
        }
    }
    CBasePage::keyPressEvent(event);
}

void CAddImageDlg::createButtons()
{
    for (const ButtonSpec& spec : PageButtons)
        m_buttons[spec.id] = makeButton(spec.id, spec.caption, spec.picture);
    m_buttons[ID_AUTOLEVELS]->setCheckable(true);
}

QAbstractButton* CAddImageDlg::makeButton(int id, int captionOffset, int pictureId)
{
    const QString caption = loadString(IDS_IMAGE_LIST_CAPTIONS + captionOffset);
    const QImage strip = m_app.GetSkin().LoadSkinPicture(pictureId);
    QAbstractButton* button = nullptr;
    if (!strip.isNull())
        button = new CImageButton(strip, 2, this, id, true);
    else
        button = new QPushButton(caption, this);
    button->setAccessibleName(caption);
    button->setToolTip(loadString(id));
    connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    return button;
}

void CAddImageDlg::connectLists()
{
    connect(m_paths, &QListWidget::itemSelectionChanged, this,
            [this] { syncSelection(m_paths, m_titles); });
    connect(m_titles, &QListWidget::itemSelectionChanged, this,
            [this] { syncSelection(m_titles, m_paths); });
    connect(m_titles, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!m_syncing)
            titleEdited(m_titles->row(item), item->text());
    });
    connect(m_description, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_syncing)
            m_descriptionDirty = true;
    });
    connect(m_subfolder, &QLineEdit::editingFinished, this, &CAddImageDlg::subfolderEdited);
    for (QListWidget* list : {m_titles, m_paths})
        connect(list, &QListWidget::customContextMenuRequested, this,
                [this, list](const QPoint& position) { showContextMenu(list, position); });
}

void CAddImageDlg::PlaceControls()
{
    // A larger page gives the lists half of the extra height and the preview and the
    // description the other half; the extra width goes to the lists, a third of it to the
    // preview. The buttons keep to their edges.
    const int dx = Extra().width(), dy = Extra().height();
    const int listsDown = dy / 2, previewRight = dx / 3;
    m_titles->setGeometry(197, 96, 150 + dx / 2, 160 + listsDown);
    m_paths->setGeometry(350 + dx / 2, 96, 160 + dx - dx / 2, 160 + listsDown);
    m_status->setGeometry(197, 258 + listsDown, 313 + dx, 18);
    m_preview->setGeometry(24, 282 + listsDown, 165 + previewRight, 140 + dy - listsDown);
    m_description->setGeometry(197 + previewRight, 282 + listsDown, 313 + dx - previewRight,
                               110 + dy - listsDown);
    m_subfolder->setGeometry(260 + previewRight, 426 + dy, 249 + dx - previewRight, 20);
    placeSplash();
    const QPoint right(dx, 0), below(previewRight, dy), corner(dx, dy);
    const std::pair<int, QPoint> places[] = {
        {ID_ADD, {24, 96}},
        {ID_ADD_FOLDER, {24, 124}},
        {ID_IMPORT, {24, 152}},
        {ID_REMOVE, {24, 180}},
        {ID_EDIT_TITLE, {24, 208}},
        {ID_EXIF, {24, 236}},
        {ID_TOP, QPoint(518, 96) + right},
        {ID_UP, QPoint(518, 124) + right},
        {ID_DOWN, QPoint(518, 152) + right},
        {ID_BOTTOM, QPoint(518, 180) + right},
        {ID_ROTATE_RIGHT, QPoint(197, 398) + below},
        {ID_ROTATE_LEFT, QPoint(229, 398) + below},
        {ID_AUTOLEVELS, QPoint(261, 398) + below},
        {ID_ENHANCE, QPoint(372, 398) + corner},
        {ID_PRINT, QPoint(472, 398) + corner}};
    for (const auto& [id, place] : places) {
        QAbstractButton* button = m_buttons.at(id);
        if (dynamic_cast<CImageButton*>(button) == nullptr)
            button->resize(place.x() - dx > 500                           ? QSize(64, 24)
                           : id == ID_ROTATE_RIGHT || id == ID_ROTATE_LEFT ? QSize(30, 24)
                                                                           : QSize(96, 24));
        button->move(place);
    }
}

QAbstractButton* CAddImageDlg::Button(int id) const
{
    const auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

bool CAddImageDlg::OnSetActive()
{
    Sheet()->SetWizardButtons(CMyPropertySheet::PSWIZB_BACK | CMyPropertySheet::PSWIZB_NEXT);
    m_edits.UndoLastEdit();
    if (m_listener.Id().isEmpty())
        m_listener.Listen();
    readProgramFolders();
    loadFromAlbum();
    m_subfolder->setVisible(subfolderBoxWanted());
    showSplash(m_rows.IsEmpty());
    return true;
}

bool CAddImageDlg::OnKillActive()
{
    storeDescription();
    showSplash(false);
    m_edits.DropBackups();
    return true;
}

int CAddImageDlg::OnWizardNext()
{
    storeDescription();
    if (m_rows.IsEmpty()) {
        m_app.GetPrompter().message(loadString(IDS_ADD_IMAGES_FIRST), Prompter::Icon::Warning);
        return Stay;
    }
    SyncPageToAlbum();
    return Default;
}

int CAddImageDlg::OnWizardBack()
{
    storeDescription();
    SyncPageToAlbum();
    return Default;
}

void CAddImageDlg::StoreToAlbum()
{
    storeDescription();
    SyncPageToAlbum();
}

void CAddImageDlg::SyncPageToAlbum()
{
    m_rows.SyncPageToAlbum(m_app.Album().Images());
}

void CAddImageDlg::loadFromAlbum()
{
    m_rows.LoadFromAlbum(m_app.Album().Images());
    m_current = -1;
    m_descriptionDirty = false;
    refill({});
}

void CAddImageDlg::refill(const std::vector<int>& selected)
{
    storeDescription(); // the rows are about to be shown afresh: keep what was typed
    m_syncing = true;
    m_titles->clear();
    m_paths->clear();
    for (const PageImage& row : m_rows.Rows()) {
        auto* title = new QListWidgetItem(row.title, m_titles);
        title->setFlags(title->flags() | Qt::ItemIsEditable);
        new QListWidgetItem(QDir::toNativeSeparators(row.path), m_paths);
    }
    m_description->clear();
    m_syncing = false;
    m_previousSelection.clear();
    m_current = -1;
    m_descriptionDirty = false;
    SelectRows(selected);
}

void CAddImageDlg::SelectRows(const std::vector<int>& rows)
{
    m_syncing = true;
    m_paths->clearSelection();
    m_titles->clearSelection();
    for (int row : rows) {
        if (row < 0 || row >= m_paths->count())
            continue;
        m_paths->item(row)->setSelected(true);
        m_titles->item(row)->setSelected(true);
    }
    if (!rows.empty() && rows.back() >= 0 && rows.back() < m_paths->count()) {
        m_paths->setCurrentRow(rows.back(), QItemSelectionModel::NoUpdate);
        m_titles->setCurrentRow(rows.back(), QItemSelectionModel::NoUpdate);
        m_paths->scrollToItem(m_paths->item(rows.back()));
    }
    m_syncing = false;
    selectionChanged();
}

std::vector<int> CAddImageDlg::SelectedRows() const
{
    std::vector<int> rows;
    for (int i = 0; i < m_paths->count(); ++i)
        if (m_paths->item(i)->isSelected())
            rows.push_back(i);
    return rows;
}

void CAddImageDlg::syncSelection(QListWidget* from, QListWidget* to)
{
    if (m_syncing)
        return;
    m_syncing = true;
    int last = -1;
    for (int i = 0; i < from->count() && i < to->count(); ++i) {
        const bool selected = from->item(i)->isSelected();
        to->item(i)->setSelected(selected);
        last = selected ? i : last;
    }
    if (last >= 0)
        to->scrollToItem(to->item(last));
    m_syncing = false;
    selectionChanged();
}

void CAddImageDlg::selectionChanged()
{
    storeDescription();
    const std::vector<int> selected = SelectedRows();
    int current = -1;
    for (int row : selected)
        if (std::find(m_previousSelection.begin(), m_previousSelection.end(), row) ==
            m_previousSelection.end())
            current = current < 0 || m_previousSelection.empty() ? row : current;
    if (current < 0 && !selected.empty())
        current = std::find(selected.begin(), selected.end(), m_current) != selected.end()
                      ? m_current
                      : selected.back();
    m_previousSelection = selected;
    m_current = current;
    showCurrent();
    updateButtons();
    updateSubfolderBox();
}
