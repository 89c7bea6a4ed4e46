// SPDX-License-Identifier: GPL-2.0-or-later
// The bookmarked places of file managers: GTK's list and KDE's, as the album's place is
// added, renamed and removed beside the user's own places.
#include <gtest/gtest.h>

#include <QFile>

#include "platform/placebookmarks.h"
#include "tests/support/testenv.h"

using platform::PlaceBookmarks;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QByteArray KdePlaces = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE xbel>
<xbel xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks">
 <bookmark href="file:///home/ann">
  <title>Home</title>
  <info><metadata owner="http://freedesktop.org"><bookmark:icon name="user-home"/></metadata></info>
 </bookmark>
</xbel>
)";

struct Places {
    TestFolder folder;
    QString gtk = folder.file("config/gtk-3.0/bookmarks");
    QString kde = folder.file("data/user-places.xbel");
    PlaceBookmarks places{gtk, kde};
};

} // namespace

TEST(PlaceBookmarks, TheAlbumJoinsTheUsersPlacesOnceAndKeepsThem)
{
    Places p;
    p.folder.write("config/gtk-3.0/bookmarks", "file:///home/ann/Music\nsftp://host/x Server files\n");
    const QUrl album = QUrl::fromLocalFile("/home/ann/Albums/Summer 2024");
    ASSERT_TRUE(p.places.add("Summer 2024", album, "gallivex"));
    EXPECT_EQ(readAll(p.gtk), "file:///home/ann/Music\nsftp://host/x Server files\n"
                              "file:///home/ann/Albums/Summer%202024 Summer 2024\n");
    EXPECT_EQ(p.places.target("Summer 2024"), album);
    // Generated again elsewhere: the same place points at the new folder.
    ASSERT_TRUE(p.places.add("Summer 2024", QUrl::fromLocalFile("/srv/summer"), "gallivex"));
    EXPECT_EQ(readAll(p.gtk).count("Summer 2024\n"), 1);
    EXPECT_EQ(p.places.target("Summer 2024"), QUrl::fromLocalFile("/srv/summer"));
    EXPECT_EQ(p.places.target("Server files"), QUrl("sftp://host/x"));
    // KDE's list is not made for a user who has none.
    EXPECT_FALSE(QFile::exists(p.kde));
}

TEST(PlaceBookmarks, AMissingListIsMadeAndANameStaysOnOneLine)
{
    Places p;
    ASSERT_TRUE(p.places.add("Two\nlines", QUrl::fromLocalFile("/a"), "gallivex"));
    EXPECT_EQ(readAll(p.gtk), "file:///a Two lines\n");
    EXPECT_EQ(p.places.target("Two\nlines"), QUrl::fromLocalFile("/a"));
    EXPECT_TRUE(p.places.rename("Two\nlines", "One"));
    EXPECT_EQ(readAll(p.gtk), "file:///a One\n");
}

TEST(PlaceBookmarks, RenameAndRemoveTouchOnlyThePlacesOfThatName)
{
    Places p;
    p.folder.write("config/gtk-3.0/bookmarks", "file:///home/ann/Music\nfile:///b Trip2\n");
    ASSERT_TRUE(p.places.add("Trip", QUrl::fromLocalFile("/a"), "gallivex"));
    EXPECT_FALSE(p.places.rename("Nothing", "Else"));
    EXPECT_TRUE(p.places.rename("Trip", "Journey"));
    EXPECT_EQ(p.places.target("Journey"), QUrl::fromLocalFile("/a"));
    EXPECT_TRUE(p.places.target("Trip").isEmpty());
    EXPECT_FALSE(p.places.remove("Trip"));
    EXPECT_TRUE(p.places.remove("Journey"));
    EXPECT_EQ(readAll(p.gtk), "file:///home/ann/Music\nfile:///b Trip2\n");
}

TEST(PlaceBookmarks, KdesPlacesFollowWhenTheUserHasThem)
{
    Places p;
    p.folder.write("data/user-places.xbel", KdePlaces);
    ASSERT_TRUE(p.places.add("Trip", QUrl::fromLocalFile("/albums/trip"), "gallivex"));
    QByteArray kde = readAll(p.kde);
    EXPECT_TRUE(kde.contains("<bookmark href=\"file:///albums/trip\">")) << kde.constData();
    EXPECT_TRUE(kde.contains("<title>Trip</title>"));
    EXPECT_TRUE(kde.contains("<bookmark:icon name=\"gallivex\"/>"));
    EXPECT_TRUE(kde.contains("<title>Home</title>"));
    ASSERT_TRUE(p.places.rename("Trip", "Journey & more"));
    kde = readAll(p.kde);
    EXPECT_TRUE(kde.contains("<title>Journey &amp; more</title>")) << kde.constData();
    EXPECT_FALSE(kde.contains("<title>Trip</title>"));
    ASSERT_TRUE(p.places.remove("Journey & more"));
    kde = readAll(p.kde);
    EXPECT_FALSE(kde.contains("albums/trip"));
    EXPECT_TRUE(kde.contains("<bookmark href=\"file:///home/ann\">"));
}

TEST(PlaceBookmarks, AnUnreadableKdeListIsLeftAsItIs)
{
    Places p;
    p.folder.write("data/user-places.xbel", "<xbel><bookmark");
    ASSERT_TRUE(p.places.add("Trip", QUrl::fromLocalFile("/a"), "gallivex"));
    EXPECT_EQ(readAll(p.kde), "<xbel><bookmark");
    EXPECT_EQ(p.places.target("Trip"), QUrl::fromLocalFile("/a"));
}

TEST(PlaceBookmarks, AListThatCannotBeWrittenIsReported)
{
    Places p;
    p.folder.write("config/gtk-3.0", "a file where the folder belongs");
    EXPECT_FALSE(p.places.add("Trip", QUrl::fromLocalFile("/a"), "gallivex"));
}
