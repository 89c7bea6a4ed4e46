// SPDX-License-Identifier: GPL-2.0-or-later
// CStreamBase: what every stream of ours shares: a thread-safe reference count that starts at
// 1 and deletes the object at 0, QueryInterface for the stream interfaces, and the IStream
// calls that no stream here supports or that work the same for all of them.
#pragma once

#include <atomic>
#include <cstdint>

#include "sdk/gvcom.h"

// Not declared by our COM subset; the value is the platform's.
#ifndef STG_E_ACCESSDENIED
constexpr HRESULT STG_E_ACCESSDENIED = static_cast<HRESULT>(0x80030005u);
#endif

class CStreamBase : public IStream
{
public:
    CStreamBase(const CStreamBase&) = delete;
    CStreamBase& operator=(const CStreamBase&) = delete;

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // Reads from this stream and writes to target in blocks until count bytes or the end.
    HRESULT CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                   ULARGE_INTEGER* written) override;
    // Nothing is transacted: changes are in place at once.
    HRESULT Commit(DWORD flags) override;
    HRESULT Revert() override;
    HRESULT LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType) override;
    HRESULT UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType) override;
    HRESULT Clone(IStream** copy) override;

protected:
    CStreamBase() = default;
    virtual ~CStreamBase() = default;

    // Drops one reference and returns the count left, without deleting the object.
    ULONG dropReference();
    // A stream's new position for Seek, from its current position and size; false when it
    // would be negative or the origin is unknown.
    static bool seekTarget(int64_t position, int64_t size, LARGE_INTEGER move, DWORD origin,
                           int64_t& target);
    // Fills a STATSTG for a stream of size bytes. No name is given: callers never ask for one
    // and there is no COM allocator here to hand it over with.
    static void fillStat(STATSTG* stat, uint64_t size, DWORD mode);

private:
    std::atomic<ULONG> m_references{1};
};
