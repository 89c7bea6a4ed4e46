// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/publish/transferfixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace
{

struct Sample {
    const char* relative;
    const char* photo; // a test photo, or null for a small page
};

// In list order: the photos' folder sorts first, so the fifth file sent is index.html.
const Sample Files[] = {
    {"images/DSCN0010.jpg", "photos/exs-DSCN0010.jpg"},
    {"images/canon-ixus.jpg", "photos/exs-canon-ixus.jpg"},
    {"images/kodak.jpg", "photos/exs-kodak-dc240.jpg"},
    {"images/thumbs/reagan.jpg", "photos/ex2-Reagan.jpg"},
    {"index.html", nullptr},
    {"pages/p1.html", nullptr},
    {"pages/p2.html", nullptr},
    {"style.css", nullptr},
};

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray versioned(QByteArray bytes, int version)
{
    // Within the first bytes that the content id counts; the size stays.
    const int at = std::min<int>(200, int(bytes.size()) - 1);
    bytes[at] = static_cast<char>(bytes[at] ^ version);
    return bytes;
}

} // namespace

TransferFixture::TransferFixture(int retries)
    : m_log(m_work.file(QStringLiteral("publish.ftp.log")))
{
    FtpSettings settings;
    settings.connectionTimeout = 10000;
    settings.operationsTimeout = 10000;
    settings.retries = retries;
    settings.retryDelay = 20;
    settings.forcePassive = true;
    m_session = std::make_unique<CMyInetSession>(settings, m_log, m_store);
}

CMyFtpConnection* TransferFixture::Connect(const TestFtpServer& server)
{
    FtpSiteLogin login;
    login.server = QStringLiteral("127.0.0.1");
    login.port = server.port();
    login.user = server.user();
    login.password = server.password();
    FtpError error;
    m_connection = CMyFtpConnection::Open(*m_session, login, true, error);
    EXPECT_NE(m_connection, nullptr)
        << qPrintable(error.message) << " " << qPrintable(error.replyText);
    return m_connection.get();
}

void TransferFixture::MakeAlbum(int version)
{
    for (const Sample& file : Files) {
        QByteArray bytes = file.photo ? readAll(sharedTestData(QString::fromLatin1(file.photo)))
                                      : QByteArray("<html><body>") + file.relative +
                                            QByteArray(600, ' ') + "</body></html>\n";
        WriteAlbumFile(QString::fromLatin1(file.relative), versioned(bytes, version));
    }
}

QStringList TransferFixture::AlbumFiles() const
{
    QStringList files;
    for (const Sample& file : Files)
        files << QString::fromLatin1(file.relative);
    return files;
}

QString TransferFixture::WriteAlbumFile(const QString& relative, const QByteArray& bytes) const
{
    return m_album.write(relative, bytes);
}

AlbumTransfer::Result TransferFixture::Publish(const QString& target, Progress* progress)
{
    AlbumTransfer transfer(*m_connection, progress);
    m_planMessage.clear();
    if (!transfer.Plan(m_album.path(), target, m_planMessage))
        return AlbumTransfer::Result{false, 0, 0, m_planMessage};
    return transfer.Run();
}

QString TransferFixture::LogText() const
{
    return QString::fromUtf8(readAll(m_log.Path()));
}

QByteArray serverFile(const TestFtpServer& server, const QString& relative)
{
    return readAll(QDir(server.root()).filePath(relative));
}

QStringList serverFiles(const TestFtpServer& server, const QString& folder)
{
    QStringList files;
    const QDir root(server.root());
    QDirIterator it(root.filePath(folder), QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << root.relativeFilePath(it.next());
    files.sort();
    return files;
}
