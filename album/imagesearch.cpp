// SPDX-License-Identifier: GPL-2.0-or-later
#include "album/imagesearch.h"

#include <filesystem>
#include <system_error>

#include "album/projectpaths.h"
#include "platform/choosers.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"

namespace fs = std::filesystem;

ImageSearch& ImageSearch::Global()
{
    static ImageSearch search;
    return search;
}

bool ImageSearch::ResolveImagePath(gv_string& path, bool ask, Prompter& prompter,
                                   Choosers& choosers)
{
    const std::string stored = path.c_str();
    const std::string name = projectpaths::fileName(stored);
    // Each Yes adds a folder and searches again, until the photo is found or the user
    // answers No or Cancel.
    for (;;) {
        if (const std::string found = find(name); !found.empty()) {
            path = found.c_str();
            return true;
        }
        if (!ask)
            return true;
        const QString question =
            loadString(IDS_IMAGE_NOT_ACCESSIBLE).arg(QString::fromUtf8(stored));
        const Prompter::Answer answer =
            prompter.ask(question, Prompter::Buttons::YesNoCancel, Prompter::Answer::Yes);
        if (answer == Prompter::Answer::Cancel)
            return false;
        if (answer != Prompter::Answer::Yes)
            return true;
        const QString folder =
            choosers.folder(loadString(IDS_SELECT_PHOTOS_FOLDER),
                            QString::fromStdString(projectpaths::nativePath(stored)));
        if (!folder.isEmpty())
            AddFolder(folder.toStdString());
    }
}

std::string ImageSearch::find(const std::string& fileName) const
{
    // A stored path that ends in a separator names no file to look for.
    if (fileName.empty())
        return std::string();
    std::lock_guard lock(m_mutex);
    for (const std::string& folder : m_folders) {
        const std::string candidate = projectpaths::join(folder, fileName);
        std::error_code error;
        const fs::path native = projectpaths::toPath(candidate);
        if (fs::exists(native, error) && !fs::is_directory(native, error))
            return candidate;
    }
    return std::string();
}

void ImageSearch::AddFolder(const std::string& folder)
{
    std::string entry = projectpaths::nativePath(folder);
    if (!projectpaths::endsInSeparator(entry))
        entry += projectpaths::nativePath("/");
    std::lock_guard lock(m_mutex);
    m_folders.push_back(entry);
}

std::vector<std::string> ImageSearch::Folders() const
{
    std::lock_guard lock(m_mutex);
    return m_folders;
}

void ImageSearch::Clear()
{
    std::lock_guard lock(m_mutex);
    m_folders.clear();
}
