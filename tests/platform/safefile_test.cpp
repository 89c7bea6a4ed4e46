// SPDX-License-Identifier: GPL-2.0-or-later
// Whole files written on a disk that fills up: the file that was there stays as it was, the
// failure is reported, and no temporary file is left behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "platform/safefile.h"
#include "tests/support/fulldisk.h"

namespace
{

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(SafeFile, WritesAndReplacesWholeFiles)
{
    TestFolder folder;
    const QString path = folder.file("notes.txt");
    ASSERT_TRUE(platform::writeFileSafely(path, "first"));
    ASSERT_TRUE(platform::writeFileSafely(path, "second, longer"));
    EXPECT_EQ(contents(path), "second, longer");
    ASSERT_TRUE(platform::writeFileSafely(path, ""));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(contents(path), "");

    QString error;
    EXPECT_FALSE(platform::writeFileSafely(folder.file("missing/notes.txt"), "x", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(platform::writeFileSafely(QString(), "x"));
}

TEST(SafeFile, AFullDiskLeavesTheOldFileAlone)
{
    FullDisk disk;
    GV_REQUIRE_FULL_DISK(disk);
    const QString path = disk.file("album.gvp");
    const QByteArray old(3000, 'o');
    ASSERT_TRUE(platform::writeFileSafely(path, old));
    disk.fill();

    QString error;
    EXPECT_FALSE(platform::writeFileSafely(path, QByteArray(20000, 'n'), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(contents(path), old);

    // The same through a buffered file, whose bytes would reach the disk only in commit().
    QSaveFile buffered(path);
    ASSERT_TRUE(buffered.open(QIODevice::WriteOnly));
    EXPECT_FALSE(platform::commitSafely(buffered, QByteArray(100, 'b')));
    EXPECT_EQ(contents(path), old);
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({".filler", "album.gvp"}));

    disk.drain();
    EXPECT_TRUE(platform::writeFileSafely(path, "room again"));
    EXPECT_EQ(contents(path), "room again");
}
