// SPDX-License-Identifier: GPL-2.0-or-later
// The FTP client's operations against real servers on 127.0.0.1: pyftpdlib (which lists with
// MLSD) and vsftpd (which has only LIST and hides dot-files), each in active and passive mode.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include <QDir>
#include <QFile>

#include "platform/ftpclient.h"
#include "tests/platform/ftpclienttest.h"
#include "tests/support/ftpservers.h"
#include "tests/support/testenv.h"

namespace
{

enum class Kind { PyftpdlibPassive, PyftpdlibActive, VsftpdPassive, VsftpdActive };

std::string nameOf(const testing::TestParamInfo<Kind>& info)
{
    switch (info.param) {
    case Kind::PyftpdlibPassive:
        return "PyftpdlibPassive";
    case Kind::PyftpdlibActive:
        return "PyftpdlibActive";
    case Kind::VsftpdPassive:
        return "VsftpdPassive";
    default:
        return "VsftpdActive";
    }
}

// Bytes that a text-mode transfer would change: line ends of both kinds, NULs, high bytes.
QByteArray binaryBytes(int size)
{
    std::mt19937 random(4711);
    QByteArray bytes("a\r\nb\nc\0d\r", 10);
    while (bytes.size() < size)
        bytes.append(static_cast<char>(random() & 0xff));
    return bytes;
}

} // namespace

class FtpClientTest : public testing::TestWithParam<Kind>
{
protected:
    void SetUp() override
    {
        const bool py = GetParam() == Kind::PyftpdlibPassive || GetParam() == Kind::PyftpdlibActive;
        if (py)
            m_server = std::make_unique<PyFtpServer>();
        else
            m_server = std::make_unique<Vsftpd>();
        if (!m_server->skipReason().isEmpty())
            GTEST_SKIP() << m_server->skipReason().toStdString();
        const bool passive =
            GetParam() == Kind::PyftpdlibPassive || GetParam() == Kind::VsftpdPassive;
        const FtpOptions options = loginTo(*m_server, FtpOptions::Protocol::Ftp, passive, 10000);
        ASSERT_TRUE(m_client.open(options)) << m_client.lastError().message.toStdString();
    }

    QString serverFile(const QString& relative) const
    {
        return QDir(m_server->root()).filePath(relative);
    }

    std::unique_ptr<TestFtpServer> m_server;
    FtpClient m_client;
    TestFolder m_local;
};

TEST_P(FtpClientTest, OpensInTheLoginFolder)
{
    EXPECT_TRUE(m_client.isOpen());
    EXPECT_EQ(m_client.currentFolder(), QStringLiteral("/"));
    EXPECT_TRUE(m_client.lastError().ok());
}

TEST_P(FtpClientTest, FilesGoAndComeBackByteForByte)
{
    const QByteArray bytes = binaryBytes(300 * 1024);
    const QString source = m_local.write(QStringLiteral("photo.jpg"), bytes);
    qint64 lastDone = -1, lastTotal = -1;
    m_client.setTransferProgress([&](qint64 done, qint64 total) {
        lastDone = done;
        lastTotal = total;
    });

    ASSERT_TRUE(m_client.createFolder(QStringLiteral("Summer 2024")));
    ASSERT_TRUE(m_client.setCurrentFolder(QStringLiteral("Summer 2024")));
    EXPECT_EQ(m_client.currentFolder(), QStringLiteral("/Summer 2024"));
    ASSERT_TRUE(m_client.upload(source, QStringLiteral("Été à l'île 1.jpg")))
        << m_client.lastError().message.toStdString();
    EXPECT_EQ(contentOf(serverFile(QStringLiteral("Summer 2024/Été à l'île 1.jpg"))), bytes);
    EXPECT_EQ(lastDone, bytes.size());
    EXPECT_EQ(lastTotal, bytes.size());

    const QString back = m_local.file(QStringLiteral("back.jpg"));
    ASSERT_TRUE(m_client.download(QStringLiteral("/Summer 2024/Été à l'île 1.jpg"), back, -1))
        << m_client.lastError().message.toStdString();
    EXPECT_EQ(contentOf(back), bytes);
}

TEST_P(FtpClientTest, ListingsTellFilesFromFolders)
{
    m_server->put(QStringLiteral("album/index.html"), "<html>");
    m_server->put(QStringLiteral("album/a b  c.jpg"), QByteArray(1234, 'x'));
    m_server->put(QStringLiteral("album/pictures/ü.jpg"), "1");

    std::vector<FtpEntry> entries;
    ASSERT_TRUE(m_client.list(QStringLiteral("/album"), entries))
        << m_client.lastError().message.toStdString();
    ASSERT_EQ(entries.size(), 3u);
    std::sort(entries.begin(), entries.end(),
              [](const FtpEntry& a, const FtpEntry& b) { return a.name < b.name; });
    EXPECT_EQ(entries[0].name, QStringLiteral("a b  c.jpg"));
    EXPECT_FALSE(entries[0].folder);
    EXPECT_EQ(entries[0].size, 1234);
    EXPECT_TRUE(entries[0].modified.isValid());
    EXPECT_EQ(entries[1].name, QStringLiteral("index.html"));
    EXPECT_EQ(entries[2].name, QStringLiteral("pictures"));
    EXPECT_TRUE(entries[2].folder);

    ASSERT_TRUE(m_client.list(QStringLiteral("album/pictures"), entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, QStringLiteral("ü.jpg"));
}

TEST_P(FtpClientTest, AnEmptyFolderListsNothingAndSucceeds)
{
    ASSERT_TRUE(m_client.createFolder(QStringLiteral("/empty")));
    std::vector<FtpEntry> entries{FtpEntry()};
    EXPECT_TRUE(m_client.list(QStringLiteral("/empty"), entries))
        << m_client.lastError().message.toStdString();
    EXPECT_TRUE(entries.empty());
    EXPECT_TRUE(m_client.lastError().ok());
}

TEST_P(FtpClientTest, RenameReplacesAnExistingTarget)
{
    m_server->put(QStringLiteral("a/photo.jpg"), "old version");
    m_server->put(QStringLiteral("a/photo.jpg.part"), "new version");
    ASSERT_TRUE(m_client.rename(QStringLiteral("/a/photo.jpg.part"), QStringLiteral("a/photo.jpg")))
        << m_client.lastError().message.toStdString();
    EXPECT_EQ(contentOf(serverFile(QStringLiteral("a/photo.jpg"))), QByteArray("new version"));
    EXPECT_FALSE(QFile::exists(serverFile(QStringLiteral("a/photo.jpg.part"))));
}

TEST_P(FtpClientTest, RemovesFilesThenTheirFolder)
{
    m_server->put(QStringLiteral("old/x.jpg"), "x");
    EXPECT_FALSE(m_client.removeFolder(QStringLiteral("old")));
    EXPECT_EQ(m_client.lastError().code, FtpError::ExtendedError);
    EXPECT_GE(m_client.lastError().replyCode, 500);
    ASSERT_TRUE(m_client.removeFile(QStringLiteral("old/x.jpg")));
    ASSERT_TRUE(m_client.removeFolder(QStringLiteral("old")))
        << m_client.lastError().message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(serverFile(QStringLiteral("old"))));
    // The refusal did not cost the session its good state.
    EXPECT_TRUE(m_client.lastError().ok());
}

TEST_P(FtpClientTest, RefusalsCarryTheServersReply)
{
    EXPECT_FALSE(m_client.setCurrentFolder(QStringLiteral("nowhere")));
    EXPECT_EQ(m_client.lastError().code, FtpError::ExtendedError);
    EXPECT_EQ(m_client.lastError().replyCode, 550);
    EXPECT_TRUE(m_client.lastError().replyText.startsWith(QStringLiteral("550")))
        << m_client.lastError().replyText.toStdString();
    EXPECT_TRUE(m_client.lastError().message.contains(m_client.lastError().replyText.simplified()));
    EXPECT_EQ(m_client.currentFolder(), QStringLiteral("/"));

    EXPECT_FALSE(m_client.removeFile(QStringLiteral("nothing.jpg")));
    EXPECT_EQ(m_client.lastError().replyCode, 550);

    // No folder is made on the way: the remote folder must exist.
    const QString source = m_local.write(QStringLiteral("x.jpg"), "x");
    EXPECT_FALSE(m_client.upload(source, QStringLiteral("/missing/folder/x.jpg")));
    EXPECT_EQ(m_client.lastError().code, FtpError::ExtendedError);
    EXPECT_FALSE(QFileInfo::exists(serverFile(QStringLiteral("missing"))));

    const QString target = m_local.file(QStringLiteral("never.jpg"));
    EXPECT_FALSE(m_client.download(QStringLiteral("/nothing.jpg"), target, -1));
    EXPECT_EQ(m_client.lastError().code, FtpError::ExtendedError);
    EXPECT_FALSE(QFile::exists(target));

    // And the session still works after all of them.
    EXPECT_TRUE(m_client.upload(source, QStringLiteral("/x.jpg")));
}

TEST_P(FtpClientTest, DownloadsStopAtTheLimitAndLeaveTheOldFile)
{
    m_server->put(QStringLiteral("filelist.xml"), QByteArray(10000, 'x'));
    const QString target = m_local.write(QStringLiteral("filelist.xml"), "previous");
    EXPECT_FALSE(m_client.download(QStringLiteral("filelist.xml"), target, 9999));
    EXPECT_EQ(m_client.lastError().code, FtpError::TooLarge);
    EXPECT_EQ(contentOf(target), QByteArray("previous"));
    EXPECT_EQ(entriesOf(m_local.path()), QStringList{QStringLiteral("filelist.xml")});

    EXPECT_TRUE(m_client.download(QStringLiteral("filelist.xml"), target, 10000));
    EXPECT_EQ(contentOf(target).size(), 10000);
}

TEST_P(FtpClientTest, DotFilesAndEmptyFilesAreFetchedByName)
{
    m_server->put(QStringLiteral(".hidden"), "secret list");
    m_server->put(QStringLiteral("empty.txt"), "");
    const QString hidden = m_local.file(QStringLiteral("hidden"));
    ASSERT_TRUE(m_client.download(QStringLiteral(".hidden"), hidden, 100));
    EXPECT_EQ(contentOf(hidden), QByteArray("secret list"));
    const QString empty = m_local.write(QStringLiteral("empty"), "stale");
    ASSERT_TRUE(m_client.download(QStringLiteral("empty.txt"), empty, 100));
    EXPECT_EQ(contentOf(empty), QByteArray());
}

TEST_P(FtpClientTest, LocalFailuresAreTheLocalFilesFault)
{
    EXPECT_FALSE(
        m_client.upload(m_local.file(QStringLiteral("not there.jpg")), QStringLiteral("x.jpg")));
    EXPECT_EQ(m_client.lastError().code, FtpError::LocalFileError);
    EXPECT_TRUE(m_client.lastError().message.contains(QStringLiteral("not there.jpg")));
    m_server->put(QStringLiteral("y.jpg"), "y");
    EXPECT_FALSE(m_client.download(QStringLiteral("y.jpg"),
                                   m_local.file(QStringLiteral("no/such/folder/y.jpg")), -1));
    EXPECT_EQ(m_client.lastError().code, FtpError::LocalFileError);
}

TEST_P(FtpClientTest, NamesWithLineBreaksAreNeverSent)
{
    m_server->put(QStringLiteral("keep.jpg"), "k");
    EXPECT_FALSE(m_client.removeFile(QStringLiteral("x\r\nDELE /keep.jpg")));
    EXPECT_EQ(m_client.lastError().code, FtpError::InvalidUrl);
    EXPECT_TRUE(QFile::exists(serverFile(QStringLiteral("keep.jpg"))));
}

INSTANTIATE_TEST_SUITE_P(Servers, FtpClientTest,
                         testing::Values(Kind::PyftpdlibPassive, Kind::PyftpdlibActive,
                                         Kind::VsftpdPassive, Kind::VsftpdActive),
                         nameOf);
