// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#if defined(_WIN32)
#if defined(TOLVANE_BUILDING)
#define TOLVANE_EXPORT __declspec(dllexport)
#else
#define TOLVANE_EXPORT __declspec(dllimport)
#endif
#else
#define TOLVANE_EXPORT __attribute__((visibility("default")))
#endif
