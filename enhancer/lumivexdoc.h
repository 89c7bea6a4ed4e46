// SPDX-License-Identifier: GPL-2.0-or-later
// CLumivexDoc: the photo editor's document without its windows. It holds the image and the
// one earlier state the Undo command swaps with it, the list of photos the editor steps
// through, the modified mark of the title, and the Save, Save As, Open and navigation
// decisions, which ask the user through a Prompter and Choosers.
#pragma once

#include <cstdint>
#include <functional>

#include <QString>
#include <QStringList>

#include "enhancer/imagerecord.h"

class Choosers;
class Prompter;

// The open dialog's filter: the editor's types and the newer photo types this machine decodes.
QString OpenFilter();

class CLumivexDoc
{
public:
    // Hints of the view updates: a redraw, a redraw of an image of the same size, and the
    // status bar's refresh.
    enum UpdateHint : int { HintRedraw = 0, HintSameSize = 1, HintStatusBar = 500 };

    // What the windows do when the document changes; any may be left empty.
    struct Listeners {
        std::function<void(int hint)> updateViews;
        // A new image: the view chooses its window size and zoom again.
        std::function<void()> initialUpdate;
        // The toolbar's Undo button shows Undo (true) or Redo (false).
        std::function<void(bool undo)> undoButton;
        // After every attempt to save: the album builder refreshes its thumbnails.
        std::function<void()> imageSaved;
    };

    CLumivexDoc();
    CLumivexDoc(const CLumivexDoc&) = delete;
    CLumivexDoc& operator=(const CLumivexDoc&) = delete;

    Listeners listeners;

    const ImageRecord& Current() const { return m_current; }
    const ImageRecord& Previous() const { return m_previous; }

    // Loads path as the document's image; both states are released first. False, with the
    // reason in *reason, leaves the document without an image.
    bool Load(const QString& path, QString* reason = nullptr);
    // An empty document ("New"), after asking to save a modified image; false when the
    // user kept it because saving did not happen.
    bool New(Prompter& prompter, Choosers& choosers);

    // Takes over the packed pixels of an edit's result (ImageRecord::AllocatePacked) with
    // their header; the image before becomes the one Undo brings back. A null result (an
    // edit that was stopped) changes nothing and gives false. The header comes by value: it
    // is often the current image's own, which this replaces.
    bool ApplyResult(BITMAPINFOHEADER header, uint8_t* packedPixels);
    // The Undo command: swaps the two states, so that it undoes and redoes in turn.
    void UndoRedo();
    bool CanUndoRedo() const
    {
        return (m_undoAvailable || m_redoAvailable) && m_current.HasPixels();
    }
    bool UndoAvailable() const { return m_undoAvailable; }
    bool RedoAvailable() const { return m_redoAvailable; }
    int32_t ChangeCounter() const { return m_changeCounter; }
    // The texts the window shows for the Undo command.
    QString UndoMenuText() const;
    QString UndoTooltip() const;

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified);
    // The window's title: the file's name ("Lumi" for a new document), " *" when modified.
    QString Title() const;
    QString PathName() const { return m_pathName; }
    bool NeedsSaveAs() const { return m_needsSaveAs; }
    // The type's name ("HEIF photos") when the file holds a type the editor keeps as it is,
    // else "".
    const QString& KeptType() const { return m_keptType; }

    // The Save command; goes to Save As when the file is missing, read-only or of a type
    // without encoder. A photo of a kept type is never written over: the user is told so and
    // chooses a new name, a JPEG file beside it being offered. True when the image was written.
    bool Save(Prompter& prompter, Choosers& choosers);
    bool SaveAs(Prompter& prompter, Choosers& choosers);
    // Asks message 142 when the image is modified; Yes saves. False when the image should
    // stay because it was to be saved and was not.
    bool SaveModified(Prompter& prompter, Choosers& choosers);

    // The Open command: one photo opens alone, several become the list to step through.
    // False when the user cancelled or the first photo did not open.
    bool Open(Prompter& prompter, Choosers& choosers);
    // Starts stepping through paths (the command line's list): the first is loaded.
    bool StartList(const QStringList& paths, Prompter& prompter);
    bool ListMode() const { return m_listMode; }
    const QStringList& NavigationList() const { return m_navigation; }
    int32_t NavigationIndex() const { return m_index; }
    bool CanGoPrevious() const { return !m_navigation.isEmpty() && m_index > 0; }
    bool CanGoNext() const { return !m_navigation.isEmpty() && m_index < m_navigation.size() - 1; }
    // The previous and next image commands. False when the image stayed.
    bool GoPrevious(Prompter& prompter, Choosers& choosers);
    bool GoNext(Prompter& prompter, Choosers& choosers);

private:
    bool SaveTo(const QString& path, Prompter& prompter);
    bool ClearReadOnly(const QString& path, Prompter& prompter);
    bool LoadEntry(int32_t index, Prompter& prompter);
    bool LoadAndTell(const QString& path, Prompter& prompter);
    bool Step(int32_t step, Prompter& prompter, Choosers& choosers);
    void SetPathName(const QString& path);
    void ClearUndo();
    void UpdateViews(int hint);
    void TellUndoButton(bool undo);
    QString SuggestedSaveName() const;
    bool IsKeptOriginal(const QString& path) const;

    ImageRecord m_current;
    ImageRecord m_previous;
    QStringList m_navigation;
    int32_t m_index = -1;
    bool m_listMode = false;
    bool m_needsSaveAs = false;
    QString m_keptType;
    bool m_modified = false;
    QString m_pathName;
    QString m_baseTitle;
    bool m_undoAvailable = false;
    bool m_redoAvailable = false;
    int32_t m_changeCounter = 0;
    // Which image the file holds: every state gets a number, and the file holds the state
    // whose number was saved (or loaded).
    uint64_t m_currentState = 0;
    uint64_t m_previousState = 0;
    uint64_t m_savedState = 0;
    uint64_t m_nextState = 1;
};
