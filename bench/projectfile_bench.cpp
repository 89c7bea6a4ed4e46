// SPDX-License-Identifier: GPL-2.0-or-later
// projectfile-bench: how long saving and opening an album project takes for albums of
// 2,500 and 10,000 photos (a few hundred small real JPEG files, each used many times, with
// titles, two-line descriptions, subfolder texts and changed parameters). Prints the best
// of three runs and the time per photo; the two sizes show whether a step grows faster
// than the photo count. Every save waits 50 ms for the progress window to be seen; the
// column "save-50" leaves that wait out.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "album/albumproject.h"
#include "album/projectfile.h"
#include "platform/choosers.h"
#include "platform/imagemetadata.h"
#include "platform/imaging.h"
#include "platform/prompter.h"
#include "platform/settings.h"
#include "plugins/paramrules.h"

namespace
{

constexpr int DistinctPhotos = 300;
constexpr int Runs = 3;

double millisecondsOf(const std::function<bool()>& step)
{
    const auto start = std::chrono::steady_clock::now();
    if (!step()) {
        std::fprintf(stderr, "projectfile-bench: a step failed\n");
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

std::vector<QString> makePhotos(const QString& folder)
{
    std::vector<QString> photos;
    for (int i = 0; i < DistinctPhotos; ++i) {
        const QString path = QString("%1/sub%2/photo%3.jpg").arg(folder).arg(i % 10).arg(i);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage picture(64, 48, QImage::Format_ARGB32);
        picture.fill(QColor::fromHsv(i % 360, 200, 200));
        if (!imaging::Image::fromQImage(picture)->save(path, QStringLiteral("image/jpeg")))
            return {};
        photos.push_back(path);
    }
    return photos;
}

bool initialise(AlbumProject& album, const std::string& plugins)
{
    album.PluginManager().SetPluginFolders({plugins});
    return album.Initialise() && album.ChooseTemplate(0, 10) && album.Parameters(nullptr) == 0;
}

void fill(AlbumProject& album, const std::vector<QString>& photos, int count)
{
    for (GVParamInfo& param : album.ParameterList()) {
        const int32_t i = paramrules::valueIndex(param);
        if (i >= 0 && param.type == PT_NUMBER)
            param.values[i] = GVParamValueInfo(PVK_USER_VALUE, GVParamValue(3));
    }
    album.Images().reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        AlbumImage image;
        image.name = ("Photo " + std::to_string(i)).c_str();
        image.description =
            ("Description of photo " + std::to_string(i) + "\r\nSecond line").c_str();
        image.subfolder = ("sub" + std::to_string(i % 10)).c_str();
        image.path = photos[size_t(i) % photos.size()].toUtf8().constData();
        image.index = i;
        album.Images().push_back(image);
    }
}

} // namespace

int main(int argc, char** argv)
{
    imaging::metadata::startUp(); // before any thread starts
    QCoreApplication app(argc, argv);
    QTemporaryDir scratch;
    Settings::setRoot(scratch.filePath("settings")); // never the user's own settings
    const QString plugins = scratch.filePath("plugins");
    QDir().mkpath(plugins);
    QFile::copy(QStringLiteral(GV_BENCH_PLUGIN),
                plugins + "/" + QFileInfo(QStringLiteral(GV_BENCH_PLUGIN)).fileName());
    const std::vector<QString> photos = makePhotos(scratch.filePath("photos"));
    if (photos.empty())
        return 1;
    NoChoosers choosers;
    ConsolePrompter prompter;
    std::printf("%8s %10s %10s %10s %14s %14s %10s\n", "photos", "save ms", "save-50", "open ms",
                "save us/photo", "open us/photo", "file KB");
    for (int count : {2500, 10000}) {
        AlbumProject album;
        if (!initialise(album, plugins.toStdString()))
            return 1;
        fill(album, photos, count);
        const std::string path = scratch.filePath(QString("album%1.gvp").arg(count)).toStdString();
        double save = 1e12, open = 1e12;
        for (int run = 0; run < Runs; ++run) {
            ProjectFile writer(album, prompter, choosers);
            save = std::min(
                save, millisecondsOf([&] { return writer.WriteProject(path.c_str()) == GV_OK; }));
            AlbumProject reopened;
            if (!initialise(reopened, plugins.toStdString()))
                return 1;
            ProjectFile reader(reopened, prompter, choosers);
            open = std::min(open, millisecondsOf([&] {
                                return reader.OpenProject(path.c_str(), true) == GV_OK &&
                                       reopened.Images().size() == size_t(count);
                            }));
        }
        const double net = save - 50;
        std::printf("%8d %10.1f %10.1f %10.1f %14.1f %14.1f %10lld\n", count, save, net, open,
                    net * 1000 / count, open * 1000 / count,
                    static_cast<long long>(QFileInfo(QString::fromStdString(path)).size() / 1024));
    }
    return 0;
}
