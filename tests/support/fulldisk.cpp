// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/support/fulldisk.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QFile>

namespace
{

const char* const Filler = ".filler";

// Writes blocks of shrinking size until not even one byte fits.
void writeUntilFull(int fd)
{
    static const char block[4096] = {};
    for (size_t size = sizeof block; size > 0; size /= 2)
        while (write(fd, block, size) == static_cast<ssize_t>(size)) {
        }
}

} // namespace

FullDisk::FullDisk(int kilobytes)
{
    if (geteuid() != 0) {
        m_unavailable = QStringLiteral("mounting a tmpfs needs the superuser");
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
    if (mount("tmpfs", QFile::encodeName(path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
              options.constData()) != 0)
        m_unavailable = QStringLiteral("mount: ") + QString::fromLocal8Bit(strerror(errno));
}

FullDisk::~FullDisk()
{
    if (m_unavailable.isEmpty())
        umount2(QFile::encodeName(path()).constData(), MNT_DETACH);
}

void FullDisk::fill()
{
    const int fd =
        open(QFile::encodeName(file(Filler)).constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0)
        return;
    writeUntilFull(fd);
    close(fd);
}

void FullDisk::drain()
{
    QFile::remove(file(Filler));
}
