// SPDX-License-Identifier: GPL-2.0-or-later
// Permissions of files the programs write under a private scratch name (made for the owner
// alone) and then rename into place: the finished file is the user's like any other.
#pragma once

#include <QString>

namespace platform
{

// Gives written the permissions of the file it is about to replace, or, when there is none,
// those a new file gets under the user's umask. False when they cannot be set.
bool giveUsualPermissions(const QString& written, const QString& replaced);

} // namespace platform
