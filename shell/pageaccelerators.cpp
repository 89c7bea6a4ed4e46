// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/pageaccelerators.h"

#include <map>

const std::vector<Accelerator>& acceleratorTable(int tableId)
{
    static const std::map<int, std::vector<Accelerator>> tables = {
        {ACCEL_WELCOME,
         {{Qt::CTRL | Qt::Key_C, 32780},   // create a new album
          {Qt::CTRL | Qt::Key_O, 32781}}}, // open an existing album
        {ACCEL_ALBUM_MANAGER,
         {{Qt::CTRL | Qt::Key_F, 1026},    // find album
          {Qt::CTRL | Qt::Key_O, 32773},   // open album
          {Qt::CTRL | Qt::Key_V, 32774},   // view album
          {QKeyCombination(Qt::Key_Menu), 32779},
          {QKeyCombination(Qt::Key_F2), 32776},  // rename
          {Qt::ALT | Qt::Key_Return, 32775},     // properties
          {Qt::ALT | Qt::Key_Enter, 32775}}},
        {ACCEL_IMAGE_LIST,
         {{Qt::CTRL | Qt::Key_A, 1003},    // add images
          {QKeyCombination(Qt::Key_F2), 32776},
          {Qt::CTRL | Qt::Key_Z, 2116}}},  // undo the last operation
        {ACCEL_FINAL,
         {{Qt::CTRL | Qt::Key_C, 32782},   // continue
          {Qt::CTRL | Qt::Key_E, 32783}}}, // exit
    };
    static const std::vector<Accelerator> none;
    const auto it = tables.find(tableId);
    return it == tables.end() ? none : it->second;
}

PageAccelerators loadPageAccelerators()
{
    return {ACCEL_WELCOME, ACCEL_ALBUM_MANAGER, ACCEL_NONE, ACCEL_IMAGE_LIST,
            ACCEL_NONE,    ACCEL_NONE,          ACCEL_FINAL};
}
