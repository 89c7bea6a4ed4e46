// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/sourcemanager.h"

#include <algorithm>

#include <sane/sane.h>
#include <sane/saneopts.h>

#include "platform/saneimage.h"
#include "platform/saneoptions.h"

namespace
{

// SANE is started once however many managers are loaded, and stopped with the last.
int g_sessions = 0;

bool startSession()
{
    if (g_sessions == 0) {
        SANE_Int version = 0;
        if (sane_init(&version, nullptr) != SANE_STATUS_GOOD)
            return false;
    }
    ++g_sessions;
    return true;
}

void endSession()
{
    if (g_sessions > 0 && --g_sessions == 0)
        sane_exit();
}

QString text(SANE_String_Const value)
{
    return value ? QString::fromUtf8(value) : QString();
}

struct HandleCloser {
    void operator()(SANE_Handle handle) const { sane_close(handle); }
};
using DeviceHandle = std::unique_ptr<void, HandleCloser>;

} // namespace

struct SourceManager::Device {
    DeviceHandle handle;
    bool enabled = false;
    bool pageStarted = false;
    bool feeder = false;
    bool empty = false; // the feeder ran out of sheets in this enabling
    int stop = 0;       // the status that ended the pictures early
    int wanted = -1;    // pictures the application takes; -1 all the device has
    int taken = 0;
};

SourceManager::SourceManager() = default;

SourceManager::~SourceManager()
{
    disable();
    closeSource();
    unload();
}

SourceManager::ReturnCode SourceManager::fail(int condition)
{
    m_condition = condition;
    return Failure;
}

SourceManager::ReturnCode SourceManager::load()
{
    if (m_loaded)
        return Success;
    if (!startSession())
        return fail(SANE_STATUS_IO_ERROR);
    m_loaded = true;
    return Success;
}

SourceManager::ReturnCode SourceManager::openManager()
{
    if (!m_loaded)
        return fail(SANE_STATUS_INVAL);
    const SANE_Device** list = nullptr;
    const SANE_Status status = sane_get_devices(&list, SANE_FALSE);
    if (status != SANE_STATUS_GOOD)
        return fail(status);
    m_sources.clear();
    for (; list && *list; ++list) {
        const SANE_Device& device = **list;
        m_sources.push_back(
            {text(device.name), text(device.vendor), text(device.model), text(device.type)});
    }
    return Success;
}

SourceManager::ReturnCode SourceManager::userSelect(const Chooser& chooser, SourceInfo& chosen)
{
    const int index = chooser ? chooser(m_sources) : -1;
    if (index < 0 || index >= static_cast<int>(m_sources.size()))
        return Cancel;
    chosen = m_sources[static_cast<size_t>(index)];
    return Success;
}

SourceManager::ReturnCode SourceManager::openSource(const SourceInfo& source)
{
    if (!m_loaded || m_device)
        return fail(SANE_STATUS_INVAL);
    SANE_Handle handle = nullptr;
    const QByteArray name = source.name.toUtf8();
    const SANE_Status status = sane_open(name.constData(), &handle);
    if (status != SANE_STATUS_GOOD || !handle)
        return fail(status);
    m_device = std::make_unique<Device>();
    m_device->handle.reset(handle);
    return Success;
}

SourceManager::ReturnCode SourceManager::setCapability(Capability capability, int value)
{
    if (!m_device || m_device->enabled)
        return fail(SANE_STATUS_INVAL);
    if (capability == TransferMechanism)
        return value == 0 ? Success : fail(SANE_STATUS_UNSUPPORTED);
    if (capability == TransferCount) {
        m_device->wanted = value == 0 ? -1 : value;
        return value >= -1 ? Success : fail(SANE_STATUS_INVAL);
    }
    SANE_Handle handle = m_device->handle.get();
    const QString choice = sane::feederSource(handle, value != 0);
    if (choice.isEmpty())
        return value == 0 ? Success : fail(SANE_STATUS_UNSUPPORTED);
    const SANE_Status status = sane::setString(handle, SANE_NAME_SCAN_SOURCE, choice);
    if (status != SANE_STATUS_GOOD)
        return fail(status);
    m_device->feeder = value != 0;
    return Success;
}

SourceManager::ReturnCode SourceManager::readChoices(ScanChoices& choices)
{
    if (!m_device || m_device->enabled)
        return fail(SANE_STATUS_INVAL);
    choices = sane::readChoices(m_device->handle.get());
    return Success;
}

SourceManager::ReturnCode SourceManager::applySettings(const ScanSettings& settings)
{
    if (!m_device || m_device->enabled)
        return fail(SANE_STATUS_INVAL);
    const SANE_Status status = sane::applySettings(m_device->handle.get(), settings);
    if (status != SANE_STATUS_GOOD)
        return fail(status);
    m_device->feeder = sane::isFeederSource(settings.source);
    m_device->wanted = -1;
    return Success;
}

SourceManager::ReturnCode SourceManager::enable(bool /*showUserInterface*/)
{
    // The devices have no window of their own here: their settings are the capabilities.
    if (!m_device || m_device->enabled)
        return fail(SANE_STATUS_INVAL);
    m_device->enabled = true;
    m_device->taken = 0;
    m_device->empty = false;
    m_device->stop = 0;
    m_cancel = false;
    return Success;
}

void SourceManager::noteStop(int condition)
{
    if (m_device->stop == 0 && !m_cancel)
        m_device->stop = condition;
}

bool SourceManager::startPage()
{
    m_expected = 0;
    m_received = 0;
    const SANE_Status status =
        m_cancel ? SANE_STATUS_CANCELLED : sane_start(m_device->handle.get());
    m_device->pageStarted = status == SANE_STATUS_GOOD && !m_cancel;
    if (!m_device->pageStarted) {
        m_condition = status == SANE_STATUS_GOOD ? SANE_STATUS_CANCELLED : status;
        m_device->empty = true;
        // A feeder that runs out after its first sheet has simply been emptied; anything
        // else (no sheet at all, a jam, an open cover) is worth telling the user.
        if (!(m_device->feeder && status == SANE_STATUS_NO_DOCS && m_device->taken > 0))
            noteStop(m_condition);
        sane_cancel(m_device->handle.get());
    }
    return m_device->pageStarted;
}

int SourceManager::stopCondition() const
{
    return m_device ? m_device->stop : 0;
}

QString SourceManager::conditionText(int condition)
{
    return text(sane_strstatus(static_cast<SANE_Status>(condition)));
}

int SourceManager::transferPercent() const
{
    const long long expected = m_expected;
    return expected > 0 ? static_cast<int>(std::min(99LL, m_received * 100 / expected)) : 0;
}

SourceManager::ReturnCode SourceManager::transferReady()
{
    if (!m_device || !m_device->enabled)
        return fail(SANE_STATUS_INVAL);
    if (m_device->pageStarted)
        return Success;
    const bool more = m_device->wanted < 0 || m_device->taken < m_device->wanted;
    // Without a feeder the device gives one picture each time it is enabled.
    if (!more || m_device->empty || (!m_device->feeder && m_device->taken > 0)) {
        m_condition = 0; // nothing went wrong: there is simply no picture left
        return Failure;
    }
    return startPage() ? Success : Failure;
}

namespace
{

// Reads one frame to its end; false when the device stops with an error or cancelled is set.
// The cancel is checked between reads so that SANE is only ever called from this thread.
bool readFrame(SANE_Handle handle, QByteArray& data, SANE_Status& status,
               const std::atomic<bool>& cancelled, std::atomic<long long>& received)
{
    SANE_Byte buffer[65536];
    for (;;) {
        if (cancelled) {
            status = SANE_STATUS_CANCELLED;
            return false;
        }
        SANE_Int length = 0;
        status = sane_read(handle, buffer, sizeof buffer, &length);
        if (status == SANE_STATUS_EOF)
            return true;
        if (status != SANE_STATUS_GOOD)
            return false;
        data.append(reinterpret_cast<const char*>(buffer), length);
        received += length;
    }
}

} // namespace

SourceManager::ReturnCode SourceManager::nativeTransfer(QImage& image)
{
    image = QImage();
    if (!m_device || !m_device->pageStarted)
        return fail(SANE_STATUS_INVAL);
    SANE_Handle handle = m_device->handle.get();
    SANE_Parameters parameters{};
    SANE_Status status = sane_get_parameters(handle, &parameters);
    if (status != SANE_STATUS_GOOD)
        return fail(status);
    QByteArray data;
    m_expected = parameters.lines > 0
                     ? static_cast<long long>(parameters.lines) * parameters.bytes_per_line
                     : 0;
    // A picture that breaks off or cannot be read is cancelled, not failed: it still has to
    // be ended, and the next pending picture follows.
    if (!readFrame(handle, data, status, m_cancel, m_received)) {
        m_condition = status;
        noteStop(status);
        // SANE takes no next sheet after an error until the broken one is cancelled.
        sane_cancel(handle);
        return Cancel;
    }
    // Pictures sent colour by colour are not read.
    const bool known = parameters.last_frame && (parameters.format == SANE_FRAME_GRAY ||
                                                 parameters.format == SANE_FRAME_RGB);
    const sane::FrameLayout layout{parameters.format == SANE_FRAME_RGB, parameters.depth,
                                   parameters.bytes_per_line, parameters.pixels_per_line};
    if (known)
        image = sane::imageFromFrame(layout, data);
    if (image.isNull()) {
        m_condition = SANE_STATUS_UNSUPPORTED;
        noteStop(m_condition);
        return Cancel;
    }
    return TransferDone;
}

SourceManager::ReturnCode SourceManager::resetTransfers()
{
    if (!m_device || !m_device->enabled)
        return fail(SANE_STATUS_INVAL);
    if (m_device->pageStarted)
        sane_cancel(m_device->handle.get());
    m_device->pageStarted = false;
    // The application wants no more pictures from this enabling.
    m_device->wanted = m_device->taken;
    return Success;
}

SourceManager::ReturnCode SourceManager::endTransfer(int& pending)
{
    pending = 0;
    if (!m_device || !m_device->pageStarted)
        return fail(SANE_STATUS_INVAL);
    m_device->pageStarted = false;
    ++m_device->taken;
    const bool more = m_device->wanted < 0 || m_device->taken < m_device->wanted;
    // A feeder knows whether a sheet is left only by being started on it.
    if (m_device->feeder && more && startPage()) {
        pending = m_device->wanted < 0 ? -1 : m_device->wanted - m_device->taken;
        return Success;
    }
    sane_cancel(m_device->handle.get());
    return Success;
}

SourceManager::ReturnCode SourceManager::disable()
{
    if (!m_device || !m_device->enabled)
        return fail(SANE_STATUS_INVAL);
    if (m_device->pageStarted)
        sane_cancel(m_device->handle.get());
    m_device->pageStarted = false;
    m_device->enabled = false;
    return Success;
}

SourceManager::ReturnCode SourceManager::closeSource()
{
    if (!m_device)
        return fail(SANE_STATUS_INVAL);
    disable();
    m_device.reset();
    return Success;
}

SourceManager::ReturnCode SourceManager::closeManager()
{
    if (!m_loaded || m_device)
        return fail(SANE_STATUS_INVAL);
    m_sources.clear();
    return Success;
}

void SourceManager::unload()
{
    if (!m_loaded)
        return;
    m_device.reset();
    m_sources.clear();
    m_loaded = false;
    endSession();
}
