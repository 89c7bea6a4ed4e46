// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/directfilestream.h"

#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

namespace
{
constexpr DWORD StgReadWrite = 2; // the access mode a STATSTG reports for "w+b"
} // namespace

CDirectFileStream* CDirectFileStream::Open(const char* path, bool forWriting)
{
    if (path == nullptr || *path == '\0')
        return nullptr;
    // The C library opens a folder for reading without complaint; only reads fail later.
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return nullptr;
    std::FILE* file = std::fopen(path, forWriting ? "w+b" : "rb");
    if (file == nullptr)
        return nullptr;
    return new (std::nothrow) CDirectFileStream(file, path, forWriting);
}

CDirectFileStream::CDirectFileStream(std::FILE* file, std::string path, bool writable)
    : m_file(file), m_path(std::move(path)), m_writable(writable)
{
}

CDirectFileStream::~CDirectFileStream()
{
    std::fclose(m_file);
}

int64_t CDirectFileStream::position()
{
#ifdef _WIN32
    return _ftelli64(m_file);
#else
    return ftello(m_file);
#endif
}

bool CDirectFileStream::seekTo(int64_t offset, int whence)
{
    m_lastWasWrite = false;
#ifdef _WIN32
    return _fseeki64(m_file, offset, whence) == 0;
#else
    return fseeko(m_file, static_cast<off_t>(offset), whence) == 0;
#endif
}

void CDirectFileStream::settleAfterWrite()
{
    if (m_lastWasWrite)
        seekTo(0, SEEK_CUR);
}

HRESULT CDirectFileStream::Read(void* buffer, ULONG count, ULONG* read)
{
    if (buffer == nullptr && count > 0)
        return E_POINTER;
    settleAfterWrite();
    const size_t got = count > 0 ? std::fread(buffer, 1, count, m_file) : 0;
    if (read != nullptr)
        *read = static_cast<ULONG>(got);
    if (got < count && std::ferror(m_file)) {
        std::clearerr(m_file);
        return STG_E_READFAULT;
    }
    return got == count ? S_OK : S_FALSE;
}

HRESULT CDirectFileStream::Write(const void* buffer, ULONG count, ULONG* written)
{
    if (written != nullptr)
        *written = 0;
    if (!m_writable)
        return STG_E_ACCESSDENIED;
    if (buffer == nullptr && count > 0)
        return E_POINTER;
    const size_t put = count > 0 ? std::fwrite(buffer, 1, count, m_file) : 0;
    m_lastWasWrite = true;
    if (written != nullptr)
        *written = static_cast<ULONG>(put);
    return put == count ? S_OK : STG_E_WRITEFAULT;
}

HRESULT CDirectFileStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition)
{
    const int whence = origin == STREAM_SEEK_SET   ? SEEK_SET
                       : origin == STREAM_SEEK_CUR ? SEEK_CUR
                       : origin == STREAM_SEEK_END ? SEEK_END
                                                   : -1;
    if (whence < 0)
        return STG_E_INVALIDFUNCTION;
    if (!seekTo(move.QuadPart, whence))
        return STG_E_INVALIDFUNCTION;
    if (newPosition != nullptr)
        newPosition->QuadPart = static_cast<uint64_t>(position());
    return S_OK;
}

HRESULT CDirectFileStream::SetSize(ULARGE_INTEGER newSize)
{
    if (!m_writable)
        return STG_E_ACCESSDENIED;
    if (std::fflush(m_file) != 0)
        return STG_E_WRITEFAULT;
    std::error_code error;
    std::filesystem::resize_file(m_path, newSize.QuadPart, error);
    return error ? STG_E_WRITEFAULT : S_OK;
}

HRESULT CDirectFileStream::Stat(STATSTG* stat, DWORD)
{
    if (stat == nullptr)
        return E_POINTER;
    // Measured through the stream so bytes still in the C library's buffer count too.
    const int64_t here = position();
    if (here < 0 || !seekTo(0, SEEK_END))
        return STG_E_SEEKERROR;
    const int64_t size = position();
    seekTo(here, SEEK_SET);
    fillStat(stat, size < 0 ? 0 : static_cast<uint64_t>(size), m_writable ? StgReadWrite : 0);
    return S_OK;
}

HRESULT CDirectFileStream::Commit(DWORD)
{
    return std::fflush(m_file) == 0 ? S_OK : STG_E_WRITEFAULT;
}
