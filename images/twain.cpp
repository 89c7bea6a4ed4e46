#include "images/twain.h"

#include <optional>

#include <QApplication>

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
    const int code = call(pending);
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
            ReportError(stage.error);
            BringDownTo(remembered);
            return false;
        }
    }
    QPointer<QWidget> window = ParentWindow(parent);
    if (window)
        window->setEnabled(false);
    RunLoop();
    if (window)
        window->setEnabled(true);
    BringDownTo(remembered);
    return true;
}

void CTwain::RunLoop()
{
    m_closeRequested = false;
    while (GetState() >= TwainState::SourceEnabled) {
        QCoreApplication::processEvents();
        if (GetState() == TwainState::SourceEnabled && !m_closeRequested &&
            Call(Step::TransferReady, [this](int&) { return m_manager.transferReady(); }))
            TransferImages();
        else if (GetState() == TwainState::SourceEnabled)
            CloseSourceRequest();
        else
            BringDownTo(TwainState::SourceEnabled);
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
    QImage image;
    const bool done =
        Call(Step::NativeTransfer, [&](int&) { return m_manager.nativeTransfer(image); });
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
    if (m_prompter)
        m_prompter->message(loadString(IDS_TWAIN_ERROR_FIRST + error), Prompter::Icon::Error);
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
