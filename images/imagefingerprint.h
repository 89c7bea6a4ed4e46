// SPDX-License-Identifier: GPL-2.0-or-later
// ImageFingerprint: a short text that tells files apart by their first bytes. Plug-ins name
// pictures by it, and the published file list compares files by it.
#pragma once

#include <optional>
#include <string>

#include "sdk/gvcom.h"

// The first 30000 bytes of stream (read in 32-byte pieces, so up to 30016) folded into 32
// bytes by XOR, written as "v1" and each byte in lowercase hex without a leading zero.
std::string ImageFingerprint(IStream& stream);

// The fingerprint of the file at path (UTF-8), read as the host reads photos; nothing when
// the file cannot be opened or is a folder.
std::optional<std::string> ImageFingerprint(const std::string& path);
