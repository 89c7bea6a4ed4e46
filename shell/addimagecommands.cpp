// SPDX-License-Identifier: GPL-2.0-or-later
// The image list page's commands: adding and removing photos, the order buttons, turns and
// levels with their undo, the context menu and the external programs.
#include "shell/addimagedlg.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>

#include "images/imageadder.h"
#include "images/rowmoves.h"
#include "platform/prompter.h"
#include "platform/safefile.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "shell/gvapp.h"
#include "shell/myimage.h"

namespace
{

const QString PathsSection = QStringLiteral("Paths");
const QString PhotosPath = QStringLiteral("PhotosPath");
const QString SettingsSection = QStringLiteral("Settings");
const QString ProgramPath = QStringLiteral("Program path");

// The wait cursor for the life of the object.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

bool CAddImageDlg::OnCommand(int command)
{
    switch (command) {
    case ID_ADD:
        onAdd();
        return true;
    case ID_ADD_FOLDER:
        onAddFolder();
        return true;
    case ID_IMPORT:
        onImport();
        return true;
    case ID_REMOVE:
        onRemove();
        return true;
    case ID_TOP:
    case ID_UP:
    case ID_DOWN:
    case ID_BOTTOM:
        onMove(command);
        return true;
    case ID_ROTATE_RIGHT:
    case ID_MENU_ROTATE_90:
        onRotate(90);
        return true;
    case ID_MENU_ROTATE_180:
        onRotate(180);
        return true;
    case ID_ROTATE_LEFT:
    case ID_MENU_ROTATE_270:
        onRotate(270);
        return true;
    case ID_AUTOLEVELS:
    case ID_MENU_AUTO_LEVELS:
        onAutoLevels();
        return true;
    case ID_UNDO:
    case ID_MENU_UNDO:
        onUndo();
        return true;
    case ID_EDIT_TITLE:
    case ID_F2_EDIT:
        onEditTitle();
        return true;
    case ID_EXIF:
        onExif();
        return true;
    case ID_ENHANCE:
        onEnhance();
        return true;
    case ID_PRINT:
        onPrint();
        return true;
    default:
        return CBasePage::OnCommand(command);
    }
}

bool CAddImageDlg::AddImageFile(const QString& path, const QString& subfolder)
{
    CImageAdder adder(m_rows, m_app.GetPrompter(),
                      CImageAdder::OptionsFromSettings(m_app.GetSettings()));
    return adder.AddImageFile(path, subfolder);
}

void CAddImageDlg::onAdd()
{
    Settings& settings = m_app.GetSettings();
    const QStringList paths = m_imageChoosers->openImages(
        settings.getString(PathsSection, PhotosPath), CImageAdder::FileFilter());
    if (paths.isEmpty())
        return;
    settings.writeString(PathsSection, PhotosPath, QFileInfo(paths.first()).absolutePath());
    m_app.Album().MarkModified();
    storeDescription();
    CImageAdder adder(m_rows, m_app.GetPrompter(), CImageAdder::OptionsFromSettings(settings));
    if (adder.AddFiles(paths) > 0)
        afterAdding(true);
}

void CAddImageDlg::onAddFolder()
{
    Settings& settings = m_app.GetSettings();
    ImageListChoosers::FolderChoice preset{
        settings.getString(PathsSection, PhotosPath),
        settings.getInt(SettingsSection, QStringLiteral("AddWithSubfolders"), 1) != 0,
        settings.getInt(SettingsSection, QStringLiteral("ParseSubfolders"), 1) != 0};
    const auto choice = m_imageChoosers->imageFolder(loadString(IDS_SELECT_PHOTOS_FOLDER), preset);
    if (!choice)
        return;
    settings.writeInt(SettingsSection, QStringLiteral("AddWithSubfolders"), choice->withSubfolders);
    settings.writeInt(SettingsSection, QStringLiteral("ParseSubfolders"), choice->parseSubfolders);
    settings.writeString(PathsSection, PhotosPath, choice->folder);
    storeDescription();
    const WaitCursor wait;
    CImageAdder adder(m_rows, m_app.GetPrompter(), CImageAdder::OptionsFromSettings(settings));
    adder.AddFolderImages(choice->folder, choice->withSubfolders, choice->parseSubfolders);
    afterAdding(false);
}

void CAddImageDlg::afterAdding(bool selectLast)
{
    showSplash(false);
    renumberAlbum();
    if (m_rows.IsEmpty())
        return refill({});
    refill({selectLast ? static_cast<int>(m_rows.Size()) - 1 : 0});
}

void CAddImageDlg::onRemove()
{
    // Delete belongs to the text while a description or a title is being typed.
    const QWidget* focus = QApplication::focusWidget();
    if (m_description->hasFocus() ||
        (focus != nullptr && focus != m_titles && m_titles->isAncestorOf(focus)))
        return;
    const std::vector<int> selected = SelectedRows();
    if (selected.empty())
        return;
    if (m_app.GetPrompter().ask(loadString(IDS_REMOVE_IMAGES), Prompter::Buttons::YesNo,
                                Prompter::Answer::No,
                                Prompter::Icon::Question) != Prompter::Answer::Yes)
        return;
    storeDescription();
    const WaitCursor wait;
    const int mark = m_paths->currentRow() < 0 ? 0 : m_paths->currentRow();
    rowmoves::Remove(m_rows.Rows(), selected);
    if (m_rows.IsEmpty())
        return refill({});
    refill({std::min(mark, static_cast<int>(m_rows.Size()) - 1)});
}

void CAddImageDlg::onMove(int command)
{
    storeDescription();
    const std::vector<int> selected = SelectedRows();
    if (selected.empty())
        return;
    std::vector<PageImage>& rows = m_rows.Rows();
    switch (command) {
    case ID_TOP:
        refill(rowmoves::Top(rows, selected));
        break;
    case ID_UP:
        refill(rowmoves::Up(rows, selected));
        break;
    case ID_DOWN:
        refill(rowmoves::Down(rows, selected));
        break;
    default:
        refill(rowmoves::Bottom(rows, selected));
        break;
    }
}

void CAddImageDlg::onRotate(int angle)
{
    if (m_previousSelection.empty() || !selectionEditable())
        return;
    storeDescription();
    SyncPageToAlbum();
    {
        const WaitCursor wait;
        m_edits.RotateSelection(selectedForEdit(), angle);
    }
    afterEdit();
}

void CAddImageDlg::onAutoLevels()
{
    if (m_previousSelection.empty() || !selectionEditable()) {
        updateButtons(); // a press on the check-style button must not change its look
        return;
    }
    storeDescription();
    SyncPageToAlbum();
    {
        const WaitCursor wait;
        m_edits.AutoLevelsSelection(selectedForEdit());
    }
    afterEdit();
}

void CAddImageDlg::onUndo()
{
    if (!m_edits.HasBackups())
        return;
    m_edits.UndoLastEdit();
    afterEdit();
}

void CAddImageDlg::afterEdit()
{
    m_preview->Reload();
    updateButtons();
}

void CAddImageDlg::onEditTitle()
{
    if (m_previousSelection.size() != 1)
        return;
    m_titles->setFocus();
    m_titles->editItem(m_titles->item(m_previousSelection.front()));
}

void CAddImageDlg::readProgramFolders()
{
    // The editor a setting names, else our own one installed beside this program. It counts
    // as there only when its program is: a button that starts nothing would only puzzle.
    const Settings enhancer(QStringLiteral("Lumivex"));
    m_enhancerProgram =
        enhancer.contains(QString(), ProgramPath)
            ? QDir(enhancer.getString(QString(), ProgramPath)).filePath(QStringLiteral("Lumivex.exe"))
            : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("lumivex"));
    m_enhancerAvailable = QFileInfo(m_enhancerProgram).isFile();
    const Settings print(QStringLiteral("Quindle"));
    m_printFolder = print.getString(QString(), ProgramPath);
    m_printAvailable = print.contains(QString(), ProgramPath);
}

QString CAddImageDlg::listFilePath() const
{
    return QDir(m_temporaryFolder)
        .filePath(QStringLiteral("qd_") + QString::fromUtf8(m_app.Album().AlbumName().c_str()));
}

bool CAddImageDlg::writeListFile(QString& listPath) const
{
    listPath = listFilePath();
    QByteArray lines;
    for (const QString& path : selectedPaths())
        lines += QDir::toNativeSeparators(path).toUtf8() + '\n';
    return platform::writeFileSafely(listPath, lines);
}

void CAddImageDlg::onEnhance()
{
    readProgramFolders();
    if (!m_enhancerAvailable)
        return;
    const QString& program = m_enhancerProgram;
    if (m_previousSelection.empty()) {
        m_starter(program, {});
        return;
    }
    QString listPath;
    if (writeListFile(listPath))
        m_starter(program,
                  {QStringLiteral("\\b") + listPath, QStringLiteral("\\w") + m_listener.Id()});
}

void CAddImageDlg::onPrint()
{
    readProgramFolders();
    if (!m_printAvailable)
        return;
    const QString program = QDir(m_printFolder).filePath(QStringLiteral("Quindle.exe"));
    QString listPath;
    if (!m_previousSelection.empty()) {
        if (writeListFile(listPath))
            m_starter(program, {QStringLiteral("\\b"), listPath});
    } else if (m_rows.IsEmpty()) {
        m_starter(program, {});
    } else if (const int mark = m_paths->currentRow(); mark >= 0) {
        // The photo under the selection mark: its file name, then its folder.
        const QFileInfo photo(m_rows.Rows()[mark].path);
        m_starter(program, {QDir::separator() + photo.fileName(),
                            QDir::toNativeSeparators(photo.absolutePath()) + QDir::separator()});
    }
}

std::unique_ptr<QMenu> CAddImageDlg::BuildContextMenu()
{
    readProgramFolders();
    auto menu = std::make_unique<QMenu>(this);
    const bool editable = !m_previousSelection.empty() && selectionEditable();
    const auto add = [&menu](int textId, int command, bool enabled) {
        QAction* action = menu->addAction(loadString(textId));
        action->setData(command);
        action->setEnabled(enabled);
        return action;
    };
    add(IDS_MENU_ROTATE_90, ID_MENU_ROTATE_90, editable);
    add(IDS_MENU_ROTATE_180, ID_MENU_ROTATE_180, editable);
    add(IDS_MENU_ROTATE_270, ID_MENU_ROTATE_270, editable);
    add(IDS_MENU_AUTO_LEVELS, ID_MENU_AUTO_LEVELS, editable);
    if (m_enhancerAvailable || m_printAvailable)
        menu->addSeparator();
    if (m_enhancerAvailable)
        menu->setDefaultAction(add(IDS_MENU_ENHANCE, ID_ENHANCE, true));
    if (m_printAvailable)
        add(IDS_MENU_PRINT_IMAGES, ID_PRINT, true);
    if (m_edits.HasBackups()) {
        menu->addSeparator();
        add(IDS_MENU_UNDO, ID_MENU_UNDO, true);
    }
    return menu;
}

void CAddImageDlg::showContextMenu(QListWidget* list, const QPoint& position)
{
    const std::unique_ptr<QMenu> menu = BuildContextMenu();
    if (QAction* chosen = menu->exec(list->viewport()->mapToGlobal(position)))
        OnCommand(chosen->data().toInt());
}
