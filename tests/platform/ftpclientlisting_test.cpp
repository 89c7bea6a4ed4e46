// SPDX-License-Identifier: GPL-2.0-or-later
// The pieces of the FTP client that need no server: reading listings as servers really send
// them, building the paths and URLs that go out, pairing replies with their commands, and
// turning curl's failures into the codes the publishing layer decides on.
#include <gtest/gtest.h>

#include <curl/curl.h>

#include "platform/ftpcurl.h"
#include "platform/ftpfailure.h"
#include "platform/ftplisting.h"
#include "platform/ftppath.h"
#include "platform/ftpreplies.h"
#include "platform/ftptrust.h"

namespace
{

const QDate Today(2026, 12, 7);

FtpEntry only(const QByteArray& listing, FtpListing::Format format)
{
    const std::vector<FtpEntry> entries = FtpListing::parse(listing, format, Today);
    EXPECT_EQ(entries.size(), 1u) << listing.constData();
    return entries.empty() ? FtpEntry() : entries.front();
}

} // namespace

TEST(FtpListingTest, UnixLinesKeepNamesWithSpacesWhole)
{
    const FtpEntry file = only("-rw-r--r--   1 1000     1000       123456 Dec 07 16:05 "
                               "two  spaces and trailing \r\n",
                               FtpListing::Format::List);
    EXPECT_EQ(file.name, QStringLiteral("two  spaces and trailing "));
    EXPECT_FALSE(file.folder);
    EXPECT_EQ(file.size, 123456);
    EXPECT_EQ(file.modified, QDateTime(QDate(2026, 12, 7), QTime(16, 5), Qt::UTC));

    const FtpEntry folder =
        only("drwxr-xr-x    2 ftp      ftp          4096 Jan  5  2024 Summer 2024\n",
             FtpListing::Format::List);
    EXPECT_EQ(folder.name, QStringLiteral("Summer 2024"));
    EXPECT_TRUE(folder.folder);
    EXPECT_EQ(folder.modified.date(), QDate(2024, 1, 5));
}

TEST(FtpListingTest, UnixTimesAheadOfTodayBelongToLastYear)
{
    const FtpEntry entry =
        only("-rw-r--r-- 1 u g 5 Dec 20 10:00 late.jpg\n", FtpListing::Format::List);
    EXPECT_EQ(entry.modified.date(), QDate(2025, 12, 20));
}

TEST(FtpListingTest, SymbolicLinksAreFilesNamedByTheLink)
{
    // A link is never descended into: a removal of the tree must not follow it elsewhere.
    const FtpEntry link =
        only("lrwxrwxrwx 1 u g 7 Dec 07 16:00 latest -> ../2024/album\n", FtpListing::Format::List);
    EXPECT_EQ(link.name, QStringLiteral("latest"));
    EXPECT_FALSE(link.folder);
}

TEST(FtpListingTest, LinesWithoutGroupOrWithOddColumnsStillRead)
{
    const FtpEntry noGroup =
        only("-rw-r--r-- 1 owner 77 Mar 3 2023 a.txt\n", FtpListing::Format::List);
    EXPECT_EQ(noGroup.name, QStringLiteral("a.txt"));
    EXPECT_EQ(noGroup.size, 77);
    // An owner named like a month does not move the columns.
    const FtpEntry monthOwner =
        only("-rw-r--r-- 1 may staff 12 Apr 1 09:30 Jan 5 notes\n", FtpListing::Format::List);
    EXPECT_EQ(monthOwner.name, QStringLiteral("Jan 5 notes"));
    EXPECT_EQ(monthOwner.size, 12);
}

TEST(FtpListingTest, DosLines)
{
    const std::vector<FtpEntry> entries =
        FtpListing::parse("12-07-26  04:05PM       <DIR>          My Photos\r\n"
                          "01-15-99  12:30AM                 1234 old file.jpg\r\n",
                          FtpListing::Format::List, Today);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, QStringLiteral("My Photos"));
    EXPECT_TRUE(entries[0].folder);
    EXPECT_EQ(entries[0].modified, QDateTime(QDate(2026, 12, 7), QTime(16, 5), Qt::UTC));
    EXPECT_EQ(entries[1].name, QStringLiteral("old file.jpg"));
    EXPECT_EQ(entries[1].size, 1234);
    EXPECT_EQ(entries[1].modified, QDateTime(QDate(1999, 1, 15), QTime(0, 30), Qt::UTC));
}

TEST(FtpListingTest, MlsdFactsAndNames)
{
    const std::vector<FtpEntry> entries = FtpListing::parse(
        "type=cdir;modify=20261207160000; .\r\n"
        "type=pdir;modify=20261207160000; ..\r\n"
        "Type=dir;Modify=20261207160000;Perm=flcdmpe; sub folder\r\n"
        "type=file;size=42;modify=20240102030405.123;perm=r; caf\xc3\xa9 ;x.jpg\r\n"
        "type=OS.unix=symlink;size=9;modify=20240102030405; link\r\n",
        FtpListing::Format::Mlsd, Today);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, QStringLiteral("sub folder"));
    EXPECT_TRUE(entries[0].folder);
    EXPECT_EQ(entries[1].name, QStringLiteral("café ;x.jpg"));
    EXPECT_EQ(entries[1].size, 42);
    EXPECT_EQ(entries[1].modified, QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC));
    EXPECT_FALSE(entries[2].folder);
}

TEST(FtpListingTest, NamesThatCouldLeaveTheFolderAreDropped)
{
    const std::vector<FtpEntry> entries = FtpListing::parse("type=file;size=1; ../../etc/passwd\r\n"
                                                            "type=file;size=1; a/b\r\n"
                                                            "type=dir; ..\r\n"
                                                            "type=file;size=1; \r\n"
                                                            "type=file;size=1; fine\r\n",
                                                            FtpListing::Format::Mlsd, Today);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, QStringLiteral("fine"));
    EXPECT_TRUE(FtpListing::parse("drwxr-xr-x 2 u g 4096 Dec 07 16:00 ..\n"
                                  "drwxr-xr-x 2 u g 4096 Dec 07 16:00 .\n"
                                  "total 8\n",
                                  FtpListing::Format::List, Today)
                    .empty());
}

TEST(FtpListingTest, GarbageGivesNothingAndNoCrash)
{
    EXPECT_TRUE(FtpListing::parse("-rw\n-rw-r--r--\ndrwx 1 2 3 Dec\n"
                                  "99-99-99 99:99XM <DIR> x\nnospace\n=;=; x\n",
                                  FtpListing::Format::List, Today)
                    .empty());
    EXPECT_TRUE(FtpListing::parse("nospace\nsize=3; nofacttype\n", FtpListing::Format::Mlsd, Today)
                    .empty());
    EXPECT_FALSE(
        FtpListing::parseListLine("-rw-r--r-- 1 u g 5 Feb 30 2024 x", Today)->modified.isValid());
}

TEST(FtpListingTest, FeatRepliesThatOfferMlsd)
{
    EXPECT_TRUE(FtpListing::offersMlsd(
        QStringLiteral("211-Features supported:\n EPRT\n MLST type*;size*;modify*;\n211 End")));
    EXPECT_TRUE(FtpListing::offersMlsd(QStringLiteral("211-Features:\n MLST\n211 End")));
    EXPECT_FALSE(FtpListing::offersMlsd(QStringLiteral("211-Features:\n MDTM\n SIZE\n211 End")));
    EXPECT_FALSE(FtpListing::offersMlsd(QStringLiteral("211-Features:\n MLSTX\n211 End")));
}

TEST(FtpPathTest, AbsolutePathsAgainstTheCurrentFolder)
{
    EXPECT_EQ(FtpPath::absolute("/home/u", "album"), QStringLiteral("/home/u/album"));
    EXPECT_EQ(FtpPath::absolute("/home/u", "/x//y/"), QStringLiteral("/x/y"));
    EXPECT_EQ(FtpPath::absolute("/a/b", "..\\c\\.\\d"), QStringLiteral("/a/c/d"));
    EXPECT_EQ(FtpPath::absolute("/", "../../.."), QStringLiteral("/"));
    EXPECT_EQ(FtpPath::absolute("/a", ""), QStringLiteral("/a"));
    EXPECT_EQ(FtpPath::parent("/a/b"), QStringLiteral("/a"));
    EXPECT_EQ(FtpPath::parent("/a"), QStringLiteral("/"));
    EXPECT_EQ(FtpPath::parent("/"), QStringLiteral("/"));
}

TEST(FtpPathTest, LineBreaksCannotSmuggleCommands)
{
    EXPECT_FALSE(FtpPath::sendable(QStringLiteral("/a\r\nDELE /b")));
    EXPECT_FALSE(FtpPath::sendable(QStringLiteral("/a\nb")));
    EXPECT_FALSE(FtpPath::sendable(QString(QChar(0))));
    EXPECT_TRUE(FtpPath::sendable(QStringLiteral("/a b/ü \"q\"")));
}

TEST(FtpPathTest, HostsThatWouldChangeTheUrlAreRefused)
{
    for (const char* good : {"127.0.0.1", "ftp.example.org", "::1", "my_host", "bücher.de"})
        EXPECT_TRUE(FtpPath::usableHost(QString::fromUtf8(good))) << good;
    for (const char* bad : {"", "user@evil.org", "host/path", "host:21/x", "a b", "h\r\nx", "[::1]",
                            "host?x", "host#x"})
        EXPECT_FALSE(FtpPath::usableHost(QString::fromUtf8(bad))) << bad;
}

TEST(FtpPathTest, UrlsStartAtTheRootAndEncodeEveryPart)
{
    using P = FtpOptions::Protocol;
    EXPECT_EQ(FtpPath::url(P::Ftp, "127.0.0.1", 2121, "/a b/é#?.jpg", false),
              QByteArray("ftp://127.0.0.1:2121/%2Fa%20b/%C3%A9%23%3F.jpg"));
    EXPECT_EQ(FtpPath::url(P::Ftp, "h", 0, "/a", true), QByteArray("ftp://h:21/%2Fa/"));
    EXPECT_EQ(FtpPath::url(P::Ftp, "h", 0, "/", true), QByteArray("ftp://h:21/%2F"));
    EXPECT_EQ(FtpPath::url(P::Ftps, "h", 990, "/%", false), QByteArray("ftp://h:990/%2F%25"));
    EXPECT_EQ(FtpPath::url(P::Sftp, "h", 0, "/", true), QByteArray("sftp://h:22/"));
    EXPECT_EQ(FtpPath::url(P::Sftp, "::1", 2222, "/d/f", false),
              QByteArray("sftp://[::1]:2222/d/f"));
    EXPECT_EQ(FtpPath::quotedForSftp("/a \"b\\c"), QByteArray("\"/a \\\"b\\\\c\""));
}

TEST(FtpRepliesTest, QuotedCommandsFindTheirOwnReply)
{
    FtpReplies replies;
    replies.replyReceived("220 Welcome\r\n");
    replies.commandSent("MKD /a\r\n");
    replies.replyReceived("550 Permission denied.\r\n");
    replies.commandSent("CWD /\r\n");
    replies.replyReceived("250 OK.\r\n");
    ASSERT_NE(replies.replyTo("MKD /a"), nullptr);
    EXPECT_EQ(replies.replyTo("MKD /a")->code, 550);
    EXPECT_EQ(replies.replyTo("MKD /a")->text, QStringLiteral("550 Permission denied."));
    EXPECT_EQ(replies.lastCode(), 250);
    EXPECT_EQ(replies.replyTo("RMD /a"), nullptr);
}

TEST(FtpRepliesTest, MultiLineAndPreliminaryReplies)
{
    FtpReplies replies;
    replies.commandSent("FEAT\r\n");
    // Lines may come in pieces.
    replies.replyReceived("211-Features:\r\n MLST type*;\r");
    replies.replyReceived("\n 211 not the end\r\n211 End\r\n");
    replies.commandSent("STOR /x\r\n");
    replies.replyReceived("150 Opening\r\n");
    EXPECT_EQ(replies.replyTo("STOR /x"), nullptr);
    replies.replyReceived("226 Done\r\n");
    ASSERT_NE(replies.replyTo("FEAT"), nullptr);
    EXPECT_EQ(replies.replyTo("FEAT")->text,
              QStringLiteral("211-Features:\n MLST type*;\n 211 not the end\n211 End"));
    ASSERT_NE(replies.replyTo("STOR /x"), nullptr);
    EXPECT_EQ(replies.replyTo("STOR /x")->code, 226);
}

TEST(FtpRepliesTest, ThePasswordIsNeverKept)
{
    FtpReplies replies;
    replies.setSecret(QStringLiteral("s3cr3t"));
    replies.commandSent("PASS s3cr3t\r\n");
    replies.replyReceived("530 Login incorrect for s3cr3t\r\n");
    ASSERT_NE(replies.replyTo("PASS (hidden)"), nullptr);
    EXPECT_EQ(replies.lastText(), QStringLiteral("530 Login incorrect for (hidden)"));
}

TEST(FtpRepliesTest, HugeRepliesAreCut)
{
    FtpReplies replies;
    replies.commandSent("NOOP\r\n");
    replies.replyReceived("200-" + QByteArray(5000, 'x') + "\r\n");
    for (int i = 0; i < 100; ++i)
        replies.replyReceived(QByteArray(100, 'y') + "\r\n");
    replies.replyReceived("200 end\r\n");
    EXPECT_EQ(replies.lastCode(), 200);
    EXPECT_LE(replies.lastText().size(), FtpReplies::maxTextLength);
}

TEST(FtpFailureTest, TimeOutsAndServerRepliesAreTold)
{
    FtpFailure silent;
    silent.curlCode = CURLE_OPERATION_TIMEDOUT;
    silent.replyCode = 150;
    silent.host = QStringLiteral("example.org");
    EXPECT_EQ(silent.toError().code, FtpError::TimedOut);

    // curl calls a 421 a time-out too; it is the server speaking.
    FtpFailure closing = silent;
    closing.replyCode = 421;
    closing.replyText = QStringLiteral("421 Too many users");
    const FtpError error = closing.toError();
    EXPECT_EQ(error.code, FtpError::ExtendedError);
    EXPECT_EQ(error.replyCode, 421);
    EXPECT_TRUE(error.message.contains(QStringLiteral("421 Too many users")));
}

TEST(FtpFailureTest, CodesForTheCommonFailures)
{
    const std::pair<int, int> cases[] = {
        {CURLE_COULDNT_CONNECT, FtpError::CannotConnect},
        {CURLE_COULDNT_RESOLVE_HOST, FtpError::NameNotResolved},
        {CURLE_LOGIN_DENIED, FtpError::LoginFailed},
        {CURLE_RECV_ERROR, FtpError::ConnectionReset},
        {CURLE_SEND_ERROR, FtpError::ConnectionAborted},
        {CURLE_REMOTE_ACCESS_DENIED, FtpError::ExtendedError},
        {CURLE_UPLOAD_FAILED, FtpError::ExtendedError},
        {CURLE_FTP_PORT_FAILED, FtpError::ExtendedError},
        {CURLE_FTP_WEIRD_PASV_REPLY, FtpError::ExtendedError},
        {CURLE_PEER_FAILED_VERIFICATION, FtpError::UntrustedCertificate},
        {CURLE_SSL_CONNECT_ERROR, FtpError::SecurityFailure},
        {CURLE_USE_SSL_FAILED, FtpError::SecurityFailure},
        {CURLE_ABORTED_BY_CALLBACK, FtpError::Cancelled},
        {CURLE_FILESIZE_EXCEEDED, FtpError::TooLarge},
        {CURLE_URL_MALFORMAT, FtpError::InvalidUrl},
        {CURLE_OUT_OF_MEMORY, FtpError::Unknown},
    };
    for (const auto& [curlCode, code] : cases) {
        FtpFailure failure;
        failure.curlCode = curlCode;
        failure.host = QStringLiteral("h");
        const FtpError error = failure.toError();
        EXPECT_EQ(error.code, code) << curlCode;
        EXPECT_FALSE(error.message.isEmpty()) << curlCode;
    }
}

TEST(FtpFailureTest, WhatTheCallbacksSawDecides)
{
    FtpFailure failure;
    failure.curlCode = CURLE_WRITE_ERROR;
    failure.tooLarge = true;
    EXPECT_EQ(failure.toError().code, FtpError::TooLarge);
    failure.tooLarge = false;
    failure.localProblem = QStringLiteral("The file /x could not be written: disk full");
    EXPECT_EQ(failure.toError().code, FtpError::LocalFileError);
    EXPECT_EQ(failure.toError().message, failure.localProblem);

    FtpFailure ssh;
    ssh.protocol = FtpOptions::Protocol::Sftp;
    ssh.curlCode = CURLE_PEER_FAILED_VERIFICATION;
    ssh.hostKeyMismatch = true;
    ssh.knownHostsFile = QStringLiteral("/home/u/.local/share/hosts");
    EXPECT_EQ(ssh.toError().code, FtpError::HostKeyMismatch);
    EXPECT_TRUE(ssh.toError().message.contains(ssh.knownHostsFile));

    FtpFailure tls;
    tls.curlCode = CURLE_PEER_FAILED_VERIFICATION;
    tls.presentedKey = "abc=";
    EXPECT_EQ(tls.toError().presentedKeySha256, QByteArray("abc="));
    EXPECT_TRUE(tls.toError().message.contains(QStringLiteral("abc=")));
}

TEST(FtpFailureTest, EveryCodeHasItsText)
{
    for (int code :
         {FtpError::NoMoreFiles, FtpError::Cancelled, FtpError::TimedOut, FtpError::ExtendedError,
          FtpError::InvalidUrl, FtpError::NameNotResolved, FtpError::LoginFailed,
          FtpError::CannotConnect, FtpError::ConnectionAborted, FtpError::ConnectionReset,
          FtpError::SecurityFailure, FtpError::UntrustedCertificate, FtpError::HostKeyMismatch,
          FtpError::LocalFileError, FtpError::TooLarge, FtpError::Unknown})
        EXPECT_FALSE(ftpErrorMessage(code).isEmpty()) << code;
    EXPECT_EQ(ftpErrorMessage(FtpError::TimedOut), QStringLiteral("The operation timed out."));
    EXPECT_TRUE(ftpErrorMessage(4242).isEmpty());
}

TEST(FtpTrustTest, KnownHostsLinesNameThePortUnlessItIs22)
{
    const QByteArray blob = QByteArray("\0\0\0\x13", 4) + "ecdsa-sha2-nistp256" + "KEYBYTES";
    EXPECT_EQ(FtpTrust::knownHostsLine(QStringLiteral("127.0.0.1"), 2222, blob),
              "[127.0.0.1]:2222 ecdsa-sha2-nistp256 " + blob.toBase64());
    EXPECT_EQ(FtpTrust::knownHostsLine(QStringLiteral("example.org"), 22, blob),
              "example.org ecdsa-sha2-nistp256 " + blob.toBase64());
    // A blob that does not start with a key type's name is not written at all.
    EXPECT_TRUE(FtpTrust::knownHostsLine(QStringLiteral("h"), 22, "\0\0\0").isEmpty());
    EXPECT_TRUE(FtpTrust::knownHostsLine(QStringLiteral("h"), 22,
                                         QByteArray("\0\0\0\x40"
                                                    "ab",
                                                    6))
                    .isEmpty());
    EXPECT_TRUE(FtpTrust::knownHostsLine(QStringLiteral("h"), 22,
                                         QByteArray("\0\0\0\x02"
                                                    "a\n",
                                                    6))
                    .isEmpty());
}

TEST(FtpQuietWatchTest, OnlySilenceLongerThanTheLimitEndsATransfer)
{
    FtpQuietWatch watch(1000);
    EXPECT_FALSE(watch.expired(0, 50'000)); // the first look starts the count
    EXPECT_FALSE(watch.expired(0, 51'000));
    EXPECT_TRUE(watch.expired(0, 51'001));
    // Any sign of life starts it again, however long the transfer has run.
    EXPECT_FALSE(watch.expired(1, 90'000));
    EXPECT_FALSE(watch.expired(1, 90'900));
    EXPECT_FALSE(watch.expired(2, 91'800));
    EXPECT_TRUE(watch.expired(2, 92'801));
}
