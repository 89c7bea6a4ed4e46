// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/foldernames.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include <QByteArrayView>
#include <QFile>

namespace fs = std::filesystem;

namespace platform
{

namespace
{

// How many bytes the UTF-8 sequence led by lead takes; 0 for a byte that leads none.
qsizetype sequenceLength(uchar lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

} // namespace

QString shownName(const QByteArray& bytes)
{
    QString shown;
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype length = sequenceLength(uchar(bytes[at]));
        const QByteArrayView sequence(bytes.constData() + at, std::min(length, bytes.size() - at));
        // Overlong forms and surrogates are refused by the whole-sequence check.
        if (length > 0 && sequence.size() == length && sequence.isValidUtf8()) {
            shown += QString::fromUtf8(sequence);
            at += length;
        } else {
            shown += QString::asprintf("\\x%02X", uint(uchar(bytes[at])));
            ++at;
        }
    }
    return shown;
}

std::vector<UndecodableEntry> undecodableEntries(const QString& folder)
{
    std::vector<UndecodableEntry> found;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(QFile::encodeName(folder).toStdString()), error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().native();
        const QByteArrayView bytes(name.data(), qsizetype(name.size()));
        if (bytes.isValidUtf8())
            continue;
        std::error_code kind;
        found.push_back(
            {shownName(bytes.toByteArray()), it->is_directory(kind), name.front() == '.'});
    }
    return found;
}

} // namespace platform
