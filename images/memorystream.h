// SPDX-License-Identifier: GPL-2.0-or-later
// CMemoryStream: a read-only stream over a block of memory that someone else owns, e.g. a
// picture compiled into the program. The block must outlive the stream.
#pragma once

#include <cstddef>
#include <cstdint>

#include "images/streambase.h"

class CMemoryStream : public CStreamBase
{
public:
    // The reference count starts at 1: the creator releases it.
    CMemoryStream(const void* data, size_t size);

    // A short read (fewer bytes left than asked for) returns S_FALSE.
    HRESULT Read(void* buffer, ULONG count, ULONG* read) override;
    // The block is never written: STG_E_ACCESSDENIED.
    HRESULT Write(const void* buffer, ULONG count, ULONG* written) override;
    // Any position at or after 0 is accepted; reads past the end give nothing.
    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override;
    HRESULT SetSize(ULARGE_INTEGER newSize) override;
    HRESULT Stat(STATSTG* stat, DWORD flags) override;

private:
    const unsigned char* m_data;
    size_t m_size;
    size_t m_position = 0;
};
