// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/filestream.h"

#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

IFileStream* IFileStream::Open(const char* path, bool forWriting)
{
    if (path == nullptr || *path == '\0')
        return nullptr;
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return nullptr;
    auto* memory = new (std::nothrow) CGrowableMemoryStream();
    if (memory == nullptr)
        return nullptr;
    auto* stream = new (std::nothrow) IFileStream(path, memory);
    if (stream == nullptr) {
        memory->Release();
        return nullptr;
    }
    // Writing goes to a part file first; see finish().
    std::FILE* file =
        std::fopen(forWriting ? stream->partPath().c_str() : path, forWriting ? "wb" : "rb");
    const bool opened = file != nullptr && (forWriting || stream->readWholeFile(file));
    if (forWriting) {
        stream->m_file = file;
        stream->m_writing = stream->m_changed = true;
    } else if (file != nullptr)
        std::fclose(file);
    if (!opened) {
        stream->Release();
        return nullptr;
    }
    return stream;
}

IFileStream::IFileStream(std::string path, CGrowableMemoryStream* memory)
    : m_path(std::move(path)), m_memory(memory)
{
}

IFileStream::~IFileStream()
{
    finish();
    m_memory->Release();
}

bool IFileStream::readWholeFile(std::FILE* file)
{
    unsigned char block[BlockSize];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        if (FAILED(m_memory->Write(block, static_cast<ULONG>(got), nullptr)))
            return false;
    if (std::ferror(file))
        return false;
    LARGE_INTEGER start{};
    return SUCCEEDED(m_memory->Seek(start, STREAM_SEEK_SET, nullptr));
}

bool IFileStream::writeMemoryTo(std::FILE* file)
{
    LARGE_INTEGER start{};
    if (FAILED(m_memory->Seek(start, STREAM_SEEK_SET, nullptr)))
        return false;
    unsigned char block[BlockSize];
    ULONG got = 0;
    do {
        if (FAILED(m_memory->Read(block, sizeof block, &got)))
            return false;
        if (got > 0 && std::fwrite(block, 1, got, file) != got)
            return false;
    } while (got == sizeof block);
    return true;
}

// Release cannot report a failed write, so the bytes go to path.part and replace the target
// only when every block reached the disk; a failure removes the part file and leaves the
// target as it was, instead of a silently cut-short file under the real name.
bool IFileStream::finish()
{
    if (!m_writing || !m_changed)
        return true;
    if (m_file == nullptr)
        m_file = std::fopen(partPath().c_str(), "wb");
    if (m_file == nullptr)
        return false;
    bool written = writeMemoryTo(m_file);
    written = std::fclose(m_file) == 0 && written;
    m_file = nullptr;
    std::error_code error;
    if (written)
        std::filesystem::rename(partPath(), m_path, error);
    if (!written || error) {
        std::filesystem::remove(partPath(), error);
        return false;
    }
    m_changed = false;
    return true;
}

HRESULT IFileStream::Read(void* buffer, ULONG count, ULONG* read)
{
    return m_memory->Read(buffer, count, read);
}

HRESULT IFileStream::Write(const void* buffer, ULONG count, ULONG* written)
{
    m_changed = m_writing;
    return m_memory->Write(buffer, count, written);
}

HRESULT IFileStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition)
{
    return m_memory->Seek(move, origin, newPosition);
}

HRESULT IFileStream::SetSize(ULARGE_INTEGER newSize)
{
    m_changed = m_writing;
    return m_memory->SetSize(newSize);
}

HRESULT IFileStream::CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                            ULARGE_INTEGER* written)
{
    return m_memory->CopyTo(target, count, read, written);
}

HRESULT IFileStream::Commit(DWORD flags)
{
    if (FAILED(m_memory->Commit(flags)))
        return STG_E_WRITEFAULT;
    return finish() ? S_OK : STG_E_WRITEFAULT;
}

HRESULT IFileStream::Revert()
{
    return m_memory->Revert();
}

HRESULT IFileStream::LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType)
{
    return m_memory->LockRegion(offset, count, lockType);
}

HRESULT IFileStream::UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType)
{
    return m_memory->UnlockRegion(offset, count, lockType);
}

HRESULT IFileStream::Stat(STATSTG* stat, DWORD flags)
{
    return m_memory->Stat(stat, flags);
}

HRESULT IFileStream::Clone(IStream** copy)
{
    return m_memory->Clone(copy);
}
