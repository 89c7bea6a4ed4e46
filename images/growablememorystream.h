// SPDX-License-Identifier: GPL-2.0-or-later
// CGrowableMemoryStream: a read-write stream kept in memory; writing past the end makes it
// longer. The buffered file stream collects a file's bytes in one.
#pragma once

#include <cstdint>
#include <vector>

#include "images/streambase.h"

class CGrowableMemoryStream : public CStreamBase
{
public:
    // The reference count starts at 1: the creator releases it.
    CGrowableMemoryStream() = default;

    // A short read (fewer bytes left than asked for) returns S_FALSE.
    HRESULT Read(void* buffer, ULONG count, ULONG* read) override;
    // Writes at the position; a gap left by seeking past the end is filled with zeros.
    HRESULT Write(const void* buffer, ULONG count, ULONG* written) override;
    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override;
    HRESULT SetSize(ULARGE_INTEGER newSize) override;
    HRESULT Stat(STATSTG* stat, DWORD flags) override;

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_position = 0;
};
