// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/growablememorystream.h"

#include <algorithm>
#include <cstring>
#include <exception>

HRESULT CGrowableMemoryStream::Read(void* buffer, ULONG count, ULONG* read)
{
    if (buffer == nullptr && count > 0)
        return E_POINTER;
    const size_t left = m_position < m_bytes.size() ? m_bytes.size() - m_position : 0;
    const size_t copied = std::min<size_t>(count, left);
    if (copied > 0)
        std::memcpy(buffer, m_bytes.data() + m_position, copied);
    m_position += copied;
    if (read != nullptr)
        *read = static_cast<ULONG>(copied);
    return copied == count ? S_OK : S_FALSE;
}

HRESULT CGrowableMemoryStream::Write(const void* buffer, ULONG count, ULONG* written)
{
    if (written != nullptr)
        *written = 0;
    if (buffer == nullptr && count > 0)
        return E_POINTER;
    if (count == 0)
        return S_OK;
    try {
        if (m_bytes.size() < m_position + count)
            m_bytes.resize(m_position + count);
    } catch (const std::exception&) {
        return E_OUTOFMEMORY;
    }
    std::memcpy(m_bytes.data() + m_position, buffer, count);
    m_position += count;
    if (written != nullptr)
        *written = count;
    return S_OK;
}

HRESULT CGrowableMemoryStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition)
{
    int64_t target = 0;
    if (!seekTarget(static_cast<int64_t>(m_position), static_cast<int64_t>(m_bytes.size()), move,
                    origin, target))
        return STG_E_INVALIDFUNCTION;
    m_position = static_cast<size_t>(target);
    if (newPosition != nullptr)
        newPosition->QuadPart = m_position;
    return S_OK;
}

HRESULT CGrowableMemoryStream::SetSize(ULARGE_INTEGER newSize)
{
    try {
        m_bytes.resize(static_cast<size_t>(newSize.QuadPart));
    } catch (const std::exception&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CGrowableMemoryStream::Stat(STATSTG* stat, DWORD)
{
    if (stat == nullptr)
        return E_POINTER;
    fillStat(stat, m_bytes.size(), 0);
    return S_OK;
}
