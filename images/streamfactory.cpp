// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/streamfactory.h"

#include "images/directfilestream.h"
#include "images/filestream.h"

int32_t OpenFileStream(const char* path, bool forWriting, IStream** stream)
{
    if (stream == nullptr)
        return StreamNotOpened;
    *stream = CDirectFileStream::Open(path, forWriting);
    if (*stream == nullptr)
        *stream = IFileStream::Open(path, forWriting);
    return *stream != nullptr ? 0 : StreamNotOpened;
}
