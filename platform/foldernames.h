// SPDX-License-Identifier: GPL-2.0-or-later
// Folder entries whose names are not valid UTF-8. The programs hold names as Unicode text,
// and folder listings leave such entries out; these functions find them so that the user can
// be told, naming each with its bytes shown.
#pragma once

#include <vector>

#include <QByteArray>
#include <QString>

namespace platform
{

struct UndecodableEntry {
    QString shownName; // valid parts as they are, every other byte as "\xE9"
    bool folder = false;
    bool hidden = false; // the name starts with '.'
};

// The entries of folder whose names are not valid UTF-8, in the order the system lists them.
std::vector<UndecodableEntry> undecodableEntries(const QString& folder);
// A name's bytes as text: valid UTF-8 sequences decoded, every other byte as "\xHH".
QString shownName(const QByteArray& bytes);

} // namespace platform
