// SPDX-License-Identifier: GPL-2.0-or-later
// Reordering and removing the image list page's rows.
#include <gtest/gtest.h>

#include <QStringList>

#include "images/rowmoves.h"

namespace
{

std::vector<PageImage> rowsOf(const QStringList& paths)
{
    std::vector<PageImage> rows;
    for (const QString& path : paths)
        rows.push_back({path, path + QStringLiteral(" title"), QString(), QString()});
    return rows;
}

QStringList pathsOf(const std::vector<PageImage>& rows)
{
    QStringList paths;
    for (const PageImage& row : rows)
        paths << row.path;
    return paths;
}

} // namespace

TEST(RowMoves, UpAndDownStopAtTheEdges)
{
    auto rows = rowsOf({"a", "b", "c", "d"});
    EXPECT_EQ(rowmoves::Up(rows, {1, 3}), (std::vector<int>{0, 2}));
    EXPECT_EQ(pathsOf(rows), (QStringList{"b", "a", "d", "c"}));
    EXPECT_EQ(rowmoves::Up(rows, {0, 2}), (std::vector<int>{0, 2}));
    EXPECT_EQ(pathsOf(rows), (QStringList{"b", "a", "d", "c"}));
    EXPECT_EQ(rowmoves::Down(rows, {1, 2}), (std::vector<int>{2, 3}));
    EXPECT_EQ(pathsOf(rows), (QStringList{"b", "c", "a", "d"}));
    EXPECT_EQ(rowmoves::Down(rows, {3}), std::vector<int>{3});
    EXPECT_EQ(rows[1].title, QStringLiteral("c title")); // titles travel with their photos
}

TEST(RowMoves, TopAndBottomKeepTheSelectionsOrder)
{
    auto rows = rowsOf({"a", "b", "c", "d", "e"});
    EXPECT_EQ(rowmoves::Bottom(rows, {0, 2}), (std::vector<int>{3, 4}));
    EXPECT_EQ(pathsOf(rows), (QStringList{"b", "d", "e", "a", "c"}));
    EXPECT_EQ(rowmoves::Top(rows, {2, 4}), (std::vector<int>{0, 1}));
    EXPECT_EQ(pathsOf(rows), (QStringList{"e", "c", "b", "d", "a"}));
    EXPECT_EQ(rowmoves::Top(rows, {}), std::vector<int>{});
    EXPECT_EQ(rowmoves::Top(rows, {7}), std::vector<int>{7});
    EXPECT_EQ(pathsOf(rows), (QStringList{"e", "c", "b", "d", "a"}));
}

TEST(RowMoves, RemoveTakesTheSelectedRows)
{
    // The same photo twice: removing the second copy removes that row, with its own title,
    // and keeps the first with its title.
    auto rows = rowsOf({"a", "b", "a", "c"});
    rows[2].title = QStringLiteral("second");
    rowmoves::Remove(rows, {3, 2});
    EXPECT_EQ(pathsOf(rows), (QStringList{"a", "b"}));
    EXPECT_EQ(rows[0].title, QStringLiteral("a title"));
    // Rows out of range and a row selected twice remove nothing more.
    rowmoves::Remove(rows, {5, -1, 1, 1});
    EXPECT_EQ(pathsOf(rows), QStringList{"a"});
}
