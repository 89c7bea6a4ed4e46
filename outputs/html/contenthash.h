// SPDX-License-Identifier: GPL-2.0-or-later
// What identifies a file's content: a 128-bit XXH3 hash of every byte, as 32 hex digits. Fast
// enough to read whole photos (several GB/s), and unlike a sample of the first bytes it tells
// apart two photos whose headers agree.
#pragma once

#include <QByteArray>
#include <QString>

namespace contenthash
{

// The hash of a file, read in pieces; "" when it cannot be read to its end.
QString ofFile(const QString& path);
QString ofBytes(const QByteArray& bytes);

} // namespace contenthash
