// SPDX-License-Identifier: GPL-2.0-or-later
// Safe names inside a theme folder: every file a manifest names must be a plain relative path
// that stays inside the theme folder, so a theme (perhaps installed from a package) can never
// make the plug-in read or write elsewhere.
#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

namespace html
{

// True for "a/b.css": not empty, relative, no "." or ".." parts, no '\\', ':' or control
// characters, at most 200 characters.
bool isSafeRelativePath(const QString& path);
// The absolute path of a regular file below folder (no link on the way may lead out), or
// nothing.
std::optional<QString> fileInside(const QString& folder, const QString& relative);
// Reads a file below folder (at most maxBytes), or nothing.
std::optional<QByteArray> readInside(const QString& folder, const QString& relative,
                                     qint64 maxBytes = 4 * 1024 * 1024);

} // namespace html
