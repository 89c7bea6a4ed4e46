// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/safefile.h"

#include <QIODevice>
#include <QSaveFile>

namespace platform
{

namespace
{

bool fail(QSaveFile& file, QString* error)
{
    if (error != nullptr)
        *error = file.errorString();
    file.cancelWriting();
    return false;
}

} // namespace

bool commitSafely(QSaveFile& file, QByteArrayView bytes, QString* error)
{
    qint64 at = 0;
    while (at < bytes.size()) {
        const qint64 put = file.write(bytes.data() + at, bytes.size() - at);
        if (put <= 0)
            return fail(file, error);
        at += put;
    }
    // An unbuffered file has nothing left to flush; a buffered one must not reach commit()
    // with bytes the disk may still refuse.
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return fail(file, error);
    if (!file.commit()) {
        if (error != nullptr)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool writeFileSafely(const QString& path, QByteArrayView bytes, QString* error)
{
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error != nullptr)
            *error = file.errorString();
        return false;
    }
    return commitSafely(file, bytes, error);
}

} // namespace platform
