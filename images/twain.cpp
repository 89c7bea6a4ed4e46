// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/twain.h"

#include <algorithm>
#include <optional>

#include <QApplication>

#include "album/progress.h"
#include "images/offthread.h"
#include "images/sourcelistdlg.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"

using Step = TwainState::Step;

CTwain::CTwain(Prompter* prompter) : m_prompter(prompter)
{
    m_state.onChange = [this](int state) { StateChanged(state); };
}

CTwain::~CTwain()
{
    // Nothing virtual may be called from here: the derived part is gone.
    m_state.onChange = nullptr;
    BringDownTo(TwainState::PreSession);
}

bool CTwain::IsAvailable()
{
    static std::optional<bool> available;
    if (!available) {
        SourceManager manager;
        available = manager.load() == SourceManager::Success;
    }
    return *available;
}

bool CTwain::Call(TwainState::Step step, const std::function<int(int&)>& call)
{
    if (!m_state.allows(step)) {
        m_state.refuse();
        return false;
    }
    int pending = 0;
    // Starting a sheet and reading it wait on the device; the next sheet starts at the end of
    // the previous one.
    const bool slow =
        step == Step::TransferReady || step == Step::NativeTransfer || step == Step::EndTransfer;
    const int code = slow ? RunAside([&] { return call(pending); }) : call(pending);
    m_state.record(step, code, m_manager.conditionCode(), pending);
    return code == TwainState::Success || code == TwainState::TransferDone;
}

bool CTwain::OpenManager()
{
    if (GetState() < TwainState::ManagerLoaded &&
        !Call(Step::LoadManager, [this](int&) { return m_manager.load(); }))
        return false;
    if (GetState() < TwainState::ManagerOpen &&
        !Call(Step::OpenManager, [this](int&) { return m_manager.openManager(); }))
        return false;
    return true;
}

bool CTwain::SelectSource(QWidget* parent)
{
    const int remembered = GetState();
    bool chosen = false;
    if (OpenManager()) {
        m_source = {};
        QWidget* window = ParentWindow(parent);
        const SourceManager::Chooser chooser =
            m_chooser ? m_chooser : [window](const std::vector<SourceInfo>& sources) {
                return CSourceListDlg::choose(sources, window);
            };
        chosen =
            Call(Step::UserSelect, [&](int&) { return m_manager.userSelect(chooser, m_source); });
    } else {
        ReportError(ManagerError);
    }
    BringDownTo(remembered);
    return chosen;
}

bool CTwain::OpenSource()
{
    return Call(Step::OpenSource, [this](int&) { return m_manager.openSource(m_source); }) &&
           NegotiateCapabilities();
}

bool CTwain::EnableSource()
{
    // A device that keeps its own transfer mechanism is still tried.
    SetCapability(SourceManager::TransferMechanism, m_transferMode);
    return Call(Step::Enable, [this](int&) { return m_manager.enable(m_showUI); });
}

bool CTwain::Acquire(QWidget* parent)
{
    if (m_busy)
        return false;
    m_busy = true;
    struct BusyReset {
        bool& flag;
        ~BusyReset() { flag = false; }
    } reset{m_busy};
    m_cancelled = false;
    m_errorCondition = 0;
    m_transfers = 0;
    const int remembered = GetState();
    struct Stage {
        int below;
        Error error;
        bool (CTwain::*open)();
    };
    const Stage stages[] = {{TwainState::ManagerOpen, ManagerError, &CTwain::OpenManager},
                            {TwainState::SourceOpen, SourceError, &CTwain::OpenSource},
                            {TwainState::SourceEnabled, EnableError, &CTwain::EnableSource}};
    for (const Stage& stage : stages) {
        if (GetState() < stage.below && !(this->*stage.open)()) {
            if (!m_cancelled)
                ReportError(stage.error);
            BringDownTo(remembered);
            return false;
        }
    }
    QPointer<QWidget> window = ParentWindow(parent);
    if (window)
        window->setEnabled(false);
    m_progress = BeginTransferProgress();
    // A window that belongs to the disabled one would be disabled with it, Cancel included.
    if (auto* shown = dynamic_cast<QWidget*>(m_progress))
        shown->setEnabled(true);
    RunLoop();
    if (m_progress) {
        m_progress = nullptr;
        EndTransferProgress();
    }
    if (window)
        window->setEnabled(true);
    BringDownTo(remembered);
    if (m_errorCondition != 0)
        ReportError(TransferError);
    return true;
}

int CTwain::RunAside(const std::function<int()>& call)
{
    int code = TwainState::Failure;
    runOffThread([&] { code = call(); }, [this] { ShowProgress(); });
    return code;
}

void CTwain::ShowPage()
{
    // While a sheet starts, the page is the next one.
    m_progress->setText(
        loadString(IDS_TWAIN_SCANNING_PAGE).arg(m_reading ? m_transfers : m_transfers + 1));
    m_progress->setPosition(m_manager.transferPercent());
}

void CTwain::ShowProgress()
{
    // After Cancel the window is gone; what remains is winding down.
    if (!m_progress || m_cancelled)
        return;
    ShowPage();
    if (m_progress->pump()) {
        m_cancelled = true;
        m_manager.requestCancel();
        RequestClose();
    }
}

void CTwain::RunLoop()
{
    m_closeRequested = false;
    while (GetState() >= TwainState::SourceEnabled) {
        QCoreApplication::processEvents();
        if (GetState() == TwainState::SourceEnabled && !m_closeRequested &&
            Call(Step::TransferReady, [this](int&) { return m_manager.transferReady(); })) {
            TransferImages();
        } else if (GetState() == TwainState::SourceEnabled) {
            // Why the pictures ended is known only while the device is open.
            m_errorCondition = m_cancelled ? 0 : m_manager.stopCondition();
            CloseSourceRequest();
        } else {
            BringDownTo(TwainState::SourceEnabled);
        }
    }
}

void CTwain::TransferImages()
{
    while (GetState() == TwainState::TransferReady && !m_closeRequested) {
        NativeTransfer();
        // A transfer refused outright would be offered again and again.
        if (GetState() == TwainState::TransferReady && LastReturnCode() == TwainState::Failure)
            break;
    }
    if (GetState() > TwainState::SourceEnabled)
        BringDownTo(TwainState::SourceEnabled);
}

void CTwain::NativeTransfer()
{
    ++m_transfers;
    QImage image;
    m_reading = true;
    // The window shows the new page from its first byte, not the end of the last one.
    if (m_progress && !m_cancelled)
        ShowPage();
    const bool done =
        Call(Step::NativeTransfer, [&](int&) { return m_manager.nativeTransfer(image); });
    m_reading = false;
    if (!done || LastReturnCode() != TwainState::TransferDone)
        image = QImage();
    if (GetState() == TwainState::Transferring)
        Call(Step::EndTransfer, [this](int& pending) { return m_manager.endTransfer(pending); });
    QCoreApplication::processEvents();
    if (!image.isNull())
        CopyImage(image);
}

void CTwain::CloseSourceRequest()
{
    Call(Step::Disable, [this](int&) { return m_manager.disable(); });
    Call(Step::CloseSource, [this](int&) { return m_manager.closeSource(); });
}

void CTwain::CopyImage(const QImage& /*image*/) {}

bool CTwain::NegotiateCapabilities()
{
    return true;
}

void CTwain::StateChanged(int /*state*/) {}

void CTwain::ReportError(int error)
{
    if (!m_prompter)
        return;
    QString text = loadString(IDS_TWAIN_ERROR_FIRST + error);
    // The device's own words say what went wrong: a jam, an empty feeder, an open cover.
    if (error == TransferError)
        text = text.arg(SourceManager::conditionText(m_errorCondition));
    m_prompter->message(text, Prompter::Icon::Error);
}

bool CTwain::SetCapability(SourceManager::Capability capability, int value)
{
    if (GetState() != TwainState::SourceOpen) {
        ReportError(CapabilityError);
        return false;
    }
    return Call(Step::SetCapability,
                [&](int&) { return m_manager.setCapability(capability, value); });
}

bool CTwain::ReadDeviceChoices(ScanChoices& choices)
{
    if (GetState() != TwainState::SourceOpen) {
        ReportError(CapabilityError);
        return false;
    }
    return Call(Step::GetCapability, [&](int&) { return m_manager.readChoices(choices); });
}

bool CTwain::ApplyDeviceSettings(const ScanSettings& settings)
{
    if (GetState() != TwainState::SourceOpen) {
        ReportError(CapabilityError);
        return false;
    }
    return Call(Step::SetCapability, [&](int&) { return m_manager.applySettings(settings); });
}

void CTwain::BringDownTo(int state)
{
    while (GetState() > state) {
        int pending = 0;
        const int before = GetState();
        switch (before) {
        case TwainState::Transferring:
            m_state.record(Step::EndTransfer, m_manager.endTransfer(pending), 0, pending);
            break;
        case TwainState::TransferReady:
            m_state.record(Step::ResetTransfers, m_manager.resetTransfers());
            break;
        case TwainState::SourceEnabled:
            m_state.record(Step::Disable, m_manager.disable());
            break;
        case TwainState::SourceOpen:
            m_state.record(Step::CloseSource, m_manager.closeSource());
            break;
        case TwainState::ManagerOpen:
            m_state.record(Step::CloseManager, m_manager.closeManager());
            break;
        default:
            m_manager.unload();
            m_state.record(Step::UnloadManager, TwainState::Success);
            break;
        }
        if (GetState() == before)
            return; // the step failed; nothing else will move it
    }
}

QWidget* CTwain::ParentWindow(QWidget* parent) const
{
    if (parent)
        return parent;
    if (m_parent)
        return m_parent;
    return QApplication::activeWindow();
}
