// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/memorystream.h"

#include <algorithm>
#include <cstring>

CMemoryStream::CMemoryStream(const void* data, size_t size)
    : m_data(static_cast<const unsigned char*>(data)), m_size(data != nullptr ? size : 0)
{
}

HRESULT CMemoryStream::Read(void* buffer, ULONG count, ULONG* read)
{
    if (buffer == nullptr && count > 0)
        return E_POINTER;
    const size_t left = m_position < m_size ? m_size - m_position : 0;
    const size_t copied = std::min<size_t>(count, left);
    if (copied > 0)
        std::memcpy(buffer, m_data + m_position, copied);
    m_position += copied;
    if (read != nullptr)
        *read = static_cast<ULONG>(copied);
    return copied == count ? S_OK : S_FALSE;
}

HRESULT CMemoryStream::Write(const void*, ULONG, ULONG* written)
{
    if (written != nullptr)
        *written = 0;
    return STG_E_ACCESSDENIED;
}

HRESULT CMemoryStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition)
{
    int64_t target = 0;
    if (!seekTarget(static_cast<int64_t>(m_position), static_cast<int64_t>(m_size), move, origin,
                    target))
        return STG_E_INVALIDFUNCTION;
    m_position = static_cast<size_t>(target);
    if (newPosition != nullptr)
        newPosition->QuadPart = m_position;
    return S_OK;
}

HRESULT CMemoryStream::SetSize(ULARGE_INTEGER)
{
    return STG_E_ACCESSDENIED;
}

HRESULT CMemoryStream::Stat(STATSTG* stat, DWORD)
{
    if (stat == nullptr)
        return E_POINTER;
    fillStat(stat, m_size, 0);
    return S_OK;
}
