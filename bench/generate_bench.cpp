// SPDX-License-Identifier: GPL-2.0-or-later
// generate-bench [folder]: how fast an album of real photos is generated with the default HTML
// theme (big pictures 1600 px and half that, thumbnails 300 px high with 2x versions, JPEG
// quality 80, bicubic) through the real host and the real plug-in, against libvips' own
// vipsthumbnail making the same pictures in two parallel jobs. Prints photos per second, peak
// memory and our time over vipsthumbnail's; the targets are at most 1.5 times vipsthumbnail's
// time and less than 500 MB.
#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "bench/benchfiles.h"
#include "platform/imagemetadata.h"
#include "platform/settings.h"
#include "plugins/gallivex_impl.h"
#include "plugins/paramrules.h"

extern char** environ;

namespace fs = std::filesystem;
using bench::jpegsIn;
using bench::secondsSince;

namespace
{

constexpr int Quality = 80;
constexpr double TargetRatio = 1.5;
constexpr long TargetPeakMegabytes = 500;
constexpr const char* TimeProgram = "/usr/bin/time";
// The default theme's pictures as vipsthumbnail boxes: big, half, 2x and 1x thumbnails.
const std::vector<std::pair<const char*, const char*>> Pictures = {
    {"big", "1600x1600"}, {"half", "800x800"}, {"thumb2x", "2400x600"}, {"thumb", "1200x300"}};

void setValue(AlbumProject& album, const char* name, int number, const char* option)
{
    for (GVParamInfo& param : album.ParameterList()) {
        if (!paramrules::sameName(param.name.c_str(), name))
            continue;
        if (option == nullptr)
            paramrules::value(param)->number = number;
        else
            for (GVParamValueInfo& entry : param.values)
                entry.kind = paramrules::sameName(entry.value.text.c_str(), option) ? PVK_USER_VALUE
                                                                                    : PVK_OPTION;
    }
}

// --- Our side: the album through the host and the plug-in

struct Ours {
    double seconds = 0;
    long peakKilobytes = 0;
    size_t pictures = 0;
    bool ok = false;
    std::string theme;
};

bool chooseDefaultTheme(AlbumProject& album, std::string& name)
{
    for (size_t i = 0; i < album.Plugins().size(); ++i) {
        if (std::string(album.Plugins()[i].GetName()) != "HTML")
            continue;
        gv_vector<TemplateInfo> templates;
        album.PluginManager().EnumTemplates(static_cast<int>(i), templates);
        if (templates.empty())
            return false;
        name = templates[0].name.c_str();
        return album.ChooseTemplate(static_cast<int>(i), templates[0].id) &&
               album.Parameters(nullptr) == 0;
    }
    return false;
}

Ours generateAlbum(const std::vector<fs::path>& photos, const fs::path& destination)
{
    Ours ours;
    CGallivexImpl host;
    AlbumProject& album = host.Album();
    if (!album.Initialise() || !chooseDefaultTheme(album, ours.theme))
        return ours;
    setValue(album, "JPEGQuality", Quality, nullptr);
    setValue(album, "InterpolationMode", 0, "Bicubic");
    for (const fs::path& photo : photos) {
        AlbumImage image;
        image.name = photo.stem().c_str();
        image.path = photo.c_str();
        album.Images().push_back(image);
    }
    fs::create_directories(destination);
    album.SetDestination(destination.c_str());
    const auto start = std::chrono::steady_clock::now();
    ours.ok = host.Generate() == GV_OK;
    ours.seconds = secondsSince(start);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    ours.peakKilobytes = usage.ru_maxrss;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(destination / "pictures", error))
        ours.pictures += entry.is_regular_file() ? 1 : 0;
    return ours;
}

// --- vipsthumbnail: two processes, each making every picture of its share of the photos

// Runs a program and waits; its peak memory (through GNU time when there, which reports the
// child's own) goes to peakKilobytes.
bool runProgram(std::vector<std::string> arguments, const fs::path& report, long& peakKilobytes)
{
    const bool timed = access(TimeProgram, X_OK) == 0;
    if (timed)
        arguments.insert(arguments.begin(), {TimeProgram, "-f", "%M", "-o", report.string()});
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        return false;
    peakKilobytes = usage.ru_maxrss;
    if (std::FILE* file = timed ? std::fopen(report.c_str(), "r") : nullptr) {
        if (std::fscanf(file, "%ld", &peakKilobytes) != 1)
            peakKilobytes = usage.ru_maxrss;
        std::fclose(file);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct Theirs {
    double seconds = 0;
    long peakKilobytes = 0;
    bool ok = true;
};

Theirs thumbnailAll(const std::vector<fs::path>& photos, const fs::path& out)
{
    constexpr size_t Jobs = 2;
    std::vector<std::vector<fs::path>> shares(Jobs);
    for (size_t i = 0; i < photos.size(); ++i)
        shares[i % Jobs].push_back(photos[i]);
    std::vector<long> peaks(Jobs, 0);
    std::atomic<bool> ok{true};
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> jobs;
    for (size_t j = 0; j < Jobs; ++j)
        jobs.emplace_back([&, j] {
            for (const auto& [name, box] : Pictures) {
                std::vector<std::string> arguments{
                    "vipsthumbnail", "--size", std::string(box) + ">", "-o",
                    (out / ("%s-" + std::string(name) + ".jpg[Q=80,optimize_coding,strip]"))
                        .string()};
                for (const fs::path& photo : shares[j])
                    arguments.push_back(photo.string());
                long peak = 0;
                if (!runProgram(arguments, out / ("peak-" + std::to_string(j) + ".txt"), peak))
                    ok = false;
                peaks[j] = std::max(peaks[j], peak);
            }
        });
    for (std::thread& job : jobs)
        job.join();
    return {secondsSince(start), *std::max_element(peaks.begin(), peaks.end()), ok.load()};
}

} // namespace

int main(int argc, char** argv)
{
    imaging::metadata::startUp(); // before any thread starts
    QCoreApplication app(argc, argv);
    const fs::path folder = bench::photoFolder(argc, argv);
    const std::vector<fs::path> photos = jpegsIn(folder);
    if (photos.empty()) {
        std::fprintf(stderr, "generate-bench: no JPEG photos in %s\n", folder.c_str());
        return 2;
    }
    QTemporaryDir scratch;
    Settings::setRoot(scratch.path() + QStringLiteral("/settings"));
    const fs::path root = scratch.path().toStdString();
    fs::create_directories(root / "vipsthumbnail");

    const Ours ours = generateAlbum(photos, root / "album");
    const Theirs theirs = thumbnailAll(photos, root / "vipsthumbnail");
    const double rate = static_cast<double>(photos.size()) / ours.seconds;
    const double ratio = ours.seconds / theirs.seconds;
    const double peak = static_cast<double>(ours.peakKilobytes) / 1024.0;
    std::printf("%zu photos from %s; theme \"%s\", JPEG quality %d, bicubic\n", photos.size(),
                folder.c_str(), ours.theme.c_str(), Quality);
    std::printf("album          %7.2f s  %6.2f photos/s  %zu pictures  peak %6.1f MB%s\n",
                ours.seconds, rate, ours.pictures, peak, ours.ok ? "" : "  (FAILED)");
    std::printf("vipsthumbnail  %7.2f s  %6.2f photos/s  2 jobs        peak %6.1f MB per job%s\n",
                theirs.seconds, static_cast<double>(photos.size()) / theirs.seconds,
                static_cast<double>(theirs.peakKilobytes) / 1024.0, theirs.ok ? "" : "  (FAILED)");
    std::printf("ratio (album / vipsthumbnail time): %.2f (target at most %.1f)  %s\n", ratio,
                TargetRatio, ratio <= TargetRatio ? "met" : "MISSED");
    std::printf("peak memory %.1f MB (target below %ld MB)  %s\n", peak, TargetPeakMegabytes,
                peak < TargetPeakMegabytes ? "met" : "MISSED");
    return ours.ok && theirs.ok && ours.pictures == photos.size() * Pictures.size() ? 0 : 1;
}
