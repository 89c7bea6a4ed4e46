// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/twainstate.h"

namespace
{

using Step = TwainState::Step;

// The one state each step starts from.
int fromState(Step step)
{
    switch (step) {
    case Step::LoadManager:
        return TwainState::PreSession;
    case Step::OpenManager:
        return TwainState::ManagerLoaded;
    case Step::UserSelect:
    case Step::OpenSource:
    case Step::CloseManager:
        return TwainState::ManagerOpen;
    case Step::GetCapability:
    case Step::SetCapability:
    case Step::Enable:
    case Step::CloseSource:
        return TwainState::SourceOpen;
    case Step::TransferReady:
    case Step::Disable:
        return TwainState::SourceEnabled;
    case Step::NativeTransfer:
    case Step::ResetTransfers:
        return TwainState::TransferReady;
    case Step::EndTransfer:
        return TwainState::Transferring;
    case Step::UnloadManager:
        return TwainState::ManagerLoaded;
    }
    return 0;
}

// The state a successful step leads to; 0 when it stays.
int toState(Step step, int returnCode, int pending)
{
    switch (step) {
    case Step::LoadManager:
        return TwainState::ManagerLoaded;
    case Step::OpenManager:
        return TwainState::ManagerOpen;
    case Step::OpenSource:
        return TwainState::SourceOpen;
    case Step::Enable:
        return TwainState::SourceEnabled;
    case Step::TransferReady:
        return TwainState::TransferReady;
    // A cancelled picture still has to be ended, as a finished one has.
    case Step::NativeTransfer:
        return returnCode == TwainState::TransferDone || returnCode == TwainState::Cancel
                   ? TwainState::Transferring
                   : 0;
    case Step::EndTransfer:
        return pending != 0 ? TwainState::TransferReady : TwainState::SourceEnabled;
    case Step::ResetTransfers:
        return TwainState::SourceEnabled;
    case Step::Disable:
        return TwainState::SourceOpen;
    case Step::CloseSource:
        return TwainState::ManagerOpen;
    case Step::CloseManager:
        return TwainState::ManagerLoaded;
    case Step::UnloadManager:
        return TwainState::PreSession;
    case Step::UserSelect:
    case Step::GetCapability:
    case Step::SetCapability:
        return 0;
    }
    return 0;
}

} // namespace

bool TwainState::allows(Step step) const
{
    return m_state == fromState(step);
}

void TwainState::record(Step step, int returnCode, int conditionCode, int pending)
{
    m_returnCode = returnCode;
    m_conditionCode = returnCode == Failure ? conditionCode : 0;
    if (step == Step::EndTransfer)
        m_pending = returnCode == Success ? pending : 0;
    const bool moves = returnCode == Success || step == Step::NativeTransfer;
    const int next = moves ? toState(step, returnCode, pending) : 0;
    if (next != 0)
        moveTo(next);
}

void TwainState::refuse()
{
    m_returnCode = Failure;
    m_conditionCode = SequenceError;
}

void TwainState::moveTo(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    if (onChange)
        onChange(state);
}
