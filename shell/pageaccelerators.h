// SPDX-License-Identifier: GPL-2.0-or-later
// The keyboard shortcuts of the wizard's pages: one table per page that has any, each key
// mapped to the command it runs on that page.
#pragma once

#include <array>
#include <vector>

#include <QKeyCombination>

struct Accelerator {
    QKeyCombination key;
    int command;
};

// Table ids.
enum AcceleratorTable : int {
    ACCEL_NONE = 0,
    ACCEL_IMAGE_LIST = 278,
    ACCEL_ALBUM_MANAGER = 280,
    ACCEL_WELCOME = 285,
    ACCEL_FINAL = 287,
};

// The keys of one table; empty for an unknown id.
const std::vector<Accelerator>& acceleratorTable(int tableId);

// The table of each wizard page by page index (0 welcome ... 6 final page).
using PageAccelerators = std::array<int, 7>;
PageAccelerators loadPageAccelerators();
