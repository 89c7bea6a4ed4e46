// SPDX-License-Identifier: GPL-2.0-or-later
#include "album/projectpaths.h"

#include <system_error>

namespace fs = std::filesystem;

namespace projectpaths
{

namespace
{

#ifdef _WIN32
constexpr char NativeSeparator = '\\';
constexpr bool BackslashSeparates = true;
#else
constexpr char NativeSeparator = '/';
constexpr bool BackslashSeparates = false;
#endif

// Whether c separates the parts of path.
bool isSeparatorIn(std::string_view path, char c)
{
    return c == '/' || (c == '\\' && (BackslashSeparates || writtenOnWindows(path)));
}

} // namespace

bool writtenOnWindows(std::string_view stored)
{
    const bool drive =
        stored.size() >= 3 &&
        ((stored[0] >= 'A' && stored[0] <= 'Z') || (stored[0] >= 'a' && stored[0] <= 'z')) &&
        stored[1] == ':' && (stored[2] == '\\' || stored[2] == '/');
    return drive || stored.substr(0, 2) == "\\\\";
}

std::string nativePath(std::string_view stored)
{
    std::string path(stored);
    for (char& c : path)
        if (isSeparatorIn(stored, c))
            c = NativeSeparator;
    return path;
}

std::string fileName(std::string_view stored)
{
    for (size_t i = stored.size(); i > 0; --i)
        if (isSeparatorIn(stored, stored[i - 1]))
            return std::string(stored.substr(i));
    return std::string(stored);
}

bool endsInSeparator(std::string_view path)
{
    return !path.empty() && isSeparatorIn(path, path.back());
}

std::string join(std::string_view folder, std::string_view name)
{
    std::string path = nativePath(folder);
    if (!path.empty() && !endsInSeparator(path))
        path += NativeSeparator;
    return path + nativePath(name);
}

fs::path toPath(std::string_view utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string fromPath(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool exists(std::string_view stored)
{
    if (stored.empty())
        return false;
    std::error_code error;
    return fs::exists(toPath(nativePath(stored)), error);
}

namespace
{

// The path made absolute with its links and dot parts resolved where they exist; empty on error.
fs::path resolved(std::string_view stored)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(toPath(nativePath(stored)), error);
    if (error)
        return fs::path();
    fs::path result = fs::weakly_canonical(absolute, error);
    return error ? fs::path() : result;
}

} // namespace

RelativeTo::RelativeTo(std::string_view folder) : m_base(resolved(folder))
{
    m_valid = !folder.empty() && !m_base.empty();
}

std::string RelativeTo::operator()(std::string_view photo) const
{
    if (!m_valid || photo.empty())
        return std::string();
    const fs::path target = resolved(photo);
    if (target.empty())
        return std::string();
    // Paths on different roots (drives) have no relative form.
    if (target.root_name() != m_base.root_name())
        return std::string();
    return fromPath(target.lexically_relative(m_base));
}

} // namespace projectpaths
