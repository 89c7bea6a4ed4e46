// SPDX-License-Identifier: GPL-2.0-or-later
// OpenFileStream: the stream the host's file services read a photo from or write one to.
#pragma once

#include <cstdint>

#include "sdk/gvcom.h"

// The result when neither kind of stream can open the file (the platform's "file not found").
inline constexpr int32_t StreamNotOpened = 2;

// Opens path directly as a file stream, or, when that fails, as a buffered file stream.
// Returns 0 and the stream (one reference, the caller's) in *stream; StreamNotOpened and a
// null stream when the file cannot be opened either way.
int32_t OpenFileStream(const char* path, bool forWriting, IStream** stream);
