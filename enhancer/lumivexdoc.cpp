// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/lumivexdoc.h"

#include <utility>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "enhancer/imagefile.h"
#include "enhancer/lumivexstrings.h"
#include "platform/choosers.h"
#include "platform/phototypes.h"
#include "platform/prompter.h"

namespace
{

// A new document is named by the template's document name.
QString untitledName()
{
    return loadLumivexString(IDS_LX_DOC_TEMPLATE).section(QLatin1Char('\n'), 2, 2);
}

// Read-only: no write permission for its owner, or none for us. The permission bits count
// even for an administrator, whom the system would let write anyway.
bool isReadOnly(const QString& path)
{
    const QFileInfo file(path);
    return !file.isWritable() || !(file.permissions() & QFileDevice::WriteOwner);
}

} // namespace

QString OpenFilter()
{
    return imaging::withModernTypes(loadLumivexString(IDS_LX_OPEN_FILTER),
                                    imaging::modernPhotoTypes());
}

CLumivexDoc::CLumivexDoc() : m_baseTitle(untitledName()) {}

void CLumivexDoc::SetModifiedFlag(bool modified)
{
    m_modified = modified;
}

QString CLumivexDoc::Title() const
{
    // The mark is kept apart from the name, so a new name never loses its last characters.
    return m_modified ? m_baseTitle + QStringLiteral(" *") : m_baseTitle;
}

void CLumivexDoc::SetPathName(const QString& path)
{
    m_pathName = path;
    m_baseTitle = path.isEmpty() ? untitledName() : QFileInfo(path).fileName();
}

void CLumivexDoc::UpdateViews(int hint)
{
    if (listeners.updateViews)
        listeners.updateViews(hint);
}

void CLumivexDoc::TellUndoButton(bool undo)
{
    if (listeners.undoButton)
        listeners.undoButton(undo);
}

void CLumivexDoc::ClearUndo()
{
    m_undoAvailable = false;
    m_redoAvailable = false;
    // Undo counts from the image as it was loaded; an earlier image's edits do not count.
    m_changeCounter = 0;
    m_currentState = m_savedState = m_nextState++;
    m_previousState = 0;
}

bool CLumivexDoc::Load(const QString& path, QString* reason)
{
    m_previous.Release();
    m_current.Release();
    ClearUndo();
    SetModifiedFlag(false);
    m_keptType.clear();
    imaging::RawFormat format = imaging::RawFormat::Unknown;
    if (!LoadImageFile(path, m_current, reason, &format)) {
        SetPathName(QString());
        m_needsSaveAs = false;
        return false;
    }
    // The contents count, not the name: a phone's HEIC renamed to .jpg is kept all the same.
    m_keptType = KeptOriginalType(format);
    m_needsSaveAs = !HasEncoder(path) || !m_keptType.isEmpty();
    SetPathName(path);
    return true;
}

bool CLumivexDoc::New(Prompter& prompter, Choosers& choosers)
{
    if (!SaveModified(prompter, choosers))
        return false;
    m_previous.Release();
    m_current.Release();
    ClearUndo();
    TellUndoButton(true);
    m_needsSaveAs = false;
    m_keptType.clear();
    SetPathName(QString());
    SetModifiedFlag(false);
    UpdateViews(HintRedraw);
    return true;
}

bool CLumivexDoc::ApplyResult(BITMAPINFOHEADER header, uint8_t* packedPixels)
{
    if (packedPixels == nullptr)
        return false;
    // The image before the edit becomes the one Undo brings back; the older one goes.
    m_previous.Release();
    m_previous.Swap(m_current);
    m_previousState = std::exchange(m_currentState, m_nextState++);
    m_undoAvailable = true;
    m_redoAvailable = false;
    TellUndoButton(true);
    m_current.path = m_previous.path;
    m_current.Assign(header, packedPixels, true);
    SetModifiedFlag(true);
    const bool sameSize =
        header.biWidth == m_previous.widthPixels && header.biHeight == m_previous.heightPixels;
    UpdateViews(sameSize ? HintSameSize : HintRedraw);
    ++m_changeCounter;
    return true;
}

void CLumivexDoc::UndoRedo()
{
    if (!CanUndoRedo())
        return;
    m_current.Swap(m_previous);
    std::swap(m_currentState, m_previousState);
    m_changeCounter += m_undoAvailable ? -1 : 1;
    std::swap(m_undoAvailable, m_redoAvailable);
    TellUndoButton(m_undoAvailable);
    UpdateViews(HintStatusBar);
    // Modified exactly when the image shown is not the one the file holds.
    SetModifiedFlag(m_currentState != m_savedState);
}

QString CLumivexDoc::UndoMenuText() const
{
    return loadLumivexString(m_undoAvailable ? IDS_LX_UNDO_MENU : IDS_LX_REDO_MENU);
}

QString CLumivexDoc::UndoTooltip() const
{
    return loadLumivexString(m_undoAvailable ? IDS_LX_UNDO_TIP : IDS_LX_REDO_TIP);
}

bool CLumivexDoc::Save(Prompter& prompter, Choosers& choosers)
{
    if (!m_current.HasPixels())
        return false;
    const QFileInfo file(m_pathName);
    if (!m_keptType.isEmpty() && file.isFile())
        prompter.message(loadLumivexString(IDS_LX_KEEPS_ORIGINAL).arg(m_keptType, file.fileName()),
                         Prompter::Icon::Information);
    if (m_pathName.isEmpty() || !file.isFile() || isReadOnly(m_pathName) || m_needsSaveAs)
        return SaveAs(prompter, choosers);
    return SaveTo(m_pathName, prompter);
}

QString CLumivexDoc::SuggestedSaveName() const
{
    if (m_pathName.isEmpty())
        return m_baseTitle + QStringLiteral(".jpg");
    if (!HasEncoder(m_pathName) || !m_keptType.isEmpty())
        return FreeNameBeside(m_pathName, QStringLiteral(".jpg"));
    return m_pathName;
}

bool CLumivexDoc::IsKeptOriginal(const QString& path) const
{
    if (m_keptType.isEmpty())
        return false;
    const QFileInfo chosen(path);
    const QFileInfo original(m_pathName);
    return chosen.absoluteFilePath() == original.absoluteFilePath() ||
           (chosen.exists() && chosen.canonicalFilePath() == original.canonicalFilePath());
}

bool CLumivexDoc::SaveAs(Prompter& prompter, Choosers& choosers)
{
    if (!m_current.HasPixels())
        return false;
    for (;;) {
        const QString chosen =
            choosers.saveFile(loadLumivexString(IDS_LX_SAVE_AS_TITLE), SuggestedSaveName(),
                              loadLumivexString(IDS_LX_SAVE_FILTER));
        if (chosen.isEmpty())
            return false;
        if (chosen.indexOf(QLatin1Char('.'), 1) < 0) {
            prompter.message(loadLumivexString(IDS_LX_NEED_EXTENSION), Prompter::Icon::Information);
            continue;
        }
        if (IsKeptOriginal(chosen)) {
            prompter.message(
                loadLumivexString(IDS_LX_KEEP_ORIGINAL_NAME).arg(QFileInfo(chosen).fileName()),
                Prompter::Icon::Information);
            continue;
        }
        if (!SaveTo(chosen, prompter))
            return false;
        m_needsSaveAs = false;
        // From here on the document is the saved copy, which the editor writes.
        m_keptType.clear();
        SetPathName(chosen);
        return true;
    }
}

bool CLumivexDoc::ClearReadOnly(const QString& path, Prompter& prompter)
{
    if (prompter.ask(loadLumivexString(IDS_LX_READ_ONLY_TARGET), Prompter::Buttons::YesNo,
                     Prompter::Answer::Yes, Prompter::Icon::Warning) != Prompter::Answer::Yes)
        return false;
    QFile file(path);
    if (!file.setPermissions(file.permissions() | QFileDevice::WriteOwner) || isReadOnly(path)) {
        prompter.message(loadLumivexString(IDS_LX_CANNOT_WRITE), Prompter::Icon::Error);
        return false;
    }
    return true;
}

bool CLumivexDoc::SaveTo(const QString& path, Prompter& prompter)
{
    const QFileInfo target(path);
    if (target.exists() && isReadOnly(path) && !ClearReadOnly(path, prompter))
        return false;
    const bool saved = SaveImageFile(path, m_current.header, m_current.Pixels(),
                                     QString::fromStdString(m_current.path));
    if (!saved)
        prompter.message(loadLumivexString(IDS_LX_WRITE_ERROR), Prompter::Icon::Error);
    if (listeners.imageSaved)
        listeners.imageSaved();
    if (!saved)
        return false;
    // The file holds the image shown now: undoing from here is a change again.
    m_savedState = m_currentState;
    m_changeCounter = 0;
    SetModifiedFlag(false);
    return true;
}

bool CLumivexDoc::SaveModified(Prompter& prompter, Choosers& choosers)
{
    if (!m_modified)
        return true;
    if (prompter.ask(loadLumivexString(IDS_LX_SAVE_CHANGES), Prompter::Buttons::YesNo,
                     Prompter::Answer::Yes, Prompter::Icon::Question) != Prompter::Answer::Yes)
        return true;
    return Save(prompter, choosers);
}

bool CLumivexDoc::LoadAndTell(const QString& path, Prompter& prompter)
{
    QString reason;
    const bool loaded = Load(path, &reason);
    if (!loaded)
        prompter.message(loadLumivexString(IDS_LX_OPEN_FAILED).arg(path, reason),
                         Prompter::Icon::Error);
    if (listeners.initialUpdate)
        listeners.initialUpdate();
    return loaded;
}

bool CLumivexDoc::LoadEntry(int32_t index, Prompter& prompter)
{
    m_index = index;
    return LoadAndTell(m_navigation[index], prompter);
}

bool CLumivexDoc::StartList(const QStringList& paths, Prompter& prompter)
{
    m_navigation = paths;
    m_listMode = !paths.isEmpty();
    m_index = -1;
    return m_listMode && LoadEntry(0, prompter);
}

bool CLumivexDoc::Open(Prompter& prompter, Choosers& choosers)
{
    const QString folder = m_pathName.isEmpty() ? QString() : QFileInfo(m_pathName).absolutePath();
    const QStringList paths =
        choosers.openFiles(loadLumivexString(IDS_LX_OPEN_TITLE), folder, OpenFilter());
    if (paths.isEmpty() || !SaveModified(prompter, choosers))
        return false;
    m_listMode = paths.size() > 1;
    // A single photo opens alone: nothing is left to step through.
    m_navigation = m_listMode ? paths : QStringList();
    m_index = -1;
    const bool loaded = m_listMode ? LoadEntry(0, prompter) : LoadAndTell(paths.front(), prompter);
    SetModifiedFlag(false);
    UpdateViews(HintStatusBar);
    return loaded;
}

bool CLumivexDoc::Step(int32_t step, Prompter& prompter, Choosers& choosers)
{
    const int32_t target = m_index + step;
    if (m_navigation.isEmpty() || target < 0 || target >= m_navigation.size())
        return false;
    // An image that was to be saved and was not stays on the screen.
    if (!SaveModified(prompter, choosers))
        return false;
    return LoadEntry(target, prompter);
}

bool CLumivexDoc::GoPrevious(Prompter& prompter, Choosers& choosers)
{
    return Step(-1, prompter, choosers);
}

bool CLumivexDoc::GoNext(Prompter& prompter, Choosers& choosers)
{
    return Step(1, prompter, choosers);
}
