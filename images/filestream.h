// SPDX-License-Identifier: GPL-2.0-or-later
// IFileStream: the buffered file stream, used when a file cannot be streamed directly. It
// holds the whole file in memory: opened for reading, the file is read in at once and closed;
// opened for writing, everything written collects in memory and goes to the file when the
// last reference is released or the stream is committed (Commit reports whether the file
// was written). Every stream call works on the memory copy; QueryInterface
// answers with this object, so nobody holds the copy past the moment it is written out.
#pragma once

#include <cstdio>
#include <string>

#include "images/growablememorystream.h"
#include "images/streambase.h"

class IFileStream : public CStreamBase
{
public:
    // Null when the file cannot be opened (or read); the stream starts with one reference.
    static IFileStream* Open(const char* path, bool forWriting);

    HRESULT Read(void* buffer, ULONG count, ULONG* read) override;
    HRESULT Write(const void* buffer, ULONG count, ULONG* written) override;
    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override;
    HRESULT SetSize(ULARGE_INTEGER newSize) override;
    HRESULT CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                   ULARGE_INTEGER* written) override;
    HRESULT Commit(DWORD flags) override;
    HRESULT Revert() override;
    HRESULT LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType) override;
    HRESULT UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType) override;
    HRESULT Stat(STATSTG* stat, DWORD flags) override;
    HRESULT Clone(IStream** copy) override;

private:
    static constexpr size_t BlockSize = 1024;

    IFileStream(std::string path, CGrowableMemoryStream* memory);
    ~IFileStream() override;

    bool readWholeFile(std::FILE* file);
    bool writeMemoryTo(std::FILE* file);
    // Writes the collected bytes out and puts the file in place, when opened for writing and
    // changed since the last time; false when the file could not be written.
    bool finish();
    std::string partPath() const { return m_path + ".part"; }

    std::string m_path;
    CGrowableMemoryStream* m_memory;
    std::FILE* m_file = nullptr; // the part file, open from Open until it is first written
    bool m_writing = false;
    bool m_changed = false; // written to since the file was last put in place
};
