// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/imagefingerprint.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "images/streamfactory.h"

std::string ImageFingerprint(IStream& stream)
{
    constexpr ULONG Piece = 32;
    constexpr ULONG Counted = 30000;
    uint8_t sum[Piece] = {};
    for (ULONG counted = 0; counted < Counted; counted += Piece) {
        uint8_t piece[Piece];
        ULONG got = 0;
        if (FAILED(stream.Read(piece, Piece, &got)))
            break;
        got = std::min(got, Piece);
        for (ULONG i = 0; i < got; ++i)
            sum[i] ^= piece[i];
        if (got < Piece)
            break;
    }
    std::string text = "v1";
    for (const uint8_t byte : sum) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(byte));
        text += hex;
    }
    return text;
}

std::optional<std::string> ImageFingerprint(const std::string& path)
{
    // A folder opens as a file on some systems, and every read of it then fails: it is no file.
    std::error_code error;
    if (path.empty() || std::filesystem::is_directory(path, error))
        return std::nullopt;
    IStream* stream = nullptr;
    if (OpenFileStream(path.c_str(), false, &stream) != 0 || stream == nullptr)
        return std::nullopt;
    std::string text = ImageFingerprint(*stream);
    stream->Release();
    return text;
}
