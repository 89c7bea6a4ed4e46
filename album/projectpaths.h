// SPDX-License-Identifier: GPL-2.0-or-later
// Paths as project files store them and as the file system wants them. Stored paths may
// come from Windows, where '\\' separates their parts; elsewhere '\\' is an ordinary
// character of a name, so it separates only in paths written on Windows (a drive letter or a
// network share at the start). Paths handed to the file system are native. Texts are UTF-8.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace projectpaths
{

// True for a path written on Windows: "C:\\...", "C:/..." or "\\\\server\\...".
bool writtenOnWindows(std::string_view stored);
// The stored path with every separator turned into the native one.
std::string nativePath(std::string_view stored);
// The text after the last separator; the whole text when it has none.
std::string fileName(std::string_view stored);
// folder and name joined by one native separator.
std::string join(std::string_view folder, std::string_view name);
// True when the text ends in a separator.
bool endsInSeparator(std::string_view path);

// A UTF-8 text as a file-system path, and back.
std::filesystem::path toPath(std::string_view utf8);
std::string fromPath(const std::filesystem::path& path);

// True when something exists at the stored path (never throws).
bool exists(std::string_view stored);

// Makes paths relative to one folder: the folder is resolved once, each photo on request.
class RelativeTo
{
public:
    // folder: the folder of the project file.
    explicit RelativeTo(std::string_view folder);
    // The photo's path relative to the folder, "" when none can be made.
    std::string operator()(std::string_view photo) const;

private:
    std::filesystem::path m_base;
    bool m_valid = false;
};

} // namespace projectpaths
