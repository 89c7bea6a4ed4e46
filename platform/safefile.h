// SPDX-License-Identifier: GPL-2.0-or-later
// Writing a whole file so that a full disk or a failing write never leaves it cut short:
// the bytes go to a temporary file beside the target, which replaces the target only when
// every byte was written.
#pragma once

#include <QByteArrayView>
#include <QString>

class QSaveFile;

namespace platform
{

// Writes bytes to path; false (with the reason in error, when given) leaves whatever was at
// path as it was.
bool writeFileSafely(const QString& path, QByteArrayView bytes, QString* error = nullptr);

// Writes bytes to a QSaveFile that was opened unbuffered and commits it; false discards the
// temporary file. Qt 6.4 renames the temporary file into place even when the last flush
// inside commit() failed, so nothing may be left in a buffer when commit() is called.
bool commitSafely(QSaveFile& file, QByteArrayView bytes, QString* error = nullptr);

} // namespace platform
