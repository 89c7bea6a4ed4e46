// SPDX-License-Identifier: GPL-2.0-or-later
// ProjectFile: saving the album as a project file and opening one. Saving uses the album's
// project path, or makes one in the projects folder from the album's name, or lets the user
// choose a file; opening reads XML project files and the older binary format.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QString>

#include "sdk/resultcode.h"

class AlbumProject;
class Choosers;
class ImageSearch;
class Prompter;

class ProjectFile
{
public:
    // The album-name dialog, shown with the proposed name until it gives a name or is
    // cancelled (CAlbumName::Ask): the name, or nothing when cancelled.
    using AlbumNameDialog = std::function<std::optional<QString>(const QString& proposed)>;

    ProjectFile(AlbumProject& album, Prompter& prompter, Choosers& choosers);

    // The album list's thumbnail size S (thumbnails are S by S - 28); 128 unless set.
    void SetThumbnailSize(int side);
    // Without a dialog the album keeps the name it has.
    void SetAlbumNameDialog(AlbumNameDialog dialog) { m_nameDialog = std::move(dialog); }
    // The folder list for moved photos; the program's own unless set.
    void SetImageSearch(ImageSearch& search) { m_search = &search; }

    // The whole save with its "Saving..." progress: 0 also when the user chose not to
    // save; otherwise the result of writing.
    ResultCode SaveProject();
    // Writes the album to path; see ProjectWriter.
    ResultCode WriteProject(const char* path);
    // Reads path into the album, as XML or else in the older format: 0 or its code. ask:
    // questions may be put to the user.
    ResultCode OpenProject(const char* path, bool ask);
    bool ReadXmlProject(const char* path, bool ask);
    // Gives the album a free project path in the projects folder, named after the album
    // (asking for a name first when it has no project file); false when none can be made.
    bool MakeDefaultProjectPath();

    // The folder for new project files: the "ProjectPath" setting, by default "Projects" in
    // the user's data folder, created when missing; "" when it cannot be made.
    static QString ProjectsFolder();
    // The album name as a file name: characters that file systems or shells treat specially
    // become '_'.
    static std::string FileNameFor(const std::string& albumName);

private:
    ResultCode saveWithProgress(const char* path);
    ResultCode saveToChosenFile();
    ResultCode openProject(const char* path, bool ask);

    AlbumProject& m_album;
    Prompter& m_prompter;
    Choosers& m_choosers;
    ImageSearch* m_search;
    AlbumNameDialog m_nameDialog;
    int m_thumbnailSide = 128;
};
