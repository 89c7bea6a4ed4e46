// SPDX-License-Identifier: GPL-2.0-or-later
// ImageSearch: finds photos of an album that are no longer where the project file says,
// in the folders the user has pointed to. The program has one list of such folders for its
// whole run, so a folder named while opening one album serves every later one.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "sdk/gv_string.h"

class Choosers;
class Prompter;

class ImageSearch
{
public:
    // The program's list: empty at start, kept until the program ends.
    static ImageSearch& Global();

    // Looks for the photo at path (as stored) by its file name in every search folder, in
    // the order they were added; the first folder that holds it gives the new path and the
    // answer true. When none does and ask is false, the answer is true and path stays.
    // Otherwise the user is asked whether to name a folder: Cancel answers false (ask no
    // more, keep the photos as stored), No answers true (leave this photo out), Yes shows
    // the folder chooser, adds the folder and searches again.
    bool ResolveImagePath(gv_string& path, bool ask, Prompter& prompter, Choosers& choosers);

    // Adds a folder at the end of the list.
    void AddFolder(const std::string& folder);
    std::vector<std::string> Folders() const;
    // Empties the list (a fresh start, for tests).
    void Clear();

private:
    // The path of fileName in the first search folder that holds it, or "".
    std::string find(const std::string& fileName) const;

    // The album manager's loader reads albums on a thread of its own.
    mutable std::mutex m_mutex;
    std::vector<std::string> m_folders;
};
