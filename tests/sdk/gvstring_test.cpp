// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "sdk/gv_string.h"

TEST(GvString, NewAndNullTextsHoldEmptyText)
{
    gv_string fresh;
    EXPECT_STREQ(fresh.c_str(), "");
    EXPECT_EQ(fresh.length(), 0);

    gv_string s("abc");
    s.assign(static_cast<const char*>(nullptr));
    EXPECT_STREQ(s.c_str(), "");

    s = "abc";
    s.append(nullptr);
    EXPECT_STREQ(s.c_str(), "abc");
}

TEST(GvString, AssigningItselfOrItsOwnBufferKeepsTheText)
{
    gv_string s("holiday");
    s.assign(s);
    EXPECT_STREQ(s.c_str(), "holiday");
    s.assign(s.c_str());
    EXPECT_STREQ(s.c_str(), "holiday");
}

TEST(GvString, AppendingItsOwnTextDoublesIt)
{
    gv_string s("ab");
    s.append(s.c_str());
    EXPECT_STREQ(s.c_str(), "abab");
    s.append(s.c_str() + 3);
    EXPECT_STREQ(s.c_str(), "ababb");
}

TEST(GvString, ClearedStringReadsAsEmptyAndCanBeReused)
{
    gv_string s("x");
    s.clear();
    EXPECT_EQ(s.length(), 0);
    EXPECT_STREQ(s.c_str(), "");
    EXPECT_EQ(s.find('x'), -1);
    EXPECT_EQ(s.find_last_of("x"), -1);
    EXPECT_STREQ(s.left(3).c_str(), "");
    s.append("y");
    EXPECT_STREQ(s.c_str(), "y");
}

TEST(GvString, Searches)
{
    const gv_string path("C:\\pics/2024\\sky.jpg");
    EXPECT_EQ(path.find_first_of("/\\"), 2);
    EXPECT_EQ(path.find_first_of("/\\", 3), 7);
    EXPECT_EQ(path.find_first_of("#"), -1);
    EXPECT_EQ(path.find_last_of("/\\"), 12);
    EXPECT_EQ(path.find_last_of("/\\", 11), 7);
    EXPECT_EQ(path.find_last_of("/\\", 1), -1);
    EXPECT_EQ(path.reverse_find('.'), 16);
    EXPECT_EQ(path.reverse_find('#'), -1);
    EXPECT_EQ(path.find('p'), 3);
    EXPECT_EQ(path.find('p', 4), 18);
    EXPECT_EQ(path.find('p', 100), -1);
}

TEST(GvString, SubstringsClampToTheText)
{
    const gv_string s("photo.jpg");
    EXPECT_STREQ(s.left(5).c_str(), "photo");
    EXPECT_STREQ(s.left(0).c_str(), "");
    EXPECT_STREQ(s.left(-2).c_str(), "");
    EXPECT_STREQ(s.left(50).c_str(), "photo.jpg");
    EXPECT_STREQ(s.mid(6).c_str(), "jpg");
    EXPECT_STREQ(s.mid(9).c_str(), "");
    EXPECT_STREQ(s.mid(50).c_str(), "");
    EXPECT_STREQ(s.mid(-1).c_str(), "photo.jpg");
}

TEST(GvString, ConcatenationLeavesOperandsAlone)
{
    const gv_string a("album");
    const gv_string b(".gvp");
    const gv_string c = a + b;
    EXPECT_STREQ(c.c_str(), "album.gvp");
    EXPECT_STREQ(a.c_str(), "album");
    EXPECT_TRUE(c == "album.gvp");
    EXPECT_TRUE((a + static_cast<const char*>(nullptr)) == "album");
}

TEST(GvString, CopiesAreIndependent)
{
    gv_string a("one");
    gv_string b(a);
    b.append("two");
    gv_string c;
    c = b;
    c.assign("three");
    EXPECT_STREQ(a.c_str(), "one");
    EXPECT_STREQ(b.c_str(), "onetwo");
    EXPECT_STREQ(c.c_str(), "three");
}
