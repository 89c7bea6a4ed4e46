// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "sdk/gv_string.h"
#include "sdk/gv_vector.h"

namespace {

// Counts live copies, to see that the vector constructs and destroys each element once.
struct Counted {
    static int live;
    int value;
    Counted(int v) : value(v) { ++live; }
    Counted(const Counted& other) : value(other.value) { ++live; }
    ~Counted() { --live; }
};
int Counted::live = 0;

} // namespace

TEST(GvVector, GrowsByAtLeastSixteen)
{
    gv_vector<int> v;
    EXPECT_EQ(v.capacity(), 0);
    v.push_back(1);
    EXPECT_EQ(v.capacity(), 16);
    for (int i = 2; i <= 16; ++i)
        v.push_back(i);
    EXPECT_EQ(v.size(), 16);
    EXPECT_EQ(v.capacity(), 16);
    v.push_back(17);
    EXPECT_EQ(v.capacity(), 32);
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(v[i], i + 1);
}

TEST(GvVector, ReserveRules)
{
    gv_vector<int> v;
    v.reserve(5);
    EXPECT_EQ(v.capacity(), 16);
    v.reserve(100);
    EXPECT_EQ(v.capacity(), 100);
    v.reserve(40); // within the capacity: nothing happens
    EXPECT_EQ(v.capacity(), 100);
    v.reserve(100);
    EXPECT_EQ(v.capacity(), 100);
    EXPECT_EQ(v.size(), 0);
}

TEST(GvVector, ElementsAreCopiedAndDestroyedOnce)
{
    {
        gv_vector<Counted> v;
        for (int i = 0; i < 40; ++i)
            v.push_back(Counted(i));
        EXPECT_EQ(Counted::live, 40);
        gv_vector<Counted> copy(v);
        EXPECT_EQ(Counted::live, 80);
        copy = v;
        EXPECT_EQ(Counted::live, 80);
        copy.clear();
        EXPECT_EQ(copy.size(), 0);
        EXPECT_EQ(copy.capacity(), 0);
        EXPECT_EQ(Counted::live, 40);
        EXPECT_EQ(v[39].value, 39);
    }
    EXPECT_EQ(Counted::live, 0);
}

TEST(GvVector, PushingOwnElementWhileGrowingIsSafe)
{
    gv_vector<gv_string> v;
    for (int i = 0; i < 16; ++i)
        v.push_back(gv_string("photo"));
    v.push_back(v[0]); // the source lives in the block that is replaced
    EXPECT_EQ(v.size(), 17);
    EXPECT_STREQ(v[16].c_str(), "photo");
}

TEST(GvVector, SelfAssignmentKeepsElements)
{
    gv_vector<gv_string> v;
    v.push_back("a");
    gv_vector<gv_string>& alias = v;
    v = alias;
    ASSERT_EQ(v.size(), 1);
    EXPECT_STREQ(v[0].c_str(), "a");
}
