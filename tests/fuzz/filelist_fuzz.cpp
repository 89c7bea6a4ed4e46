// SPDX-License-Identifier: GPL-2.0-or-later
// Fuzz target for the reader of a file list a server gave: any bytes, as the whole file. A
// list it takes must survive being written out again and read back (names that cannot be
// element names go through the name attribute), and pruning must never grow a list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArray>
#include <QString>

#include "publish/remotefilelist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString why;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<RemoteFileList> list = RemoteFileList::Parse(bytes, why);
    if (!list)
        return 0;
    const std::optional<RemoteFileList> again = RemoteFileList::Parse(list->ToXml(), why);
    if (!again || again->Uploads().size() != list->Uploads().size())
        std::abort();
    RemoteFileList pruned = *list;
    pruned.Prune(*again);
    if (pruned.Uploads().size() > list->Uploads().size())
        std::abort();
    return 0;
}
