// SPDX-License-Identifier: GPL-2.0-or-later
// The acquisition connection's seven states and the rules that move between them: each step
// is allowed in one state only, and its success sets the state the step leads to.
#pragma once

#include <functional>

class TwainState
{
public:
    enum State {
        PreSession = 1, // the services are not loaded
        ManagerLoaded = 2,
        ManagerOpen = 3,
        SourceOpen = 4,
        SourceEnabled = 5,
        TransferReady = 6,
        Transferring = 7,
    };
    enum class Step {
        LoadManager,
        OpenManager,
        UserSelect,
        OpenSource,
        GetCapability,
        SetCapability,
        Enable,
        TransferReady,
        NativeTransfer,
        EndTransfer,
        ResetTransfers, // drops the pictures still pending
        Disable,
        CloseSource,
        CloseManager,
        UnloadManager,
    };

    // Called with the new state after every change.
    std::function<void(int)> onChange;

    int state() const { return m_state; }
    // Whether step may be taken in the current state.
    bool allows(Step step) const;
    // Records a step's outcome: its return code, the condition code of a failure and, for the
    // end of a transfer, the pending count; a success moves to the state the step leads to.
    void record(Step step, int returnCode, int conditionCode = 0, int pending = 0);
    // Records a step refused because the state did not allow it.
    void refuse();

    int lastReturnCode() const { return m_returnCode; }
    int lastConditionCode() const { return m_conditionCode; }
    int pendingCount() const { return m_pending; }

    // The return codes the rules look at; a refused step is a failure with a sequence error.
    static constexpr int Success = 0;
    static constexpr int Failure = 1;
    static constexpr int Cancel = 3;
    static constexpr int TransferDone = 6;
    static constexpr int SequenceError = 11;

private:
    void moveTo(int state);

    int m_state = PreSession;
    int m_returnCode = Success;
    int m_conditionCode = 0;
    int m_pending = 0;
};
