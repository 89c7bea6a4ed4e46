// SPDX-License-Identifier: GPL-2.0-or-later
// publish-bench [folder]: how fast an album is published to vsftpd on 127.0.0.1 through our
// session layer and file list, against lftp's "mirror -R" sending the same folder to a fresh
// folder of the same server in the same run. The album is made from the photos of the folder:
// 500 pictures of about 120 KB (about 60 MB) and a small HTML page for each. Prints the cold
// publish (seconds, files per second) beside lftp's, and the time of publishing again with
// nothing changed. Targets: cold at most 1.3 times lftp's time; unchanged under 1 second.
// Needs the superuser (vsftpd logs a local test account in). Both use passive mode.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "bench/benchfiles.h"
#include "platform/imagemetadata.h"
#include "platform/imaging.h"
#include "platform/settings.h"
#include "publish/albumtransfer.h"
#include "publish/ftpconnector.h"
#include "publish/ftplog.h"
#include "publish/ftpsettings.h"
#include "publish/myftpconnection.h"
#include "publish/myinetsession.h"
#include "tests/support/ftpservers.h"

namespace fs = std::filesystem;
using bench::secondsSince;

namespace
{

constexpr int Pictures = 500;
constexpr qint64 PictureBytes = 120 * 1024;
constexpr int Quality = 80;
constexpr double TargetRatio = 1.3;
constexpr double TargetUnchangedSeconds = 1.0;

struct Album {
    int files = 0;
    qint64 bytes = 0;
};

// Saves the picture as a JPEG and gives its size in bytes.
qint64 saveJpeg(const QImage& picture, const QString& path)
{
    const std::unique_ptr<imaging::Image> image = imaging::Image::fromQImage(picture);
    if (!image || !image->save(path, QStringLiteral("image/jpeg"), Quality))
        return -1;
    return QFileInfo(path).size();
}

// Pictures of every photo in turn, each a little smaller than the one before it of the same
// photo (so no two are alike), sized to come out near PictureBytes.
bool makePictures(const std::vector<fs::path>& photos, const QString& folder)
{
    QDir().mkpath(folder + QStringLiteral("/pictures"));
    QDir().mkpath(folder + QStringLiteral("/pages"));
    std::vector<QImage> decoded;
    std::vector<double> edge(photos.size(), 1100.0);
    for (const fs::path& photo : photos) {
        const auto image = imaging::Image::open(QString::fromStdString(photo.string()));
        decoded.push_back(image ? image->pixels(QSize(1600, 1600)) : QImage());
    }
    for (int i = 0; i < Pictures; ++i) {
        const size_t source = i % photos.size();
        if (decoded[source].isNull())
            return false;
        const int longest = static_cast<int>(edge[source]) - static_cast<int>(i / photos.size());
        const QImage scaled =
            decoded[source].scaled(longest, longest, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const QString name = QStringLiteral("p%1").arg(i, 3, 10, QLatin1Char('0'));
        const qint64 size =
            saveJpeg(scaled, folder + QStringLiteral("/pictures/") + name + QStringLiteral(".jpg"));
        if (size <= 0)
            return false;
        // The next picture of this photo aims nearer the size wanted.
        edge[source] *= std::clamp(std::sqrt(double(PictureBytes) / double(size)), 0.7, 1.3);
        const QByteArray page = "<!DOCTYPE html><html><head><title>" + name.toUtf8() +
                                "</title><link rel=\"stylesheet\" href=\"../style.css\"></head>"
                                "<body><img src=\"../pictures/" +
                                name.toUtf8() + ".jpg\"></body></html>\n";
        QFile file(folder + QStringLiteral("/pages/") + name + QStringLiteral(".html"));
        if (!file.open(QIODevice::WriteOnly) || file.write(page) != page.size())
            return false;
    }
    QFile index(folder + QStringLiteral("/index.html"));
    QFile style(folder + QStringLiteral("/style.css"));
    return index.open(QIODevice::WriteOnly) &&
           index.write("<html><body>album</body></html>\n") > 0 &&
           style.open(QIODevice::WriteOnly) && style.write("img { max-width: 100%; }\n") > 0;
}

Album measure(const QString& folder)
{
    Album album;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        ++album.files;
        album.bytes += it.fileInfo().size();
    }
    return album;
}

struct Outcome {
    bool ok = false;
    double seconds = 0;
    double planSeconds = 0; // of seconds: connecting, listing the album, fetching the old list
    int uploaded = 0;
    QString message;
};

// Connects, plans and sends as the command-line tool does; the clock runs from the connect.
Outcome publishWithOurs(const Vsftpd& server, const QString& folder, const QString& target,
                        const QString& logPath)
{
    Settings store;
    FtpSettings settings = FtpSettings::ReadAndCorrect(store);
    settings.forcePassive = true;
    FtpLog log(logPath);
    log.WriteHeader();
    CMyInetSession session(settings, log, store);
    FtpSiteLogin login;
    login.server = QStringLiteral("127.0.0.1");
    login.port = server.port();
    login.user = server.user();
    login.password = server.password();
    Outcome outcome;
    const auto start = std::chrono::steady_clock::now();
    FtpError error;
    std::unique_ptr<CMyFtpConnection> connection = ConnectToSite(session, login, error);
    if (!connection) {
        outcome.message = error.message;
        return outcome;
    }
    AlbumTransfer transfer(*connection, nullptr);
    if (!transfer.Plan(folder, target, outcome.message))
        return outcome;
    outcome.planSeconds = secondsSince(start);
    const AlbumTransfer::Result result = transfer.Run();
    outcome.seconds = secondsSince(start);
    outcome.ok = result.ok;
    outcome.uploaded = result.uploaded;
    outcome.message = result.message;
    return outcome;
}

Outcome mirrorWithLftp(const Vsftpd& server, const QString& folder, const QString& target)
{
    QProcess lftp;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LFTP_PASSWORD"), server.password());
    lftp.setProcessEnvironment(environment);
    lftp.setProcessChannelMode(QProcess::MergedChannels);
    const QString script =
        QStringLiteral("set ftp:ssl-allow no; set ftp:passive-mode on; set net:max-retries 1; "
                       "mirror -R \"%1\" \"%2\"; quit")
            .arg(folder, target);
    Outcome outcome;
    const auto start = std::chrono::steady_clock::now();
    lftp.start(QStringLiteral("lftp"),
               {QStringLiteral("--env-password"), QStringLiteral("-u"), server.user(),
                QStringLiteral("-p"), QString::number(server.port()), QStringLiteral("-e"), script,
                QStringLiteral("127.0.0.1")});
    const bool finished = lftp.waitForStarted() && lftp.waitForFinished(-1);
    outcome.seconds = secondsSince(start);
    outcome.ok = finished && lftp.exitStatus() == QProcess::NormalExit && lftp.exitCode() == 0;
    outcome.message = QString::fromLocal8Bit(lftp.readAll()).trimmed();
    return outcome;
}

int fail(const char* what, const QString& why)
{
    std::fprintf(stderr, "publish-bench: %s: %s\n", what, qUtf8Printable(why));
    return 1;
}

void report(const Album& album, const Outcome& cold, const Outcome& lftp, const Outcome& again)
{
    const double megabytes = double(album.bytes) / (1024.0 * 1024.0);
    std::printf(
        "publish-bench: %d pictures, %d files, %.1f MB, vsftpd on 127.0.0.1, passive mode\n",
        Pictures, album.files, megabytes);
    std::printf("  %-34s %8s %9s %8s\n", "", "seconds", "files/s", "MB/s");
    std::printf("  %-34s %8.2f %9.1f %8.1f\n", "ours, cold publish", cold.seconds,
                album.files / cold.seconds, megabytes / cold.seconds);
    std::printf("  %-34s %8.2f %9.1f %8.1f\n", "lftp mirror -R, cold", lftp.seconds,
                album.files / lftp.seconds, megabytes / lftp.seconds);
    std::printf("  (ours: %.2f s of it connecting and planning, %.2f ms a file sending)\n",
                cold.planSeconds, 1000.0 * (cold.seconds - cold.planSeconds) / cold.uploaded);
    const double ratio = cold.seconds / lftp.seconds;
    std::printf("  ours / lftp: %.2f (target at most %.1f): %s\n", ratio, TargetRatio,
                ratio <= TargetRatio ? "met" : "MISSED");
    std::printf("  ours, publishing again unchanged: %.3f s, %d file(s) sent (target under "
                "%.0f s): %s\n",
                again.seconds, again.uploaded, TargetUnchangedSeconds,
                again.seconds < TargetUnchangedSeconds ? "met" : "MISSED");
}

} // namespace

int main(int argc, char** argv)
{
    imaging::metadata::startUp();
    QCoreApplication app(argc, argv);
    if (!imaging::startImaging())
        return fail("imaging", QStringLiteral("libvips did not start"));
    const std::vector<fs::path> photos = bench::jpegsIn(bench::photoFolder(argc, argv));
    if (photos.empty())
        return fail("no photos", QString::fromStdString(bench::photoFolder(argc, argv).string()));
    QTemporaryDir work;
    // Our settings and log stay out of the user's.
    Settings::setRoot(work.filePath(QStringLiteral("settings")));
    const QString folder = work.filePath(QStringLiteral("album"));
    if (!makePictures(photos, folder))
        return fail("making the album", folder);
    const Album album = measure(folder);
    Vsftpd server;
    if (!server.skipReason().isEmpty())
        return fail("vsftpd", server.skipReason());
    const QString logPath = work.filePath(QStringLiteral("publish.ftp.log"));
    const Outcome cold = publishWithOurs(server, folder, QStringLiteral("/ours"), logPath);
    if (!cold.ok)
        return fail("publishing", cold.message + QStringLiteral(" (log: ") + logPath + u')');
    const Outcome again = publishWithOurs(server, folder, QStringLiteral("/ours"), logPath);
    if (!again.ok)
        return fail("publishing again", again.message);
    const Outcome lftp = mirrorWithLftp(server, folder, QStringLiteral("/lftp"));
    if (!lftp.ok)
        return fail("lftp", lftp.message);
    report(album, cold, lftp, again);
    return 0;
}
