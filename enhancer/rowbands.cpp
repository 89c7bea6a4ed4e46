// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/rowbands.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace
{

// Enough bands that the cores stay busy and progress moves, few enough that handing them out
// costs nothing.
constexpr int BandsPerThread = 16;
constexpr int MinRowsPerBand = 8;

} // namespace

bool RunRowBands(int rows, const std::function<void(int firstRow, int endRow)>& body,
                 const ProgressCallback& progress)
{
    if (rows <= 0)
        return true;
    const int threads = std::max(1u, std::thread::hardware_concurrency());
    const int bandRows =
        std::max(MinRowsPerBand, (rows + threads * BandsPerThread - 1) / (threads * BandsPerThread));
    const int bands = (rows + bandRows - 1) / bandRows;
    std::atomic<int> next{0};
    std::atomic<int> finished{0};
    std::atomic<bool> stop{false};
    int reported = -1; // only the calling thread reports
    auto work = [&](bool reporting) {
        for (;;) {
            if (stop.load())
                return;
            const int band = next.fetch_add(1);
            if (band >= bands)
                return;
            const int first = band * bandRows;
            body(first, std::min(rows, first + bandRows));
            const int done = finished.fetch_add(1) + 1;
            if (!reporting || !progress)
                continue;
            reported = done * 100 / bands;
            if (progress(reported) != 0)
                stop.store(true);
        }
    };
    std::vector<std::thread> helpers;
    for (int i = 1; i < std::min(threads, bands); ++i)
        helpers.emplace_back(work, false);
    work(true);
    for (std::thread& helper : helpers)
        helper.join();
    // The other threads may have taken every band: the caller still hears of the end, and may
    // still say stop.
    if (!stop.load() && progress && reported < 100 && progress(100) != 0)
        stop.store(true);
    return !stop.load() && finished.load() == bands;
}
