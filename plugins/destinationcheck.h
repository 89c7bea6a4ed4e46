// SPDX-License-Identifier: GPL-2.0-or-later
// CDestinationCheck: what the generation page does with the destination folder before an
// album is generated into it: proposes one, makes it when missing, refuses folders that must
// not be emptied, asks before a non-empty folder is emptied, and empties it (to the Trash
// unless the user chose to delete at once). A folder that holds this album (its manifest lists
// every file in it) is neither asked about nor emptied: the generation updates it in place.
//
// Emptying a folder deletes whatever it holds, so beside the program's own folder some
// folders are never accepted: a folder that holds photos of the album, the program, the
// user's home folder (or a folder above it), and the top folder of a disk.
#pragma once

#include <functional>
#include <optional>

#include <QString>

class AlbumProject;
class Prompter;

class CDestinationCheck
{
public:
    // The two choices of the "File Deletion Warning" dialog ("Recycle", "NotShowAgain").
    struct DeletionMethod {
        bool removeImmediately = false;
        bool notShowAgain = false;
    };
    // Shows the deletion warning with its text, starting from the stored choices: the
    // choices on OK, nothing on Cancel.
    using DeletionWarning =
        std::function<std::optional<DeletionMethod>(const QString& text, DeletionMethod stored)>;

    // Why the last check did not accept the destination.
    enum class Refusal {
        None,
        CannotCreate,       // the folder does not exist and cannot be made
        NotFolder,          // a file has that name
        InstallationFolder, // inside the program's folder
        HoldsProgram,       // above the program's folder
        Root,               // the top folder of a disk
        Home,               // the user's home folder or a folder above it
        HoldsPhotos,        // photos of the album are inside
        Declined,           // the user did not agree to empty it
        EmptyingFailed,     // some entries could not be removed
    };

    // programFolder: the folder of the running program.
    CDestinationCheck(Prompter& prompter, DeletionWarning warning, QString programFolder);

    // Callers that decide themselves how the folder is emptied (the command line) skip the
    // warning dialog and leave the stored choices as they are; nothing restores the dialog.
    void SetDeletionMethod(std::optional<bool> removeImmediately) { m_fixed = removeImmediately; }

    // The folder the page offers: the album's destination when that folder exists, else the
    // "ResultPath" setting (the user's pictures folder when empty) with the album's name as a
    // file name below it.
    static QString ProposeDestination(AlbumProject& album);
    static QString DefaultResultFolder();

    // The destination exists as a folder, or is made with every folder on its way; false,
    // after telling the user, otherwise.
    bool PrepareFolder(const QString& destination);
    // Checks what can be checked before the folder is made (it need not exist): false, after
    // telling the user, for a folder that would be refused once made.
    bool Acceptable(const QString& destination, AlbumProject& album);
    // Checks the destination (which must exist) and empties it when the user agrees: true
    // when the album may be generated into it. Every refusal is told to the user, except a
    // question answered No or a dialog cancelled.
    bool Check(const QString& destination, AlbumProject& album);

    Refusal LastRefusal() const { return m_refusal; }

private:
    bool refuse(Refusal why, const QString& message);
    bool refusedFolder(const QString& destination, AlbumProject& album);
    std::optional<DeletionMethod> deletionMethod(const QString& destination);
    bool empty(const QString& destination, bool removeImmediately, AlbumProject& album);

    Prompter& m_prompter;
    DeletionWarning m_warning;
    QString m_programFolder;
    std::optional<bool> m_fixed;
    Refusal m_refusal = Refusal::None;
};
