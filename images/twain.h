// SPDX-License-Identifier: GPL-2.0-or-later
// CTwain: takes pictures from a scanner or camera. It keeps the connection to the device in
// one of seven states, moves between them step by step, runs a loop of its own while the
// device is enabled, and hands every picture it receives to CopyImage, which a derived class
// overrides to keep it. Starting and reading a picture run on a worker thread, so the
// windows stay alive meanwhile; a progress window shows the pages and offers Cancel.
#pragma once

#include <functional>

#include <QImage>
#include <QPointer>
#include <QWidget>

#include "images/twainstate.h"
#include "platform/sourcemanager.h"

class Progress;
class Prompter;

class CTwain
{
public:
    // Error reports: the services cannot be opened, the device cannot be opened or
    // negotiated, the device cannot be enabled, a capability set outside state 4, and the
    // device stopped before delivering every picture (a sheet it could not start or read).
    enum Error {
        ManagerError = 0,
        SourceError = 1,
        EnableError = 2,
        CapabilityError = 3,
        TransferError = 4
    };

    // With a prompter, errors are shown to the user; without one they are silent.
    explicit CTwain(Prompter* prompter = nullptr);
    virtual ~CTwain();
    CTwain(const CTwain&) = delete;
    CTwain& operator=(const CTwain&) = delete;

    // Lets the user choose a device; true when one was chosen.
    bool SelectSource(QWidget* parent = nullptr);
    // Takes the pictures of the chosen device; true when it was enabled and the loop ran.
    // The parent window is disabled meanwhile; a second call while one runs returns false.
    bool Acquire(QWidget* parent = nullptr);
    // Whether the scanner services can be started; tried once per process.
    static bool IsAvailable();

    void SetParent(QWidget* window) { m_parent = window; }
    void SetShowUI(bool show) { m_showUI = show; }
    int GetState() const { return m_state.state(); }
    // Replaces the device list dialog, e.g. by a scripted choice.
    void SetChooser(SourceManager::Chooser chooser) { m_chooser = std::move(chooser); }
    // Asks the loop to stop after the current picture, dropping any still pending.
    void RequestClose() { m_closeRequested = true; }

    const SourceInfo& Source() const { return m_source; }
    int LastReturnCode() const { return m_state.lastReturnCode(); }
    int LastConditionCode() const { return m_state.lastConditionCode(); }
    int PendingCount() const { return m_state.pendingCount(); }
    // The library's status behind the last error report; 0 when there is none.
    int ErrorCondition() const { return m_errorCondition; }
    // Whether the user cancelled the last acquisition (the settings or the progress window).
    bool Cancelled() const { return m_cancelled; }

protected:
    // After the device opens: the capabilities it needs; false refuses the device.
    virtual bool NegotiateCapabilities();
    // Takes every pending picture when the device has one ready.
    virtual void TransferImages();
    // Takes one picture and ends its transfer.
    virtual void NativeTransfer();
    // The device asks to be closed: disables and closes it.
    virtual void CloseSourceRequest();
    // One received picture; the base drops it.
    virtual void CopyImage(const QImage& image);
    virtual void StateChanged(int state);
    virtual void ReportError(int error);
    // The window that shows the transfers and offers Cancel, from enabling to the end; the
    // base shows none. EndTransferProgress is called once for every window begun.
    virtual Progress* BeginTransferProgress() { return nullptr; }
    virtual void EndTransferProgress() {}

    // Sets a capability of the open device; only in state 4 (else error 3).
    bool SetCapability(SourceManager::Capability capability, int value);
    // The device's main settings and the user's choice of them; only in state 4 (else error 3).
    bool ReadDeviceChoices(ScanChoices& choices);
    bool ApplyDeviceSettings(const ScanSettings& settings);
    // From NegotiateCapabilities: the user declined, so the refusal is not reported as an error.
    void CancelByUser() { m_cancelled = true; }
    SourceManager& Manager() { return m_manager; }

private:
    // Takes one step when the state allows it and records its outcome.
    bool Call(TwainState::Step step, const std::function<int(int&)>& call);
    bool OpenManager();
    bool OpenSource();
    bool EnableSource();
    // Runs a step that may block on a worker thread, keeping the progress window alive.
    int RunAside(const std::function<int()>& call);
    void ShowPage();
    void ShowProgress();
    void RunLoop();
    void BringDownTo(int state);
    QWidget* ParentWindow(QWidget* parent) const;

    SourceManager m_manager;
    TwainState m_state;
    SourceInfo m_source;
    SourceManager::Chooser m_chooser;
    Prompter* m_prompter = nullptr;
    QPointer<QWidget> m_parent;
    bool m_showUI = true;
    int m_transferMode = 0; // native
    bool m_closeRequested = false;
    bool m_busy = false;
    bool m_cancelled = false;
    int m_errorCondition = 0;
    int m_transfers = 0; // pictures begun in this acquisition
    bool m_reading = false;
    Progress* m_progress = nullptr;
};
