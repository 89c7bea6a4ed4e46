// SPDX-License-Identifier: GPL-2.0-or-later
// Publishing an album to real servers on 127.0.0.1: what is sent the first and the second
// time, what a transfer cut off or refused leaves on the server, and the remote folder steps.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "platform/stringtable.h"
#include "publish/remotefolders.h"
#include "tests/publish/transferfixture.h"

namespace
{

QString textBefore(int id)
{
    return loadString(id).section(u'%', 0, 0);
}

// A text as the log file holds it: every line ends in "\r\n".
QString asLogged(QString text)
{
    return text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

QByteArray sameSizeOtherBytes(QByteArray bytes)
{
    for (int i = 0; i < std::min<int>(50, int(bytes.size())); ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
    return bytes;
}

QByteArray readLocal(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

struct ServerKind {
    const char* name;
    std::function<std::unique_ptr<TestFtpServer>()> make;
};

const ServerKind Servers[] = {
    {"pyftpdlib", [] { return std::unique_ptr<TestFtpServer>(new PyFtpServer()); }},
    {"vsftpd", [] { return std::unique_ptr<TestFtpServer>(new Vsftpd()); }},
};

class PublishTest : public ::testing::TestWithParam<ServerKind>
{
protected:
    void SetUp() override
    {
        server = GetParam().make();
        if (!server->skipReason().isEmpty())
            GTEST_SKIP() << qPrintable(server->skipReason());
        ASSERT_NE(fixture.Connect(*server), nullptr);
        target = RemoteFolders::Join(server->folder(), QStringLiteral("album"));
    }

    int stores() const
    {
        const auto* py = dynamic_cast<const PyFtpServer*>(server.get());
        return py ? py->commandCount(QStringLiteral("STOR")) : -1;
    }

    // The server holds exactly the album's files and its list, each as it is here.
    void expectServerHoldsAlbum(const QStringList& files)
    {
        QStringList expected;
        for (const QString& file : files + QStringList{QStringLiteral("filelist.xml")})
            expected << QStringLiteral("album/") + file;
        expected.sort();
        EXPECT_EQ(serverFiles(*server, QStringLiteral("album")), expected);
        for (const QString& file : files + QStringList{QStringLiteral("filelist.xml")})
            EXPECT_EQ(serverFile(*server, QStringLiteral("album/") + file),
                      readLocal(fixture.AlbumFile(file)))
                << qPrintable(file);
    }

    TransferFixture fixture;
    std::unique_ptr<TestFtpServer> server;
    QString target;
};

INSTANTIATE_TEST_SUITE_P(Servers, PublishTest, ::testing::ValuesIn(Servers),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(PublishTest, PublishingTwiceSendsOnlyWhatChangedAndTheList)
{
    fixture.MakeAlbum();
    const int storesBefore = stores();
    const AlbumTransfer::Result first = fixture.Publish(target);
    ASSERT_TRUE(first.ok) << qPrintable(first.message);
    EXPECT_EQ(first.uploaded, 9);
    EXPECT_EQ(first.skipped, 0);
    expectServerHoldsAlbum(fixture.AlbumFiles());
    if (stores() >= 0) {
        EXPECT_EQ(stores() - storesBefore, 9);
    }

    const QString page = QStringLiteral("pages/p2.html");
    fixture.WriteAlbumFile(page, sameSizeOtherBytes(readLocal(fixture.AlbumFile(page))));
    const int storesBetween = stores();
    const AlbumTransfer::Result second = fixture.Publish(target);
    ASSERT_TRUE(second.ok) << qPrintable(second.message);
    EXPECT_EQ(second.uploaded, 2);
    EXPECT_EQ(second.skipped, 7);
    expectServerHoldsAlbum(fixture.AlbumFiles());
    if (stores() >= 0) {
        EXPECT_EQ(stores() - storesBetween, 2);
    }
    EXPECT_TRUE(fixture.LogText().contains(
        loadString(IDS_TRANSFERRING_ALBUM).replace(QStringLiteral("%s"), target + u'/')));
    EXPECT_TRUE(fixture.LogText().contains(loadString(IDS_TRANSFER_FINISHED)));
}

TEST_P(PublishTest, AChangeThatKeepsSizeAndTimeIsStillSent)
{
    fixture.MakeAlbum();
    ASSERT_TRUE(fixture.Publish(target).ok);
    const QString css = fixture.AlbumFile(QStringLiteral("style.css"));
    const QDateTime time = QFileInfo(css).lastModified();
    fixture.WriteAlbumFile(QStringLiteral("style.css"), sameSizeOtherBytes(readLocal(css)));
    QFile file(css);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    file.close();
    ASSERT_EQ(QFileInfo(css).lastModified(), time);

    const AlbumTransfer::Result again = fixture.Publish(target);
    ASSERT_TRUE(again.ok) << qPrintable(again.message);
    EXPECT_EQ(again.uploaded, 2);
    EXPECT_EQ(serverFile(*server, QStringLiteral("album/style.css")), readLocal(css));
}

TEST_P(PublishTest, FilesEqualInTheCountedBytesAreTakenAsUnchanged)
{
    QByteArray big(40000, 'x');
    fixture.WriteAlbumFile(QStringLiteral("big.bin"), big);
    ASSERT_TRUE(fixture.Publish(target).ok);
    big[35000] = 'y';
    fixture.WriteAlbumFile(QStringLiteral("big.bin"), big);
    const AlbumTransfer::Result again = fixture.Publish(target);
    ASSERT_TRUE(again.ok) << qPrintable(again.message);
    EXPECT_EQ(again.uploaded, 1) << "only the list";
    EXPECT_EQ(serverFile(*server, QStringLiteral("album/big.bin")).at(35000), 'x');
}

TEST_P(PublishTest, NamesThatAreNoElementNamesAreKnownTheNextTime)
{
    fixture.MakeAlbum();
    fixture.WriteAlbumFile(QStringLiteral("my photo & more.jpg"), "spaces and an ampersand");
    fixture.WriteAlbumFile(QStringLiteral("2024/1st day.html"), "a digit first, a space");
    ASSERT_TRUE(fixture.Publish(target).ok);
    const AlbumTransfer::Result again = fixture.Publish(target);
    ASSERT_TRUE(again.ok) << qPrintable(again.message);
    EXPECT_EQ(again.uploaded, 1);
    EXPECT_EQ(again.skipped, 10);
    EXPECT_EQ(serverFile(*server, QStringLiteral("album/2024/1st day.html")),
              QByteArray("a digit first, a space"));
}

// Some servers leave dot-names out of their listings: the folder is there all the same.
TEST_P(PublishTest, AHiddenFolderTakesItsChangedFilesAgain)
{
    fixture.WriteAlbumFile(QStringLiteral(".thumbs/t.jpg"), "first");
    ASSERT_TRUE(fixture.Publish(target).ok);
    fixture.WriteAlbumFile(QStringLiteral(".thumbs/t.jpg"), "second, longer");
    const AlbumTransfer::Result again = fixture.Publish(target);
    ASSERT_TRUE(again.ok) << qPrintable(again.message);
    EXPECT_EQ(again.uploaded, 2);
    EXPECT_EQ(serverFile(*server, QStringLiteral("album/.thumbs/t.jpg")),
              QByteArray("second, longer"));
}

TEST_P(PublishTest, RemoveTreeDeletesANestedFolderAndNothingBeside)
{
    server->put(QStringLiteral("tree/a/b/c.txt"), "c");
    server->put(QStringLiteral("tree/a/y.txt"), "y");
    server->put(QStringLiteral("tree/x.txt"), "x");
    server->put(QStringLiteral("keep/z.txt"), "z");
    QString message;
    ASSERT_TRUE(RemoteFolders::CreatePath(
        fixture.Connection(), RemoteFolders::Join(server->folder(), "tree/a/empty"), message));

    EXPECT_TRUE(RemoteFolders::RemoveTree(fixture.Connection(),
                                          RemoteFolders::Join(server->folder(), "tree")));
    EXPECT_FALSE(QFileInfo::exists(server->root() + QStringLiteral("/tree")));
    EXPECT_EQ(serverFile(*server, QStringLiteral("keep/z.txt")), QByteArray("z"));

    EXPECT_FALSE(RemoteFolders::RemoveTree(fixture.Connection(), QStringLiteral("/")));
    EXPECT_FALSE(RemoteFolders::RemoveTree(fixture.Connection(), QString()));
    EXPECT_FALSE(RemoteFolders::RemoveTree(fixture.Connection(), QStringLiteral("keep/..")));
    EXPECT_EQ(serverFile(*server, QStringLiteral("keep/z.txt")), QByteArray("z"));
}

TEST_P(PublishTest, CreatePathMakesEveryMissingFolder)
{
    server->put(QStringLiteral("a/existing.txt"), "here before");
    QString message;
    const QString path = RemoteFolders::Join(server->folder(), QStringLiteral("a/b/c"));
    ASSERT_TRUE(RemoteFolders::CreatePath(fixture.Connection(), path, message))
        << qPrintable(message);
    EXPECT_TRUE(QFileInfo(server->root() + QStringLiteral("/a/b/c")).isDir());
    EXPECT_EQ(serverFile(*server, QStringLiteral("a/existing.txt")), QByteArray("here before"));
    EXPECT_TRUE(RemoteFolders::CreatePath(fixture.Connection(), path, message)) << "again";

    server->put(QStringLiteral("file.txt"), "a file, not a folder");
    const QString blocked = RemoteFolders::Join(server->folder(), QStringLiteral("file.txt/sub"));
    EXPECT_FALSE(RemoteFolders::CreatePath(fixture.Connection(), blocked, message));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_FALSE(
        RemoteFolders::CreatePath(fixture.Connection(), QStringLiteral("a/../../up"), message));
    EXPECT_EQ(message, loadString(IDS_CREATE_FOLDER_UNKNOWN)
                           .replace(QStringLiteral("%s"), QStringLiteral("a/../../up")));
}

TEST_P(PublishTest, AFolderHoldingOnlyTheFileListIsNotEmpty)
{
    QString message;
    const QString empty = RemoteFolders::Join(server->folder(), QStringLiteral("empty"));
    ASSERT_TRUE(RemoteFolders::CreatePath(fixture.Connection(), empty, message));
    EXPECT_FALSE(RemoteFolders::HasEntries(fixture.Connection(), empty));
    server->put(QStringLiteral("only/filelist.xml"), "<FileList/>");
    EXPECT_TRUE(RemoteFolders::HasEntries(
        fixture.Connection(), RemoteFolders::Join(server->folder(), QStringLiteral("only"))));
}

// ---- lists on the server that cannot be trusted

struct BadList {
    const char* what;
    QByteArray document;
    int reason;
};

QByteArray deepList()
{
    QByteArray xml = "<FileList>";
    for (int i = 0; i < 80; ++i)
        xml += "<f.d type=\"folder\">";
    for (int i = 0; i < 80; ++i)
        xml += "</f.d>";
    return xml + "</FileList>";
}

TEST_P(PublishTest, AListOnTheServerThatCannotBeTrustedMeansAFullUpload)
{
    fixture.MakeAlbum();
    QByteArray huge = "<FileList>" + QByteArray(RemoteFileList::MaxBytes + 10, ' ') + "</FileList>";
    const std::vector<BadList> lists = {
        {"damaged", "<FileList><f.index.html type=\"file\" id=\"v1", IDS_OLD_LIST_NOT_USED},
        {"huge", huge, IDS_OLD_LIST_NOT_FETCHED},
        {"deep", deepList(), IDS_OLD_LIST_NOT_USED},
        {"climbing",
         "<FileList><f.x name=\"../../index.html\" type=\"file\" id=\"v1\"/>"
         "</FileList>",
         IDS_OLD_LIST_NOT_USED},
        {"slashed", "<FileList><f.x name=\"images/DSCN0010.jpg\" type=\"file\"/></FileList>",
         IDS_OLD_LIST_NOT_USED},
        {"billion laughs",
         "<!DOCTYPE FileList [<!ENTITY a \"aaaaaaaaaa\">"
         "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
         "<FileList><f.index.html type=\"file\" id=\"&b;\"/></FileList>",
         IDS_OLD_LIST_NOT_USED},
    };
    int n = 0;
    for (const BadList& list : lists) {
        const QString folder = QStringLiteral("bad%1").arg(++n);
        server->put(folder + QStringLiteral("/filelist.xml"), list.document);
        const qsizetype logged = fixture.LogText().size();
        const AlbumTransfer::Result result =
            fixture.Publish(RemoteFolders::Join(server->folder(), folder));
        ASSERT_TRUE(result.ok) << list.what << ": " << qPrintable(result.message);
        EXPECT_EQ(result.uploaded, 9) << list.what;
        EXPECT_TRUE(fixture.LogText().mid(logged).contains(textBefore(list.reason))) << list.what;
    }
    QStringList everything = serverFiles(*server, QString());
    everything.removeIf([n](const QString& file) {
        for (int i = 1; i <= n; ++i) {
            if (file.startsWith(QStringLiteral("bad%1/").arg(i)))
                return true;
        }
        return false;
    });
    EXPECT_TRUE(everything.isEmpty()) << qPrintable(everything.join(u' '));
}

// ---- faults on the way, on the server that can be told to misbehave

class PublishFaultTest : public ::testing::Test
{
protected:
    explicit PublishFaultTest(int retries = 2) : fixture(retries) {}

    void SetUp() override
    {
        if (!server.skipReason().isEmpty())
            GTEST_SKIP() << qPrintable(server.skipReason());
        ASSERT_NE(fixture.Connect(server), nullptr);
        fixture.MakeAlbum();
    }

    QStringList temporaries() const
    {
        QStringList found = serverFiles(server, QStringLiteral("album"));
        found.removeIf([](const QString& file) { return !file.contains(QStringLiteral(".gvx-")); });
        return found;
    }

    TransferFixture fixture;
    PyFtpServer server;
    const QString target = QStringLiteral("/album");
};

class PublishCutTest : public PublishFaultTest
{
protected:
    PublishCutTest() : PublishFaultTest(1) {}
};

TEST_F(PublishCutTest, AResetOnTheFifthUploadLeavesTheServerUsableAndTheNextPublishEndsIt)
{
    ASSERT_TRUE(fixture.Publish(target).ok);
    const QByteArray oldList = serverFile(server, QStringLiteral("album/filelist.xml"));
    QMap<QString, QByteArray> before;
    for (const QString& file : fixture.AlbumFiles())
        before[file] = serverFile(server, QStringLiteral("album/") + file);

    fixture.MakeAlbum(2);
    FtpFaults faults;
    faults.add(FtpFault::resetDuringStor(server.commandCount(QStringLiteral("STOR")) + 5, 100));
    server.setFaults(faults);
    const AlbumTransfer::Result cut = fixture.Publish(target);
    EXPECT_FALSE(cut.ok);
    EXPECT_EQ(cut.uploaded, 4);
    const QStringList files = fixture.AlbumFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QByteArray now = serverFile(server, QStringLiteral("album/") + files[i]);
        if (i < 4)
            EXPECT_EQ(now, readLocal(fixture.AlbumFile(files[i])))
                << "sent: " << qPrintable(files[i]);
        else
            EXPECT_EQ(now, before[files[i]]) << "not yet sent: " << qPrintable(files[i]);
    }
    EXPECT_EQ(serverFile(server, QStringLiteral("album/filelist.xml")), oldList);
    EXPECT_TRUE(temporaries().isEmpty()) << qPrintable(temporaries().join(u' '));
    EXPECT_TRUE(fixture.LogText().contains(asLogged(AlbumTransfer::FailureText(target + u'/'))));

    server.setFaults(FtpFaults());
    const AlbumTransfer::Result next = fixture.Publish(target);
    ASSERT_TRUE(next.ok) << qPrintable(next.message);
    for (const QString& file : files + QStringList{QStringLiteral("filelist.xml")})
        EXPECT_EQ(serverFile(server, QStringLiteral("album/") + file),
                  readLocal(fixture.AlbumFile(file)))
            << qPrintable(file);
}

TEST_F(PublishFaultTest, AnUploadCutOnceIsSentAgainUnderANewName)
{
    server.setFaults(FtpFaults().add(FtpFault::resetDuringStor(5, 100)));
    const AlbumTransfer::Result result = fixture.Publish(target);
    ASSERT_TRUE(result.ok) << qPrintable(result.message);
    EXPECT_EQ(server.commandCount(QStringLiteral("STOR")), 10);
    for (const QString& file : fixture.AlbumFiles())
        EXPECT_EQ(serverFile(server, QStringLiteral("album/") + file),
                  readLocal(fixture.AlbumFile(file)));
    EXPECT_TRUE(temporaries().isEmpty()) << qPrintable(temporaries().join(u' '));
    EXPECT_TRUE(fixture.LogText().contains(QStringLiteral("(PutFile(/album/index.html):")));
}

TEST_F(PublishFaultTest, AFullDiskOnOneUploadFailsCleanlyWithoutTheList)
{
    server.setFaults(FtpFaults().add(FtpFault::replyWith(
        QStringLiteral("STOR"), QStringLiteral("452 Insufficient storage space."), 3)));
    const AlbumTransfer::Result result = fixture.Publish(target);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.uploaded, 2);
    EXPECT_EQ(server.commandCount(QStringLiteral("STOR")), 3) << "a refusal is not retried";
    const QStringList files = fixture.AlbumFiles();
    EXPECT_TRUE(result.message.startsWith(loadString(IDS_UPLOAD_FAILED).arg(files[2], QString())))
        << qPrintable(result.message);
    EXPECT_TRUE(result.message.contains(QStringLiteral("452"))) << qPrintable(result.message);
    EXPECT_EQ(serverFile(server, QStringLiteral("album/") + files[1]),
              readLocal(fixture.AlbumFile(files[1])));
    EXPECT_EQ(serverFile(server, QStringLiteral("album/") + files[2]), QByteArray());
    EXPECT_EQ(serverFile(server, QStringLiteral("album/filelist.xml")), QByteArray());
    EXPECT_TRUE(temporaries().isEmpty());
    EXPECT_TRUE(fixture.LogText().contains(asLogged(AlbumTransfer::FailureText(target + u'/'))));
}

TEST_F(PublishFaultTest, AServerThatRefusesTheRenameGetsThePlainUpload)
{
    server.setFaults(FtpFaults().add(
        FtpFault::replyWith(QStringLiteral("RNTO"), QStringLiteral("553 Renaming not allowed."))));
    const AlbumTransfer::Result result = fixture.Publish(target);
    ASSERT_TRUE(result.ok) << qPrintable(result.message);
    EXPECT_EQ(result.uploaded, 9);
    for (const QString& file : fixture.AlbumFiles())
        EXPECT_EQ(serverFile(server, QStringLiteral("album/") + file),
                  readLocal(fixture.AlbumFile(file)));
    EXPECT_TRUE(temporaries().isEmpty()) << qPrintable(temporaries().join(u' '));
    EXPECT_TRUE(fixture.LogText().contains(textBefore(IDS_RENAME_REFUSED)));
}

TEST_F(PublishFaultTest, AFileThatChangesDuringTheTransferFailsItByName)
{
    const QString page = QStringLiteral("pages/p1.html");
    ScriptedProgress progress;
    progress.onPump = [&](const QString& shown) {
        if (shown == page)
            fixture.WriteAlbumFile(page, "edited while it was being published");
        return false;
    };
    const AlbumTransfer::Result result = fixture.Publish(target, &progress);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, loadString(IDS_FILE_CHANGED).arg(page));
    EXPECT_EQ(serverFile(server, QStringLiteral("album/") + page), QByteArray());
    EXPECT_EQ(serverFile(server, QStringLiteral("album/filelist.xml")), QByteArray());

    progress.onPump = nullptr;
    const AlbumTransfer::Result next = fixture.Publish(target, &progress);
    ASSERT_TRUE(next.ok) << qPrintable(next.message);
    EXPECT_EQ(serverFile(server, QStringLiteral("album/") + page),
              QByteArray("edited while it was being published"));
}

TEST_F(PublishFaultTest, CancelStopsBeforeTheNextFileAndTheListStaysOff)
{
    ScriptedProgress progress;
    progress.onPump = [&](const QString&) { return progress.texts.size() > 3; };
    const AlbumTransfer::Result result = fixture.Publish(target, &progress);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, loadString(IDS_TRANSFER_CANCELLED));
    EXPECT_EQ(result.uploaded, 3);
    EXPECT_EQ(serverFile(server, QStringLiteral("album/filelist.xml")), QByteArray());
    EXPECT_TRUE(temporaries().isEmpty());
    EXPECT_EQ(progress.titles.value(0), loadString(IDS_TRANSFER_TITLE));
    EXPECT_EQ(progress.texts.mid(0, 3), fixture.AlbumFiles().mid(0, 3));
}

TEST_F(PublishFaultTest, ProgressCountsTheFilesSentUpToAHundred)
{
    ScriptedProgress progress;
    ASSERT_TRUE(fixture.Publish(target, &progress).ok);
    EXPECT_EQ(progress.texts.mid(0, 8), fixture.AlbumFiles());
    EXPECT_EQ(progress.texts.value(8), QStringLiteral("filelist.xml"));
    EXPECT_EQ(progress.positions, (std::vector<int>{0, 11, 22, 33, 44, 55, 66, 77, 88, 100}));
}

TEST_F(PublishFaultTest, NamesThatCannotGoToTheServerStopThePlan)
{
    fixture.WriteAlbumFile(QStringLiteral("pages/line\nbreak.html"),
                           "a name that would end a command");
    const AlbumTransfer::Result result = fixture.Publish(target);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message,
              loadString(IDS_NAME_NOT_SENDABLE).arg(QStringLiteral("pages/line\nbreak.html")));
    EXPECT_EQ(server.commandCount(QStringLiteral("STOR")), 0);
}

TEST_F(PublishFaultTest, ATargetThatClimbsStaysInsideTheServersTop)
{
    AlbumTransfer transfer(fixture.Connection(), nullptr);
    QString message;
    EXPECT_FALSE(transfer.Plan(fixture.AlbumPath(), QStringLiteral("/../../etc"), message));
    EXPECT_TRUE(message.startsWith(textBefore(IDS_OUTSIDE_TARGET)));
    ASSERT_TRUE(transfer.Plan(fixture.AlbumPath(), QStringLiteral("/x/../album//deep/"), message));
    EXPECT_EQ(transfer.Target(), QStringLiteral("/album/deep/"));
}

} // namespace
