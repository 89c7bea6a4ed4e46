// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/filemodes.h"

#include <filesystem>
#include <system_error>

#include <QFile>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace platform
{

namespace
{

// The process's umask as the kernel reports it; asking umask() itself would change it for
// a moment under the other threads' feet.
mode_t currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    // The file tells no size: it is read to its end rather than line by line.
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (!line.startsWith("Umask:"))
                continue;
            bool ok = false;
            const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
            if (ok)
                return static_cast<mode_t>(mask);
        }
    }
    return 022; // the usual one
}

fs::path toPath(const QString& path)
{
    return fs::path(QFile::encodeName(path).toStdString());
}

} // namespace

bool giveUsualPermissions(const QString& written, const QString& replaced)
{
    std::error_code error;
    const fs::file_status old = fs::status(toPath(replaced), error);
    const fs::perms wanted = !error && fs::is_regular_file(old)
                                 ? old.permissions()
                                 : static_cast<fs::perms>(0666 & ~currentUmask());
    fs::permissions(toPath(written), wanted & fs::perms::all, fs::perm_options::replace, error);
    return !error;
}

} // namespace platform
