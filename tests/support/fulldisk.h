// SPDX-License-Identifier: GPL-2.0-or-later
// A small file system of its own (tmpfs) that a test can fill to the brim, to see what
// writing does when the disk is full. Mounting needs the superuser; where it cannot be done
// the test is skipped with the reason.
#pragma once

#include <QString>

#include "tests/support/testenv.h"

class FullDisk
{
public:
    explicit FullDisk(int kilobytes = 512);
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    // "" when mounted; otherwise why not.
    QString unavailable() const { return m_unavailable; }
    QString path() const { return m_folder.path(); }
    QString file(const QString& relative) const { return m_folder.file(relative); }
    // Takes every free byte, so that any later write fails for want of space.
    void fill();
    // Gives the space taken by fill() back.
    void drain();

private:
    TestFolder m_folder;
    QString m_unavailable;
};

// Skips the test when the full disk cannot be had.
#define GV_REQUIRE_FULL_DISK(disk)                                                                 \
    if (!(disk).unavailable().isEmpty())                                                           \
    GTEST_SKIP() << "no small file system to fill: " << (disk).unavailable().toStdString()
