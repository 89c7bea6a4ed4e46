// SPDX-License-Identifier: GPL-2.0-or-later
// enhancer-bench [folder]: the photo editor's whole-image edits on a 24-megapixel photo made
// with the vips command from the largest JPEG of folder (kept in a scratch folder, removed at
// the end): loading, sharpening, resizing, turning, flipping, cropping, colour enhancement,
// automatic levels, the red-eye dab and saving as JPEG, each the best of a few runs. Then the
// vips command doing load, turn, resize, sharpen and save on the same file. Prints seconds per
// operation, our peak memory in image buffers, and which targets were missed.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "bench/benchfiles.h"
#include "enhancer/affinetransform.h"
#include "enhancer/cropcopy.h"
#include "enhancer/fixedturns.h"
#include "enhancer/imageenhfuncs.h"
#include "enhancer/imagefile.h"
#include "enhancer/imagerecord.h"
#include "enhancer/redeyebrush.h"
#include "enhancer/sharpenoperation.h"
#include "platform/imaging.h"

namespace fs = std::filesystem;
using bench::secondsSince;

namespace
{

constexpr double TargetPixels = 24'000'000;
constexpr int Runs = 3;
constexpr double WholeImageTarget = 1.0; // seconds
constexpr double DabTarget = 0.002;      // seconds
constexpr double MemoryTarget = 4.0;     // image buffers
constexpr int Dabs = 500;

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// One line of /proc/self/status in kilobytes ("VmRSS", "VmHWM"); 0 when it cannot be read.
long StatusKilobytes(const char* field)
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr)
        return 0;
    char line[256];
    long value = 0;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, field, length) == 0 && line[length] == ':') {
            value = std::atol(line + length + 1);
            break;
        }
    }
    std::fclose(status);
    return value;
}

// Starts a new peak, so that each step's own peak shows (Linux keeps it per process).
void ResetPeak()
{
    if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
}

// Resident memory before the photo is loaded, and the size of its pixels.
long g_startKilobytes = 0;
double g_bufferKilobytes = 0;

struct Figure {
    std::string name;
    double seconds = 0;
    bool wholeImage = true;
    bool failed = false;
    double peakBuffers = 0; // resident memory at the step's peak, above the start
};

// The best of Runs runs of work, which answers whether it succeeded.
Figure Measure(const std::string& name, const std::function<bool()>& work)
{
    Figure figure{name, 1e9};
    ResetPeak();
    for (int run = 0; run < Runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const bool done = work();
        figure.seconds = std::min(figure.seconds, secondsSince(start));
        figure.failed = figure.failed || !done;
    }
    figure.peakBuffers = g_bufferKilobytes > 0
                             ? (StatusKilobytes("VmHWM") - g_startKilobytes) / g_bufferKilobytes
                             : 0;
    std::printf("  %-28s %7.3f s%s   peak %4ld MB, %.2f image buffers\n", name.c_str(),
                figure.seconds, figure.failed ? "  FAILED" : "", StatusKilobytes("VmHWM") / 1024,
                figure.peakBuffers);
    std::fflush(stdout);
    return figure;
}

// A result that is made and freed at once: only its time and its memory count.
bool Made(PackedImage image)
{
    return bool(image);
}

// The largest JPEG of the folder by pixels.
fs::path LargestPhoto(const fs::path& folder)
{
    fs::path best;
    qint64 bestPixels = 0;
    for (const fs::path& photo : bench::jpegsIn(folder)) {
        const auto image = imaging::Image::open(QString::fromStdString(photo.string()));
        if (image != nullptr && qint64(image->width()) * image->height() > bestPixels) {
            bestPixels = qint64(image->width()) * image->height();
            best = photo;
        }
    }
    return best;
}

// Runs the vips command; its wall time, or a negative value when it failed.
double RunVips(const QStringList& arguments)
{
    const auto start = std::chrono::steady_clock::now();
    QProcess vips;
    vips.start(QStringLiteral("vips"), arguments);
    if (!vips.waitForFinished(-1) || vips.exitStatus() != QProcess::NormalExit ||
        vips.exitCode() != 0) {
        std::fprintf(stderr, "vips %s: %s\n", arguments.join(' ').toUtf8().constData(),
                     vips.readAllStandardError().constData());
        return -1;
    }
    return secondsSince(start);
}

QString MakeBenchPhoto(const fs::path& source, const QString& scratch)
{
    const auto image = imaging::Image::open(QString::fromStdString(source.string()));
    if (image == nullptr)
        return {};
    const double scale = std::sqrt(TargetPixels / (double(image->width()) * image->height()));
    const QString target = scratch + QStringLiteral("/bench-24mp.jpg");
    if (RunVips({QStringLiteral("resize"), QString::fromStdString(source.string()),
                 target + QStringLiteral("[Q=92]"), QString::number(scale, 'f', 6)}) < 0)
        return {};
    return target;
}

// Sharpening: the copy lives as long as the command, so it is gone before the next edit.
void SharpenFigures(const BITMAPINFOHEADER& header, const uint8_t* pixels,
                    std::vector<Figure>& figures)
{
    CSharpenOperation sharpen;
    figures.push_back(Measure("sharpen preparation",
                              [&] { return sharpen.Prepare(header, pixels, nullptr); }));
    sharpen.SetAmount(60);
    figures.push_back(Measure("sharpen final pass", [&] {
        uint8_t* result = nullptr;
        const bool done = sharpen.Apply(header, pixels, header, &result, nullptr, nullptr);
        ImageRecord::FreePacked(result);
        return done;
    }));
}

std::vector<Figure> OurEdits(const ImageRecord& photo, const QString& scratch)
{
    const BITMAPINFOHEADER& header = photo.header;
    const uint8_t* pixels = photo.Pixels();
    const int32_t w = header.biWidth;
    const int32_t h = header.biHeight;
    std::vector<Figure> figures;
    SharpenFigures(header, pixels, figures);
    figures.push_back(Measure("resize 50 %", [&] {
        return Made(TransformImage(header, pixels, ScaleMatrix(w / 2, h / 2, w, h), nullptr));
    }));
    figures.push_back(Measure("resize 150 %", [&] {
        return Made(TransformImage(header, pixels, ScaleMatrix(w * 3 / 2, h * 3 / 2, w, h), nullptr));
    }));
    figures.push_back(Measure("rotate 90", [&] {
        return Made(TurnImage(header, pixels, FixedTurn::Rotate90, nullptr));
    }));
    figures.push_back(Measure("rotate 17", [&] {
        return Made(TransformImage(header, pixels, RotationMatrix(17, false, false), nullptr));
    }));
    figures.push_back(Measure("flip horizontal", [&] {
        return Made(TurnImage(header, pixels, FixedTurn::FlipHorizontal, nullptr));
    }));
    figures.push_back(Measure("crop (middle quarter)", [&] {
        return Made(CropCopy(header, pixels, RECT{w / 4, h / 4, w * 3 / 4, h * 3 / 4}, nullptr));
    }));
    std::vector<uint8_t> working(pixels, pixels + photo.byteSize);
    CImageEnhFuncs enhance;
    figures.push_back(Measure("enhance all channels", [&] {
        return enhance.Apply(w, h, CImageEnhFuncs::AllChannels, 20, 30, 40, working.data(), pixels);
    }));
    figures.push_back(Measure("auto levels (3 channels)", [&] {
        for (int channel = 0; channel < 3; ++channel)
            enhance.AutoLevel(w, h, channel, working.data(), pixels);
        return true;
    }));
    RedEyeBrush brush;
    brush.SetFromSliders(40, 100, 50);
    Figure dab = Measure("red-eye dab, size 40 (each)", [&] {
        for (int i = 0; i < Dabs; ++i)
            brush.Dab(header, working.data(), w / 2 + i % 50, h / 2);
        return true;
    });
    dab.seconds /= Dabs;
    dab.wholeImage = false;
    std::printf("  %-28s %7.4f ms\n", "  one dab", dab.seconds * 1000);
    figures.push_back(dab);
    working = {};
    const QString saved = scratch + QStringLiteral("/saved.jpg");
    figures.push_back(Measure("save as JPEG", [&] { return SaveImageFile(saved, header, pixels); }));
    return figures;
}

void VipsEdits(const QString& photo, const QString& scratch)
{
    const QString v = scratch + QStringLiteral("/vips-%1.v");
    const std::pair<const char*, QStringList> commands[] = {
        {"load", {QStringLiteral("copy"), photo, v.arg(QStringLiteral("load"))}},
        {"rotate 90", {QStringLiteral("rot"), photo, v.arg(QStringLiteral("rot")), QStringLiteral("d90")}},
        {"rotate 17", {QStringLiteral("rotate"), photo, v.arg(QStringLiteral("rotate")), QStringLiteral("17")}},
        {"resize 50 %", {QStringLiteral("resize"), photo, v.arg(QStringLiteral("half")), QStringLiteral("0.5")}},
        {"resize 150 %", {QStringLiteral("resize"), photo, v.arg(QStringLiteral("up")), QStringLiteral("1.5")}},
        {"sharpen", {QStringLiteral("sharpen"), photo, v.arg(QStringLiteral("sharp"))}},
        {"save as JPEG (from .v)", {QStringLiteral("jpegsave"), v.arg(QStringLiteral("load")),
                                    scratch + QStringLiteral("/vips-saved.jpg")}},
    };
    std::printf("vips command (each loads the photo and writes a .v file):\n");
    for (const auto& [name, arguments] : commands) {
        double best = 1e9;
        for (int run = 0; run < Runs; ++run)
            best = std::min(best, RunVips(arguments));
        std::printf("  %-28s %7.3f s\n", name, best);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    imaging::startImaging();
    const fs::path folder = bench::photoFolder(argc, argv);
    const fs::path source = LargestPhoto(folder);
    QTemporaryDir scratch;
    if (source.empty() || !scratch.isValid()) {
        std::fprintf(stderr, "enhancer-bench: no JPEG in %s\n", folder.c_str());
        return 1;
    }
    const QString photo = MakeBenchPhoto(source, scratch.path());
    if (photo.isEmpty()) {
        std::fprintf(stderr, "enhancer-bench: could not make the photo with vips\n");
        return 1;
    }
    g_startKilobytes = StatusKilobytes("VmRSS");
    // The size of the photo's pixels, known from its header before loading.
    if (const auto header = imaging::Image::open(photo))
        g_bufferKilobytes = DibStride(header->width()) * double(header->height()) / 1024;
    ImageRecord record;
    QString reason;
    Figure load = Measure("load", [&] {
        record.Release();
        return LoadImageFile(photo, record, &reason);
    });
    if (!record.HasPixels()) {
        std::fprintf(stderr, "enhancer-bench: %s\n", reason.toUtf8().constData());
        return 1;
    }
    std::printf("photo %d x %d from %s, %d hardware threads\n", record.widthPixels,
                record.heightPixels, source.filename().c_str(), int(std::thread::hardware_concurrency()));
    std::vector<Figure> figures = OurEdits(record, scratch.path());
    figures.insert(figures.begin(), load);
    double editBuffers = 0;
    for (const Figure& figure : figures)
        if (figure.name != "load" && figure.name != "save as JPEG")
            editBuffers = std::max(editBuffers, figure.peakBuffers);
    std::printf("peak memory of the whole run %ld MB (getrusage); while editing %.2f image "
                "buffers of %.0f MB above the start\n",
                PeakKilobytes() / 1024, editBuffers, g_bufferKilobytes / 1024);
    VipsEdits(photo, scratch.path());
    int missed = 0;
    for (const Figure& figure : figures) {
        const double target = figure.wholeImage ? WholeImageTarget : DabTarget;
        if (figure.failed || figure.seconds > target) {
            std::printf("missed: %s\n", figure.name.c_str());
            ++missed;
        }
    }
    if (editBuffers > MemoryTarget) {
        std::printf("missed: peak memory\n");
        ++missed;
    }
    std::printf("%s\n", missed == 0 ? "every target met" : "some targets missed");
    return 0;
}
