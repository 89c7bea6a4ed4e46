// SPDX-License-Identifier: GPL-2.0-or-later
// processor-bench [folder]: how fast the image processor makes an album's two pictures of
// every JPEG in folder (a 1600-pixel web picture at JPEG quality 80 and a 300-pixel
// thumbnail), on one thread and on two, against libvips' own vipsthumbnail doing the same.
// Prints photos per second, peak memory and our time over vipsthumbnail's.
#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "bench/benchfiles.h"
#include "images/gprocessor.h"
#include "platform/imagemetadata.h"

extern char** environ;

namespace fs = std::filesystem;
using bench::jpegsIn;
using bench::secondsSince;

namespace
{

constexpr int32_t WebQuality = 80;
constexpr int32_t Bicubic = 7; // what an album is made with for quality
constexpr int WebSize = 1600;
constexpr int ThumbnailSize = 300;
constexpr const char* TimeProgram = "/usr/bin/time";

struct Timing {
    double seconds = 0;
    long peakKilobytes = 0;
    int failures = 0;
};

// A scratch folder, removed with its contents at the end.
class ScratchFolder
{
public:
    ScratchFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "processor-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code error;
        if (!m_path.empty())
            fs::remove_all(m_path, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// Runs work(i) for every i below count on threads threads, each taking the next index.
void onThreads(int threads, size_t count, const std::function<void(size_t)>& work)
{
    std::atomic<size_t> next{0};
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([&] {
            for (size_t i = next++; i < count; i = next++)
                work(i);
        });
    for (std::thread& thread : pool)
        thread.join();
}

// --- Our side: the processor with the two scripts an album runs per photo

bool runScript(IGraphicProcessor& processor, const fs::path& photo, int size,
               const fs::path& target)
{
    GVImageStream input(photo.c_str());
    IPlainImage* image = processor.OpenImage(&input);
    if (image == nullptr)
        return false;
    gv_vector<GVCommand> script;
    GVCommand resize("ResizeKeepAsp");
    resize.params.push_back(GVParamValue(size));
    resize.params.push_back(GVParamValue(size));
    script.push_back(resize);
    script.push_back(GVCommand("Out"));
    GVImageStream output(target.c_str());
    const bool done = processor.ProcessImage(image, script, output) == S_OK;
    if (!done)
        processor.ReleaseImage(image);
    return done;
}

// Counts the pictures that are missing or whose longer side is not the size asked for.
int wrongPictures(IGraphicProcessor& processor, const std::vector<fs::path>& photos,
                  const fs::path& out)
{
    int wrong = 0;
    for (const fs::path& photo : photos)
        for (const int size : {WebSize, ThumbnailSize}) {
            const fs::path picture =
                out / (photo.stem().string() + "_" + std::to_string(size) + ".jpg");
            GVImageStream stream(picture.c_str());
            IPlainImage* image = processor.OpenImage(&stream);
            if (image == nullptr || std::max(image->GetWidth(), image->GetHeight()) != size)
                ++wrong;
            processor.ReleaseImage(image);
        }
    return wrong;
}

Timing timeProcessor(const std::vector<fs::path>& photos, int threads, const fs::path& out)
{
    CGProcessor processor;
    processor.SetJpegQuality(WebQuality);
    processor.SetInterpolationMode(Bicubic);
    std::atomic<int> failures{0};
    const auto start = std::chrono::steady_clock::now();
    onThreads(threads, photos.size(), [&](size_t i) {
        const std::string stem = photos[i].stem().string();
        if (!runScript(processor, photos[i], WebSize, out / (stem + "_1600.jpg")))
            ++failures;
        if (!runScript(processor, photos[i], ThumbnailSize, out / (stem + "_300.jpg")))
            ++failures;
    });
    Timing timing{secondsSince(start), 0, failures.load()};
    timing.failures += wrongPictures(processor, photos, out);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    timing.peakKilobytes = usage.ru_maxrss;
    return timing;
}

// --- vipsthumbnail: one process per size over a share of the photos

// Runs the command and waits for it; its peak memory goes to peakKilobytes. False when it
// could not start or did not succeed.
bool runProgram(const std::vector<std::string>& arguments, long& peakKilobytes)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child)
        return false;
    peakKilobytes = usage.ru_maxrss;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A child's own peak is only clean when something small started it: Linux carries the peak
// of the process that forked it over the exec, and this one is large by now. GNU time is
// small and reports its child's peak; without it the figure is an upper bound.
bool runMeasured(std::vector<std::string> arguments, const fs::path& scratch, long& peakKilobytes)
{
    static const bool haveTime = access(TimeProgram, X_OK) == 0;
    if (!haveTime)
        return runProgram(arguments, peakKilobytes);
    static std::atomic<int> counter{0};
    const fs::path report = scratch / ("peak-" + std::to_string(counter++) + ".txt");
    arguments.insert(arguments.begin(), {TimeProgram, "-f", "%M", "-o", report.string()});
    long ignored = 0;
    const bool ran = runProgram(arguments, ignored);
    std::FILE* file = std::fopen(report.c_str(), "r");
    if (file == nullptr || std::fscanf(file, "%ld", &peakKilobytes) != 1)
        peakKilobytes = ignored;
    if (file != nullptr)
        std::fclose(file);
    return ran;
}

bool thumbnailAll(const std::vector<fs::path>& photos, int size, const fs::path& out,
                  long& peakKilobytes)
{
    const std::string box = std::to_string(size) + "x" + std::to_string(size);
    std::vector<std::string> arguments{"vipsthumbnail"};
    for (const fs::path& photo : photos)
        arguments.push_back(photo.string());
    const std::string name =
        "%s_" + std::to_string(size) + ".jpg[Q=" + std::to_string(WebQuality) + "]";
    arguments.insert(arguments.end(), {"--size", box, "-o", (out / name).string()});
    return runMeasured(arguments, out, peakKilobytes);
}

Timing timeVipsThumbnail(const std::vector<fs::path>& photos, int processes, const fs::path& out)
{
    // Each process takes every processes-th photo and makes both sizes of them.
    std::vector<std::vector<fs::path>> shares(static_cast<size_t>(processes));
    for (size_t i = 0; i < photos.size(); ++i)
        shares[i % shares.size()].push_back(photos[i]);
    std::vector<long> peaks(shares.size() * 2, 0);
    std::atomic<int> failures{0};
    const auto start = std::chrono::steady_clock::now();
    onThreads(processes, shares.size(), [&](size_t s) {
        if (!thumbnailAll(shares[s], WebSize, out, peaks[2 * s]))
            ++failures;
        if (!thumbnailAll(shares[s], ThumbnailSize, out, peaks[2 * s + 1]))
            ++failures;
    });
    return {secondsSince(start), *std::max_element(peaks.begin(), peaks.end()), failures.load()};
}

// --- Report

void printRow(const char* what, int threads, const Timing& timing, size_t photos)
{
    std::printf("%-16s %d thread%s  %7.2f s  %6.2f photos/s  peak %6.1f MB%s\n", what, threads,
                threads == 1 ? " " : "s", timing.seconds,
                static_cast<double>(photos) / timing.seconds,
                static_cast<double>(timing.peakKilobytes) / 1024.0,
                timing.failures > 0 ? "  (FAILURES)" : "");
}

bool measure(const std::vector<fs::path>& photos, int threads, const fs::path& scratch)
{
    const fs::path out = scratch / ("threads-" + std::to_string(threads));
    std::error_code error;
    fs::create_directories(out / "processor", error);
    fs::create_directories(out / "vipsthumbnail", error);
    const Timing ours = timeProcessor(photos, threads, out / "processor");
    printRow("processor", threads, ours, photos.size());
    const Timing theirs = timeVipsThumbnail(photos, threads, out / "vipsthumbnail");
    printRow("vipsthumbnail", threads, theirs, photos.size());
    std::printf("ratio (processor / vipsthumbnail time): %.2f\n\n", ours.seconds / theirs.seconds);
    return ours.failures == 0 && theirs.failures == 0;
}

} // namespace

int main(int argc, char** argv)
{
    imaging::metadata::startUp(); // before any thread starts
    const fs::path folder = bench::photoFolder(argc, argv);
    const std::vector<fs::path> photos = jpegsIn(folder);
    if (photos.empty()) {
        std::fprintf(stderr, "processor-bench: no JPEG photos in %s\n", folder.c_str());
        return 2;
    }
    ScratchFolder scratch;
    if (scratch.path().empty()) {
        std::fprintf(stderr, "processor-bench: cannot make a scratch folder\n");
        return 1;
    }
    std::printf("%zu photos from %s; sizes %d and %d, JPEG quality %d\n\n", photos.size(),
                folder.c_str(), WebSize, ThumbnailSize, WebQuality);
    bool ok = measure(photos, 1, scratch.path());
    ok = measure(photos, 2, scratch.path()) && ok;
    return ok ? 0 : 1;
}
