// SPDX-License-Identifier: GPL-2.0-or-later
// RunRowBands: whole-image work spread over the machine's cores by bands of rows. Each band
// writes only its own rows, so the result is the same byte for byte as on one thread.
#pragma once

#include "enhancer/dib.h"

#include <functional>

// Calls body(firstRow, endRow) for consecutive bands covering [0, rows). The calling thread
// works too and, between its bands, reports the share of rows done (0..100) to progress
// (which may be empty); a non-zero answer stops the bands not yet started, and the result is
// false. True when every row was done.
bool RunRowBands(int rows, const std::function<void(int firstRow, int endRow)>& body,
                 const ProgressCallback& progress = {});
