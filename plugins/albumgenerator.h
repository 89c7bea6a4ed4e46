// SPDX-License-Identifier: GPL-2.0-or-later
// CAlbumGenerator: the generation page's Generate without the window: makes and checks the
// destination folder, stores it in the album, has the chosen plug-in generate the album
// through the host, and saves the album afterwards.
#pragma once

#include <QString>
#include <QStringList>

#include "sdk/resultcode.h"

class AlbumProject;
class CDestinationCheck;
class CGallivexImpl;
class ProjectFile;
class Prompter;

class CAlbumGenerator
{
public:
    struct Outcome {
        // The page's answer: 0 when the plug-in ran, -1 when a check stopped it,
        // GV_E_FILENOTFOUND when the folder could not be made.
        int result = 0;
        ResultCode plugin = GV_OK; // the plug-in's result when it ran
        bool saved = false;        // the album was saved afterwards
        ResultCode save = GV_OK;   // the save's result when it was saved
    };

    CAlbumGenerator(CGallivexImpl& host, CDestinationCheck& check, ProjectFile& projectFile,
                    Prompter& prompter);

    // saveAtOnce: the page's save-settings box; without it the user is asked before the
    // album is saved. A failed save is told to the user. The files and folders chosen in
    // the album's parameters are named first, and nothing is done when the user says No.
    Outcome Generate(const QString& destination, bool saveAtOnce);
    // The files and folders of the album's file and folder parameters that exist, which the
    // album publishes besides its photos: "caption: path" each.
    static QStringList PublishedExtras(AlbumProject& album);
    // Saves a modified album as the page does after generating and on Next; GV_OK when the
    // album was not modified or the user chose not to save.
    ResultCode SaveIfModified(bool saveAtOnce, bool* saved = nullptr);

private:
    CGallivexImpl& m_host;
    CDestinationCheck& m_check;
    ProjectFile& m_projectFile;
    Prompter& m_prompter;
};
