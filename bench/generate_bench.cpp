// SPDX-License-Identifier: GPL-2.0-or-later
// generate-bench [folder] [--small N] [--formats CHOICE]: how fast an album of real photos is generated with the
// default HTML theme (its default pictures, JPEG quality 80, bicubic) through the real host and
// the real plug-in: a cold run into an empty folder, then an incremental run over the unchanged
// album, each in a child process of its own so that its peak memory is its own. In the same run
// vipsthumbnail makes, in two parallel jobs, the same pictures as the theme and the reference
// pair (a 1600 px picture and a 300 px high thumbnail of each photo). Prints the times, photos
// per second, peak memory and the ratios; the targets are cold at most 0.8 times the reference
// pair, incremental at most 5 % of cold, and at most 300 MB whatever the photo count.
//
// --small N adds an album of N small photos (640x480 crops of the folder's photos, made once
// with libvips into /tmp/gallivex-bench-small-N and kept for later runs) measured the same way;
// with --prepare as well it only makes those photos.
//
// --formats CHOICE sets the theme's choice of picture formats beside JPEG ("WebP", "WebP and
// AVIF", "JPEG only"), to see what each costs.
#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

#include <vips/vips.h>

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
constexpr double TargetRatio = 0.8;
constexpr double TargetIncrementalShare = 0.05;
constexpr long TargetPeakMegabytes = 300;
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

// --- Our side: the album through the host and the plug-in, in a child process per run

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

// formats: the theme's choice of picture formats beside JPEG, or "" for its default.
Ours generateAlbum(const std::vector<fs::path>& photos, const fs::path& destination,
                   const std::string& formats)
{
    Ours ours;
    CGallivexImpl host;
    AlbumProject& album = host.Album();
    if (!album.Initialise() || !chooseDefaultTheme(album, ours.theme))
        return ours;
    setValue(album, "JPEGQuality", Quality, nullptr);
    setValue(album, "InterpolationMode", 0, "Bicubic");
    if (!formats.empty())
        setValue(album, "ModernFormats", 0, formats.c_str());
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
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(destination / "pictures", error))
        ours.pictures += entry.is_regular_file() ? 1 : 0;
    return ours;
}

// The child: generates the photos of folder into destination and writes what it measured to
// report (seconds, pictures, 1 when it went well, then the theme's name).
int generateChild(const fs::path& folder, const fs::path& destination, const fs::path& report,
                  const std::string& formats)
{
    QTemporaryDir scratch;
    Settings::setRoot(scratch.path() + QStringLiteral("/settings"));
    const Ours ours = generateAlbum(jpegsIn(folder), destination, formats);
    std::FILE* file = std::fopen(report.c_str(), "w");
    if (file == nullptr)
        return 1;
    std::fprintf(file, "%.6f %zu %d\n%s\n", ours.seconds, ours.pictures, ours.ok ? 1 : 0,
                 ours.theme.c_str());
    std::fclose(file);
    return ours.ok ? 0 : 1;
}

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

Ours generateInChild(const fs::path& self, const fs::path& folder, const fs::path& destination,
                     const fs::path& scratch, const std::string& formats)
{
    Ours ours;
    const fs::path report = scratch / "child-report.txt";
    fs::remove(report);
    runProgram({self.string(), "--generate", folder.string(), destination.string(),
                report.string(), formats},
               scratch / "child-peak.txt", ours.peakKilobytes);
    if (std::FILE* file = std::fopen(report.c_str(), "r")) {
        int ok = 0;
        char theme[256] = {};
        if (std::fscanf(file, "%lf %zu %d %255[^\n]", &ours.seconds, &ours.pictures, &ok, theme) >=
            3)
            ours.ok = ok == 1;
        ours.theme = theme;
        std::fclose(file);
    }
    return ours;
}

// --- vipsthumbnail: two processes, each making every picture of its share of the photos

using Boxes = std::vector<std::pair<const char*, const char*>>;
// The reference pair of the targets: a 1600 px picture and a 300 px high thumbnail.
const Boxes ReferencePair = {{"big", "1600x1600"}, {"thumb", "1200x300"}};

struct Theirs {
    double seconds = 0;
    long peakKilobytes = 0;
    bool ok = true;
};

Theirs thumbnailAll(const std::vector<fs::path>& photos, const Boxes& boxes, const fs::path& out)
{
    constexpr size_t Jobs = 2;
    fs::remove_all(out);
    fs::create_directories(out);
    std::vector<std::vector<fs::path>> shares(Jobs);
    for (size_t i = 0; i < photos.size(); ++i)
        shares[i % Jobs].push_back(photos[i]);
    std::vector<long> peaks(Jobs, 0);
    std::atomic<bool> ok{true};
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> jobs;
    for (size_t j = 0; j < Jobs; ++j)
        jobs.emplace_back([&, j] {
            for (const auto& [name, box] : boxes) {
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

// --- the small photos: crops of the folder's photos, each one different

constexpr int SmallWidth = 640;
constexpr int SmallHeight = 480;
constexpr int BaseSize = 1100; // the crops move over a picture of the photo this large

bool cropsOf(const fs::path& photo, size_t first, size_t step, size_t count, const fs::path& folder)
{
    VipsImage* lazy = nullptr;
    if (vips_thumbnail(photo.c_str(), &lazy, BaseSize, "height", BaseSize, nullptr) != 0)
        return false;
    // Crops read the picture in any order: decode it into memory once.
    VipsImage* base = vips_image_copy_memory(lazy);
    g_object_unref(lazy);
    if (base == nullptr)
        return false;
    bool ok = base->Xsize >= SmallWidth && base->Ysize >= SmallHeight;
    for (size_t k = first; ok && k < count; k += step) {
        const int n = static_cast<int>(k / step);
        const int left = (n % 25) * (base->Xsize - SmallWidth) / 25;
        const int top = (n / 25 % 20) * (base->Ysize - SmallHeight) / 20;
        VipsImage* crop = nullptr;
        char name[32];
        std::snprintf(name, sizeof name, "small-%05zu.jpg", k);
        ok = vips_crop(base, &crop, left, top, SmallWidth, SmallHeight, nullptr) == 0 &&
             vips_jpegsave(crop, (folder / name).c_str(), "Q", 85, nullptr) == 0;
        if (crop != nullptr)
            g_object_unref(crop);
    }
    g_object_unref(base);
    return ok;
}

// Makes count small photos into folder unless they are there from an earlier run.
bool makeSmallPhotos(const std::vector<fs::path>& photos, size_t count, const fs::path& folder)
{
    if (jpegsIn(folder).size() == count)
        return true;
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::printf("making %zu small photos in %s (once)...\n", count, folder.c_str());
    std::fflush(stdout);
    std::atomic<size_t> next{0};
    std::atomic<bool> ok{true};
    std::vector<std::thread> workers;
    for (int t = 0; t < 2; ++t)
        workers.emplace_back([&] {
            for (size_t p = next++; p < photos.size() && p < count; p = next++)
                if (!cropsOf(photos[p], p, photos.size(), count, folder))
                    ok = false;
        });
    for (std::thread& worker : workers)
        worker.join();
    return ok && jpegsIn(folder).size() == count;
}

// --- one set of photos, measured and printed

bool measure(const fs::path& self, const std::string& label, const fs::path& folder,
             const fs::path& root, const std::string& formats)
{
    const std::vector<fs::path> photos = jpegsIn(folder);
    const fs::path album = root / (label + "-album");
    fs::remove_all(album);
    const Ours cold = generateInChild(self, folder, album, root, formats);
    const Ours again = generateInChild(self, folder, album, root, formats);
    const Theirs same = thumbnailAll(photos, Pictures, root / "vipsthumbnail");
    const Theirs pair = thumbnailAll(photos, ReferencePair, root / "vipsthumbnail");
    fs::remove_all(root / "vipsthumbnail");
    const auto megabytes = [](long kilobytes) { return static_cast<double>(kilobytes) / 1024.0; };
    const double count = static_cast<double>(photos.size());
    std::printf("\n%s: %zu photos from %s; theme \"%s\", JPEG quality %d, bicubic, formats %s\n",
                label.c_str(), photos.size(), folder.c_str(), cold.theme.c_str(), Quality,
                formats.empty() ? "as the theme's default" : formats.c_str());
    std::printf("  cold album           %8.2f s  %7.1f photos/s  %6zu pictures  peak %6.1f MB%s\n",
                cold.seconds, count / cold.seconds, cold.pictures, megabytes(cold.peakKilobytes),
                cold.ok ? "" : "  (FAILED)");
    std::printf("  incremental album    %8.2f s  %7.1f photos/s  %6zu pictures  peak %6.1f MB%s\n",
                again.seconds, count / again.seconds, again.pictures,
                megabytes(again.peakKilobytes), again.ok ? "" : "  (FAILED)");
    std::printf("  vipsthumbnail, same  %8.2f s  %7.1f photos/s  %zu pictures each, 2 jobs, "
                "peak %.1f MB per job%s\n",
                same.seconds, count / same.seconds, Pictures.size(), megabytes(same.peakKilobytes),
                same.ok ? "" : "  (FAILED)");
    std::printf("  vipsthumbnail, pair  %8.2f s  %7.1f photos/s  1600 px + 300 px, 2 jobs%s\n",
                pair.seconds, count / pair.seconds, pair.ok ? "" : "  (FAILED)");
    const double coldRatio = cold.seconds / pair.seconds;
    const double againShare = again.seconds / cold.seconds;
    const double peak = megabytes(std::max(cold.peakKilobytes, again.peakKilobytes));
    std::printf("  cold / vipsthumbnail same pictures: %.2f\n", cold.seconds / same.seconds);
    std::printf("  cold / vipsthumbnail pair: %.2f (target at most %.1f)  %s\n", coldRatio,
                TargetRatio, coldRatio <= TargetRatio ? "met" : "MISSED");
    std::printf("  incremental / cold: %.1f %% (target at most %.0f %%)  %s\n", againShare * 100,
                TargetIncrementalShare * 100,
                againShare <= TargetIncrementalShare ? "met" : "MISSED");
    std::printf("  peak memory %.1f MB (target at most %ld MB)  %s\n", peak, TargetPeakMegabytes,
                peak <= TargetPeakMegabytes ? "met" : "MISSED");
    std::fflush(stdout);
    return cold.ok && again.ok && same.ok && pair.ok && cold.pictures == again.pictures &&
           cold.pictures >= photos.size() * Pictures.size();
}

} // namespace

int main(int argc, char** argv)
{
    imaging::metadata::startUp(); // before any thread starts
    if (VIPS_INIT(argv[0]) != 0)
        return 2;
    QCoreApplication app(argc, argv);
    if (argc == 6 && std::string(argv[1]) == "--generate")
        return generateChild(argv[2], argv[3], argv[4], argv[5]);
    std::vector<char*> operands{argv[0]};
    size_t small = 0;
    bool prepareOnly = false;
    std::string formats;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--small" && i + 1 < argc)
            small = std::strtoul(argv[++i], nullptr, 10);
        else if (std::string(argv[i]) == "--formats" && i + 1 < argc)
            formats = argv[++i];
        else if (std::string(argv[i]) == "--prepare")
            prepareOnly = true;
        else
            operands.push_back(argv[i]);
    }
    const fs::path folder = bench::photoFolder(static_cast<int>(operands.size()), operands.data());
    const std::vector<fs::path> photos = jpegsIn(folder);
    if (photos.empty()) {
        std::fprintf(stderr, "generate-bench: no JPEG photos in %s\n", folder.c_str());
        return 2;
    }
    const fs::path smallFolder = "/tmp/gallivex-bench-small-" + std::to_string(small);
    if (prepareOnly)
        return small > 0 && makeSmallPhotos(photos, small, smallFolder) ? 0 : 1;
    QTemporaryDir scratch;
    const fs::path root = scratch.path().toStdString();
    const fs::path self = fs::canonical("/proc/self/exe");
    bool ok = measure(self, "photos", folder, root, formats);
    if (small > 0) {
        ok = makeSmallPhotos(photos, small, smallFolder) &&
             measure(self, "small photos", smallFolder, root, formats) && ok;
    }
    return ok ? 0 : 1;
}
