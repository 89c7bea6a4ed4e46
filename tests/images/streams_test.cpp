// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "images/directfilestream.h"
#include "images/filestream.h"
#include "images/growablememorystream.h"
#include "images/memorystream.h"
#include "images/streamfactory.h"
#include "tests/support/testenv.h"

namespace
{

// 3000 bytes: more than two of the buffered stream's 1,024-byte blocks, ending mid-block.
QByteArray sampleBytes(int size = 3000)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

LARGE_INTEGER offset(int64_t value)
{
    LARGE_INTEGER move{};
    move.QuadPart = value;
    return move;
}

// Seeks and returns the new position, or -1 when the seek fails.
int64_t seek(IStream* stream, int64_t move, DWORD origin)
{
    ULARGE_INTEGER position{};
    return SUCCEEDED(stream->Seek(offset(move), origin, &position))
               ? static_cast<int64_t>(position.QuadPart)
               : -1;
}

uint64_t statSize(IStream* stream)
{
    STATSTG stat{};
    EXPECT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.type, STGTY_STREAM);
    return stat.cbSize.QuadPart;
}

// Writes bytes in uneven pieces, as an encoder does.
void writeAll(IStream* stream, const QByteArray& bytes)
{
    for (int done = 0; done < bytes.size();) {
        const ULONG piece = static_cast<ULONG>(std::min<qsizetype>(700, bytes.size() - done));
        ULONG written = 0;
        ASSERT_EQ(stream->Write(bytes.constData() + done, piece, &written), S_OK);
        ASSERT_EQ(written, piece);
        done += static_cast<int>(piece);
    }
}

// Every kind of stream that reads a file's bytes, made over the same 3000 bytes.
class ReadingStreams : public ::testing::TestWithParam<const char*>
{
protected:
    IStream* open()
    {
        const std::string kind = GetParam();
        if (kind == "memory")
            return new CMemoryStream(bytes.constData(), static_cast<size_t>(bytes.size()));
        if (kind == "direct")
            return CDirectFileStream::Open(path.toUtf8().constData(), false);
        if (kind == "buffered")
            return IFileStream::Open(path.toUtf8().constData(), false);
        IStream* stream = nullptr;
        EXPECT_EQ(OpenFileStream(path.toUtf8().constData(), false, &stream), 0);
        return stream;
    }

    TestFolder folder;
    QByteArray bytes = sampleBytes();
    QString path = folder.write("sample.bin", bytes);
};

} // namespace

TEST_P(ReadingStreams, ReadsCountsAndEndsWithAShortRead)
{
    IStream* stream = open();
    ASSERT_NE(stream, nullptr);
    QByteArray got(1000, '\0');
    ULONG read = 0;
    EXPECT_EQ(stream->Read(got.data(), 1000, &read), S_OK);
    EXPECT_EQ(read, 1000u);
    EXPECT_EQ(got, bytes.left(1000));
    EXPECT_EQ(stream->Read(got.data(), 1000, nullptr), S_OK); // the count is optional
    EXPECT_EQ(stream->Read(got.data(), 1000, &read), S_OK);
    EXPECT_EQ(got, bytes.mid(2000, 1000));
    EXPECT_EQ(stream->Read(got.data(), 1000, &read), S_FALSE);
    EXPECT_EQ(read, 0u);
    stream->Release();
}

TEST_P(ReadingStreams, SeeksFromEachOriginAndStatsTheSize)
{
    IStream* stream = open();
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(statSize(stream), 3000u);
    EXPECT_EQ(seek(stream, 100, STREAM_SEEK_SET), 100);
    EXPECT_EQ(seek(stream, 50, STREAM_SEEK_CUR), 150);
    EXPECT_EQ(seek(stream, -10, STREAM_SEEK_CUR), 140);
    char one = 0;
    ASSERT_EQ(stream->Read(&one, 1, nullptr), S_OK);
    EXPECT_EQ(one, bytes[140]);
    EXPECT_EQ(seek(stream, -4, STREAM_SEEK_END), 2996);
    QByteArray tail(10, '\0');
    ULONG read = 0;
    EXPECT_EQ(stream->Read(tail.data(), 10, &read), S_FALSE);
    ASSERT_EQ(read, 4u);
    EXPECT_EQ(tail.left(4), bytes.right(4));
    EXPECT_EQ(seek(stream, -1, STREAM_SEEK_SET), -1);
    EXPECT_EQ(seek(stream, 0, 7), -1);
    EXPECT_EQ(statSize(stream), 3000u); // Stat leaves the position alone
    stream->Release();
}

TEST_P(ReadingStreams, CountsReferencesAndAnswersOnlyStreamInterfaces)
{
    IStream* stream = open();
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->AddRef(), 2u);
    void* same = nullptr;
    EXPECT_EQ(stream->QueryInterface(IID_IStream, &same), S_OK);
    EXPECT_EQ(same, stream);
    EXPECT_EQ(stream->QueryInterface(IID_IUnknown, &same), S_OK);
    EXPECT_EQ(stream->QueryInterface(IID_ISequentialStream, &same), S_OK);
    const IID other = {0x12345678, 0x1, 0x2, {1, 2, 3, 4, 5, 6, 7, 8}};
    void* none = stream;
    EXPECT_EQ(stream->QueryInterface(other, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(stream->QueryInterface(IID_IStream, nullptr), E_POINTER);
    EXPECT_EQ(stream->Release(), 4u);
    EXPECT_EQ(stream->Release(), 3u);
    EXPECT_EQ(stream->Release(), 2u);
    EXPECT_EQ(stream->Release(), 1u);
    EXPECT_EQ(stream->Release(), 0u);
}

TEST_P(ReadingStreams, CopiesToAnotherStream)
{
    IStream* stream = open();
    ASSERT_NE(stream, nullptr);
    auto* target = new CGrowableMemoryStream();
    ULARGE_INTEGER count{};
    count.QuadPart = 10000;
    ULARGE_INTEGER read{};
    ULARGE_INTEGER written{};
    EXPECT_EQ(stream->CopyTo(target, count, &read, &written), S_OK);
    EXPECT_EQ(read.QuadPart, 3000u);
    EXPECT_EQ(written.QuadPart, 3000u);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(target->Bytes().data()), 3000), bytes);
    target->Release();
    stream->Release();
}

INSTANTIATE_TEST_SUITE_P(EachKind, ReadingStreams,
                         ::testing::Values("memory", "direct", "buffered", "factory"));

TEST(ReadOnlyStreams, RefuseWrites)
{
    TestFolder folder;
    const QByteArray bytes = sampleBytes(10);
    const QString path = folder.write("ten.bin", bytes);
    auto* memory = new CMemoryStream(bytes.constData(), 10);
    CDirectFileStream* direct = CDirectFileStream::Open(path.toUtf8().constData(), false);
    ASSERT_NE(direct, nullptr);
    for (IStream* stream : {static_cast<IStream*>(memory), static_cast<IStream*>(direct)}) {
        ULONG written = 99;
        EXPECT_EQ(stream->Write("x", 1, &written), STG_E_ACCESSDENIED);
        EXPECT_EQ(written, 0u);
        ULARGE_INTEGER size{};
        EXPECT_EQ(stream->SetSize(size), STG_E_ACCESSDENIED);
        stream->Release();
    }
    EXPECT_EQ(fileBytes(path), bytes);
}

TEST(MemoryStream, ReadsPastTheEndGiveNothing)
{
    const char bytes[4] = {1, 2, 3, 4};
    auto* stream = new CMemoryStream(bytes, 4);
    EXPECT_EQ(seek(stream, 10, STREAM_SEEK_SET), 10);
    char got[4] = {};
    ULONG read = 7;
    EXPECT_EQ(stream->Read(got, 4, &read), S_FALSE);
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(stream->Release(), 0u);
}

TEST(GrowableMemoryStream, GrowsOnWritesAndSetSize)
{
    auto* stream = new CGrowableMemoryStream();
    ASSERT_EQ(stream->Write("abc", 3, nullptr), S_OK);
    EXPECT_EQ(seek(stream, 5, STREAM_SEEK_SET), 5);
    ASSERT_EQ(stream->Write("z", 1, nullptr), S_OK);
    EXPECT_EQ(statSize(stream), 6u);
    EXPECT_EQ(std::string(stream->Bytes().begin(), stream->Bytes().end()),
              std::string("abc\0\0z", 6));
    ULARGE_INTEGER size{};
    size.QuadPart = 2;
    EXPECT_EQ(stream->SetSize(size), S_OK);
    EXPECT_EQ(statSize(stream), 2u);
    EXPECT_EQ(seek(stream, 0, STREAM_SEEK_SET), 0);
    char got[4] = {};
    ULONG read = 0;
    EXPECT_EQ(stream->Read(got, 4, &read), S_FALSE);
    EXPECT_EQ(read, 2u);
    EXPECT_EQ(std::string(got, 2), "ab");
    stream->Release();
}

TEST(DirectFileStream, WritesTheFileAndReadsItBack)
{
    TestFolder folder;
    const QString path = folder.file("out.bin");
    const QByteArray bytes = sampleBytes();
    CDirectFileStream* stream = CDirectFileStream::Open(path.toUtf8().constData(), true);
    ASSERT_NE(stream, nullptr);
    writeAll(stream, bytes);
    EXPECT_EQ(statSize(stream), 3000u);
    EXPECT_EQ(seek(stream, 10, STREAM_SEEK_SET), 10);
    char got[3] = {};
    ASSERT_EQ(stream->Read(got, 3, nullptr), S_OK);
    EXPECT_EQ(QByteArray(got, 3), bytes.mid(10, 3));
    ULARGE_INTEGER size{};
    size.QuadPart = 2500;
    EXPECT_EQ(stream->SetSize(size), S_OK);
    EXPECT_EQ(statSize(stream), 2500u);
    EXPECT_EQ(stream->Release(), 0u);
    EXPECT_EQ(fileBytes(path), bytes.left(2500));
}

TEST(DirectFileStream, OpensNoFolderAndNoMissingFile)
{
    TestFolder folder;
    EXPECT_EQ(CDirectFileStream::Open(folder.str().c_str(), false), nullptr);
    EXPECT_EQ(CDirectFileStream::Open((folder.str() + "/none.bin").c_str(), false), nullptr);
    EXPECT_EQ(CDirectFileStream::Open((folder.str() + "/none/out.bin").c_str(), true), nullptr);
    EXPECT_EQ(CDirectFileStream::Open("", false), nullptr);
}

TEST(BufferedFileStream, WritesTheFileOnlyWhenTheLastReferenceGoes)
{
    TestFolder folder;
    const QString path = folder.write("out.bin", "old contents");
    const QByteArray bytes = sampleBytes(2048); // exactly two blocks
    IFileStream* stream = IFileStream::Open(path.toUtf8().constData(), true);
    ASSERT_NE(stream, nullptr);
    writeAll(stream, bytes);
    EXPECT_EQ(statSize(stream), 2048u);
    EXPECT_EQ(stream->AddRef(), 2u);
    EXPECT_EQ(stream->Release(), 1u);
    EXPECT_EQ(fileBytes(path), QByteArray("old contents"));
    EXPECT_EQ(stream->Release(), 0u);
    EXPECT_EQ(fileBytes(path), bytes);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"out.bin"});
}

TEST(BufferedFileStream, ReadingClosesTheFileAtOnce)
{
    TestFolder folder;
    const QByteArray bytes = sampleBytes();
    const QString path = folder.write("in.bin", bytes);
    IFileStream* stream = IFileStream::Open(path.toUtf8().constData(), false);
    ASSERT_NE(stream, nullptr);
    ASSERT_TRUE(QFile::remove(path)); // the bytes are in memory already
    QByteArray got(3000, '\0');
    ULONG read = 0;
    EXPECT_EQ(stream->Read(got.data(), 3000, &read), S_OK);
    EXPECT_EQ(got, bytes);
    stream->Release();
    EXPECT_FALSE(QFile::exists(path)); // released without writing anything
}

TEST(BufferedFileStream, AFailedFinalWriteLeavesNoFileBehind)
{
    TestFolder folder;
    const QString path = folder.file("out.bin");
    IFileStream* stream = IFileStream::Open(path.toUtf8().constData(), true);
    ASSERT_NE(stream, nullptr);
    writeAll(stream, sampleBytes());
    // Something takes the name meanwhile: the file cannot be put in place.
    ASSERT_TRUE(QDir().mkpath(path + "/taken"));
    EXPECT_EQ(stream->Release(), 0u);
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_FALSE(QFile::exists(path + ".part"));
}

TEST(BufferedFileStream, FailsForAMissingFileOrFolder)
{
    TestFolder folder;
    EXPECT_EQ(IFileStream::Open((folder.str() + "/none.bin").c_str(), false), nullptr);
    EXPECT_EQ(IFileStream::Open((folder.str() + "/none/out.bin").c_str(), true), nullptr);
    EXPECT_EQ(IFileStream::Open(folder.str().c_str(), false), nullptr);
}

TEST(OpenFileStream, WritesAFileThatReadsBack)
{
    TestFolder folder;
    const QString path = folder.file("out.bin");
    const QByteArray bytes = sampleBytes();
    IStream* stream = nullptr;
    ASSERT_EQ(OpenFileStream(path.toUtf8().constData(), true, &stream), 0);
    ASSERT_NE(stream, nullptr);
    writeAll(stream, bytes);
    stream->Release();
    EXPECT_EQ(fileBytes(path), bytes);
}

TEST(OpenFileStream, GivesTwoAndNoStreamWhenNothingOpens)
{
    TestFolder folder;
    const std::string missing = folder.str() + "/no such folder/photo.jpg";
    auto* placeholder = new CMemoryStream(nullptr, 0);
    for (const bool forWriting : {false, true}) {
        IStream* stream = placeholder; // must come back null, not left as it was
        EXPECT_EQ(OpenFileStream(missing.c_str(), forWriting, &stream), StreamNotOpened);
        EXPECT_EQ(stream, nullptr);
    }
    placeholder->Release();
    EXPECT_EQ(OpenFileStream(missing.c_str(), false, nullptr), StreamNotOpened);
}
