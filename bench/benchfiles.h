// SPDX-License-Identifier: GPL-2.0-or-later
// What the benchmarks share: the photos of a folder and a stopwatch.
#pragma once

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace bench {

// The folder of photos to measure with: the first argument, else $GV_BENCH_PHOTOS, else the
// nature photos that scripts/install-deps.sh installs (Debian's mate-backgrounds).
inline std::filesystem::path photoFolder(int argc, char** argv)
{
    if (argc > 1)
        return argv[1];
    const char* chosen = std::getenv("GV_BENCH_PHOTOS");
    return chosen != nullptr && *chosen != '\0' ? chosen : "/usr/share/backgrounds/mate/nature";
}

// The JPEG files of a folder, by name, so every run takes them in the same order.
inline std::vector<std::filesystem::path> jpegsIn(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> photos;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (entry.is_regular_file() && (extension == ".jpg" || extension == ".jpeg"))
            photos.push_back(entry.path());
    }
    std::sort(photos.begin(), photos.end());
    return photos;
}

inline double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace bench
