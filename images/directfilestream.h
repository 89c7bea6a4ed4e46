// SPDX-License-Identifier: GPL-2.0-or-later
// CDirectFileStream: a stream straight over an open file, for reading or for writing. The
// usual way the host's file services hand a photo to a decoder or an encoder.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "images/streambase.h"

class CDirectFileStream : public CStreamBase
{
public:
    // Opens path for reading ("rb") or writing ("w+b": a new, empty file that can be read
    // back, as encoders that patch headers need). Null when the file cannot be opened; the
    // stream starts with one reference.
    static CDirectFileStream* Open(const char* path, bool forWriting);

    // A short read (the end of the file) returns S_FALSE.
    HRESULT Read(void* buffer, ULONG count, ULONG* read) override;
    // STG_E_ACCESSDENIED on a stream opened for reading.
    HRESULT Write(const void* buffer, ULONG count, ULONG* written) override;
    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override;
    HRESULT SetSize(ULARGE_INTEGER newSize) override;
    HRESULT Stat(STATSTG* stat, DWORD flags) override;
    HRESULT Commit(DWORD flags) override;

private:
    CDirectFileStream(std::FILE* file, std::string path, bool writable);
    ~CDirectFileStream() override;

    int64_t position();
    bool seekTo(int64_t offset, int whence);
    // The C library wants a seek or flush between a write and a following read.
    void settleAfterWrite();

    std::FILE* m_file;
    std::string m_path;
    bool m_writable;
    bool m_lastWasWrite = false;
};
