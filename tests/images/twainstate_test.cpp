// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "images/twainstate.h"

using Step = TwainState::Step;

namespace
{

struct Recorder {
    TwainState state;
    std::vector<int> changes;
    Recorder()
    {
        state.onChange = [this](int s) { changes.push_back(s); };
    }
};

TEST(TwainStateTest, AFullAcquisitionWalksUpAndDown)
{
    Recorder r;
    EXPECT_EQ(r.state.state(), 1);
    for (Step step : {Step::LoadManager, Step::OpenManager, Step::OpenSource, Step::Enable,
                      Step::TransferReady}) {
        ASSERT_TRUE(r.state.allows(step));
        r.state.record(step, TwainState::Success);
    }
    r.state.record(Step::NativeTransfer, TwainState::TransferDone);
    r.state.record(Step::EndTransfer, TwainState::Success, 0, 1);
    EXPECT_EQ(r.state.pendingCount(), 1);
    r.state.record(Step::NativeTransfer, TwainState::TransferDone);
    r.state.record(Step::EndTransfer, TwainState::Success, 0, 0);
    for (Step step : {Step::Disable, Step::CloseSource, Step::CloseManager, Step::UnloadManager})
        r.state.record(step, TwainState::Success);
    EXPECT_EQ(r.changes, (std::vector<int>{2, 3, 4, 5, 6, 7, 6, 7, 5, 4, 3, 2, 1}));
}

TEST(TwainStateTest, EachStepStartsFromItsOwnState)
{
    TwainState state;
    EXPECT_TRUE(state.allows(Step::LoadManager));
    for (Step step : {Step::OpenManager, Step::OpenSource, Step::Enable, Step::NativeTransfer,
                      Step::EndTransfer, Step::Disable, Step::CloseSource, Step::CloseManager,
                      Step::UnloadManager, Step::UserSelect, Step::SetCapability})
        EXPECT_FALSE(state.allows(step));
    state.record(Step::LoadManager, TwainState::Success);
    state.record(Step::OpenManager, TwainState::Success);
    EXPECT_TRUE(state.allows(Step::UserSelect));
    EXPECT_TRUE(state.allows(Step::OpenSource));
    EXPECT_TRUE(state.allows(Step::CloseManager));
    EXPECT_FALSE(state.allows(Step::SetCapability));
    state.record(Step::OpenSource, TwainState::Success);
    EXPECT_TRUE(state.allows(Step::SetCapability));
    state.refuse();
    EXPECT_EQ(state.lastReturnCode(), TwainState::Failure);
    EXPECT_EQ(state.lastConditionCode(), TwainState::SequenceError);
    EXPECT_EQ(state.state(), 4);
}

TEST(TwainStateTest, FailuresKeepTheStateAndTheirConditionCode)
{
    Recorder r;
    r.state.record(Step::LoadManager, TwainState::Failure, 9);
    EXPECT_EQ(r.state.state(), 1);
    EXPECT_EQ(r.state.lastConditionCode(), 9);
    EXPECT_TRUE(r.changes.empty());
    r.state.record(Step::LoadManager, TwainState::Success, 9);
    EXPECT_EQ(r.state.lastConditionCode(), 0); // only failures fetch one
    // Selecting and setting capabilities never move the state.
    r.state.record(Step::OpenManager, TwainState::Success);
    r.state.record(Step::UserSelect, TwainState::Cancel);
    r.state.record(Step::UserSelect, TwainState::Success);
    EXPECT_EQ(r.state.state(), 3);
    EXPECT_EQ(r.changes, (std::vector<int>{2, 3}));
}

TEST(TwainStateTest, TransfersThatFailOrAreCancelled)
{
    TwainState state;
    for (Step step : {Step::LoadManager, Step::OpenManager, Step::OpenSource, Step::Enable,
                      Step::TransferReady})
        state.record(step, TwainState::Success);
    state.record(Step::NativeTransfer, TwainState::Failure, 4);
    EXPECT_EQ(state.state(), 6); // nothing was transferred
    state.record(Step::NativeTransfer, TwainState::Cancel);
    EXPECT_EQ(state.state(), 7); // a cancelled picture is still ended
    state.record(Step::EndTransfer, TwainState::Success, 0, -1);
    EXPECT_EQ(state.state(), 6); // count unknown: more to come
    EXPECT_EQ(state.pendingCount(), -1);
    state.record(Step::ResetTransfers, TwainState::Success);
    EXPECT_EQ(state.state(), 5);
    state.record(Step::TransferReady, TwainState::Failure, 7);
    EXPECT_EQ(state.state(), 5);
}

} // namespace
