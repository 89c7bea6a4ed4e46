// SPDX-License-Identifier: GPL-2.0-or-later
// The image list page: what the selection shows (preview, description, subfolder text,
// buttons, status line) and the edits of titles, descriptions and subfolder texts.
#include "shell/addimagedlg.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include "controls/imagebutton.h"
#include "images/twain.h"
#include "images/imageadder.h"
#include "images/subfoldertext.h"
#include "platform/stringtable.h"
#include "shell/gvapp.h"
#include "shell/myimage.h"

void CAddImageDlg::storeDescription()
{
    if (!m_descriptionDirty)
        return;
    m_descriptionDirty = false;
    if (m_previousSelection.size() != 1 || m_current < 0 ||
        m_current >= static_cast<int>(m_rows.Size()))
        return;
    m_rows.Rows()[m_current].description =
        CImageAdder::StoredDescription(m_description->toPlainText());
    m_app.Album().MarkModified();
}

void CAddImageDlg::showCurrent()
{
    m_syncing = true;
    if (m_current >= 0 && m_current < static_cast<int>(m_rows.Size())) {
        const PageImage& row = m_rows.Rows()[m_current];
        m_preview->Load(row.path);
        m_description->setPlainText(row.description);
    } else {
        m_preview->Clear();
        m_description->clear();
    }
    m_syncing = false;
    m_descriptionDirty = false;
}

void CAddImageDlg::updateButtons()
{
    const size_t selected = m_previousSelection.size();
    const bool any = selected > 0;
    for (int id : {ID_REMOVE, ID_TOP, ID_UP, ID_DOWN, ID_BOTTOM})
        m_buttons.at(id)->setEnabled(any);
    m_buttons.at(ID_EXIF)->setEnabled(any);
    const bool editable = any && selectionEditable();
    for (int id : {ID_ROTATE_RIGHT, ID_ROTATE_LEFT, ID_AUTOLEVELS})
        m_buttons.at(id)->setEnabled(editable);
    m_buttons.at(ID_EDIT_TITLE)->setEnabled(selected == 1);
    showProgramButton(ID_ENHANCE, m_enhancerAvailable, IDS_EDITOR_NOT_INSTALLED, selected == 1);
    showProgramButton(ID_PRINT, m_printAvailable, IDS_PRINT_NOT_INSTALLED, selected == 1);
    m_buttons.at(ID_IMPORT)->setEnabled(CTwain::IsAvailable());
    m_paths->setEnabled(m_paths->count() > 0);
    m_description->setEnabled(selected == 1);
    if (!any)
        m_preview->Clear();
    QAbstractButton* levels = m_buttons.at(ID_AUTOLEVELS);
    if (auto* skinned = dynamic_cast<CImageButton*>(levels))
        skinned->SetCheck(m_preview->HasLevels() ? 1 : 0);
    else
        levels->setChecked(m_preview->HasLevels());
    m_status->setText(QString::asprintf(loadString(IDS_IMAGE_STATUS).toUtf8().constData(),
                                        static_cast<int>(m_rows.Size()),
                                        static_cast<int>(selected)));
}

void CAddImageDlg::showProgramButton(int id, bool installed, int missingText, bool wanted)
{
    // A program that is not installed keeps its button, disabled, saying why.
    QAbstractButton* button = m_buttons.at(id);
    const QString tip = loadString(installed ? id : missingText);
    button->setEnabled(installed && wanted);
    button->setToolTip(tip);
    button->setAccessibleDescription(installed ? QString() : tip);
}

bool CAddImageDlg::subfolderBoxWanted() const
{
    AlbumProject& album = m_app.Album();
    const CPluginInfo* plugin = album.ChosenPlugin();
    return plugin != nullptr && plugin->plugin != nullptr &&
           plugin->plugin->UsesSubfolderText(album.TemplateId());
}

void CAddImageDlg::updateSubfolderBox()
{
    QStringList texts;
    for (int row : m_previousSelection)
        texts << m_rows.Rows()[row].subfolder;
    m_subfolderShown = subfoldertext::CommonPrefix(texts);
    m_subfolder->setText(m_subfolderShown);
    m_subfolder->setEnabled(!texts.isEmpty());
}

void CAddImageDlg::subfolderEdited()
{
    if (m_previousSelection.empty() || m_subfolder->text() == m_subfolderShown)
        return;
    m_app.Album().MarkModified();
    const QString text = subfoldertext::Normalise(m_subfolder->text());
    for (int row : m_previousSelection)
        m_rows.Rows()[row].subfolder = text;
    // The album's entries follow at once, as the page's rows do.
    SyncPageToAlbum();
    updateSubfolderBox();
}

void CAddImageDlg::titleEdited(int row, const QString& text)
{
    if (row < 0 || row >= static_cast<int>(m_rows.Size()))
        return;
    if (text.isEmpty()) {
        // An edit that ends with no text keeps the title.
        m_syncing = true;
        m_titles->item(row)->setText(m_rows.Rows()[row].title);
        m_syncing = false;
        return;
    }
    m_rows.Rows()[row].title = text;
    m_app.Album().MarkModified();
}

void CAddImageDlg::ClearDescriptions()
{
    for (PageImage& row : m_rows.Rows())
        row.description.clear();
    m_descriptionDirty = false;
    showCurrent();
}

void CAddImageDlg::ClearTitles()
{
    for (PageImage& row : m_rows.Rows())
        row.title.clear();
    refill(m_previousSelection);
}

void CAddImageDlg::StripTitleExtensions()
{
    for (PageImage& row : m_rows.Rows()) {
        const qsizetype dot = row.title.lastIndexOf(u'.');
        if (dot >= 0)
            row.title.truncate(dot);
    }
    refill(m_previousSelection);
}

void CAddImageDlg::showSplash(bool show)
{
    if (!show) {
        delete m_splash;
        m_splash = nullptr;
        return;
    }
    if (m_splash != nullptr)
        return;
    auto* splash = new QLabel(this);
    splash->setPixmap(QPixmap::fromImage(m_app.GetSkin().LoadSkinPicture(SKIN_LISTBOX_SPLASH)));
    splash->setAlignment(Qt::AlignCenter);
    splash->setAttribute(Qt::WA_TransparentForMouseEvents);
    splash->setAccessibleName(loadString(IDS_NAME_NO_PHOTOS));
    m_splash = splash;
    placeSplash();
    splash->show();
    splash->raise();
}

void CAddImageDlg::placeSplash()
{
    // Over the two empty lists, below their first row.
    if (m_splash != nullptr)
        m_splash->setGeometry(m_titles->x(), m_titles->y() + 28,
                              m_paths->geometry().right() + 1 - m_titles->x(), 118);
}

void CAddImageDlg::renumberAlbum()
{
    int index = 0;
    for (AlbumImage& image : m_app.Album().Images())
        image.index = index++;
}

QStringList CAddImageDlg::selectedPaths() const
{
    QStringList paths;
    for (int row : m_previousSelection)
        paths << m_rows.Rows()[row].path;
    return paths;
}

std::vector<CImageEdits::Selected> CAddImageDlg::selectedForEdit() const
{
    std::vector<CImageEdits::Selected> selection;
    for (int row : m_previousSelection)
        selection.push_back({row, m_rows.Rows()[row].path});
    return selection;
}

bool CAddImageDlg::selectionEditable() const
{
    return CImageEdits::CanEdit(selectedPaths());
}

bool CAddImageDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_description && event->type() == QEvent::FocusOut)
        storeDescription();
    // Tab leaves the description for the next control; Ctrl+Tab puts a tab into it.
    if (watched == m_description && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
            m_description->insertPlainText(QStringLiteral("\t"));
            return true;
        }
    }
    if ((watched == m_titles || watched == m_paths) && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        onRemove();
        return true;
    }
    return CBasePage::eventFilter(watched, event);
}

void CAddImageDlg::OnImageSaved()
{
    m_preview->Reload();
    updateButtons();
    update();
}

void CAddImageDlg::SetImageChoosers(std::unique_ptr<ImageListChoosers> choosers)
{
    if (choosers)
        m_imageChoosers = std::move(choosers);
}

void CAddImageDlg::SetTemporaryFolder(const QString& folder)
{
    m_temporaryFolder = folder;
    m_edits.SetBackupFolder(folder);
}
