// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/streambase.h"

#include <algorithm>
#include <cstring>

HRESULT CStreamBase::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream) {
        *object = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CStreamBase::AddRef()
{
    return m_references.fetch_add(1, std::memory_order_relaxed) + 1;
}

ULONG CStreamBase::dropReference()
{
    return m_references.fetch_sub(1, std::memory_order_acq_rel) - 1;
}

ULONG CStreamBase::Release()
{
    const ULONG left = dropReference();
    if (left == 0)
        delete this;
    return left;
}

HRESULT CStreamBase::CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                            ULARGE_INTEGER* written)
{
    if (target == nullptr)
        return E_POINTER;
    unsigned char block[16 * 1024];
    uint64_t totalRead = 0;
    uint64_t totalWritten = 0;
    HRESULT result = S_OK;
    while (totalRead < count.QuadPart) {
        const uint64_t wanted = std::min<uint64_t>(sizeof block, count.QuadPart - totalRead);
        ULONG got = 0;
        result = Read(block, static_cast<ULONG>(wanted), &got);
        totalRead += got;
        if (FAILED(result) || got == 0)
            break;
        ULONG put = 0;
        result = target->Write(block, got, &put);
        totalWritten += put;
        if (FAILED(result) || put < got)
            break;
    }
    if (read != nullptr)
        read->QuadPart = totalRead;
    if (written != nullptr)
        written->QuadPart = totalWritten;
    return FAILED(result) ? result : S_OK;
}

HRESULT CStreamBase::Commit(DWORD)
{
    return S_OK;
}

HRESULT CStreamBase::Revert()
{
    return S_OK;
}

HRESULT CStreamBase::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    return STG_E_INVALIDFUNCTION;
}

HRESULT CStreamBase::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    return STG_E_INVALIDFUNCTION;
}

HRESULT CStreamBase::Clone(IStream** copy)
{
    if (copy != nullptr)
        *copy = nullptr;
    return E_NOTIMPL;
}

bool CStreamBase::seekTarget(int64_t position, int64_t size, LARGE_INTEGER move, DWORD origin,
                             int64_t& target)
{
    int64_t base = 0;
    if (origin == STREAM_SEEK_SET)
        base = 0;
    else if (origin == STREAM_SEEK_CUR)
        base = position;
    else if (origin == STREAM_SEEK_END)
        base = size;
    else
        return false;
    target = base + move.QuadPart;
    return target >= 0;
}

void CStreamBase::fillStat(STATSTG* stat, uint64_t size, DWORD mode)
{
    std::memset(stat, 0, sizeof(*stat));
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = size;
    stat->grfMode = mode;
}
