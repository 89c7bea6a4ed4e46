// SPDX-License-Identifier: GPL-2.0-or-later
// SourceManager: the scanner and camera services the acquisition code drives, step by step:
// load the services, open them (which finds the devices), let the user select one, open it,
// set its capabilities, enable it, and take its pictures one by one until none is pending.
// Backed by SANE; the steps answer with the return codes the acquisition state rules use.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include <QImage>
#include <QString>

#include "platform/scanoptions.h"

// One device as the services list it.
struct SourceInfo {
    QString name; // what opens it
    QString vendor;
    QString model;
    QString type;
};

class SourceManager
{
public:
    enum ReturnCode { Success = 0, Failure = 1, Cancel = 3, TransferDone = 6 };
    // Capabilities, numbered as acquisition software numbers them.
    enum Capability {
        TransferCount = 0x0001,     // how many pictures the application takes; -1 all
        TransferMechanism = 0x0103, // only the native transfer (0) exists here
        FeederEnabled = 0x1002,     // take pictures from the document feeder
    };
    // Shows the devices and returns the index of the chosen one, or -1.
    using Chooser = std::function<int(const std::vector<SourceInfo>&)>;

    SourceManager();
    ~SourceManager();
    SourceManager(const SourceManager&) = delete;
    SourceManager& operator=(const SourceManager&) = delete;

    ReturnCode load();
    ReturnCode openManager();
    const std::vector<SourceInfo>& sources() const { return m_sources; }
    // Success with chosen set, or Cancel when the user chose nothing.
    ReturnCode userSelect(const Chooser& chooser, SourceInfo& chosen);
    ReturnCode openSource(const SourceInfo& source);
    ReturnCode setCapability(Capability capability, int value);
    // The device's main settings and their current values; only while it is open, not enabled.
    ReturnCode readChoices(ScanChoices& choices);
    // Sets them; a source that names a feeder makes every sheet it holds a picture.
    ReturnCode applySettings(const ScanSettings& settings);
    ReturnCode enable(bool showUserInterface);
    // Success when a picture is ready to be taken; Failure when the device has none.
    ReturnCode transferReady();
    // TransferDone with the picture, or Cancel/Failure without one.
    ReturnCode nativeTransfer(QImage& image);
    // Ends the current picture; pending is the number still to come (-1: some, count unknown).
    ReturnCode endTransfer(int& pending);
    // Drops the pictures still pending.
    ReturnCode resetTransfers();
    ReturnCode disable();
    ReturnCode closeSource();
    ReturnCode closeManager();
    void unload();

    // The library's own status of the last failure, as a condition code.
    int conditionCode() const { return m_condition; }
    // Why the pictures of this enabling ended early (a sheet that could not be started or
    // read); 0 when they ended as expected or the user cancelled.
    int stopCondition() const;
    // The library's text for a condition code ("Document feeder out of documents").
    static QString conditionText(int condition);

    // Starting and reading a picture may block for seconds, so callers run them on a worker
    // thread; these two may be called from any thread meanwhile.
    // How much of the current picture has arrived, 0 to 100 (0 while its size is unknown).
    int transferPercent() const;
    // Stops the picture under way as soon as the device answers; nothing half-read is kept and
    // no further sheet is started until the device is enabled again.
    void requestCancel() { m_cancel = true; }

private:
    struct Device;
    ReturnCode fail(int condition);
    bool startPage();
    void noteStop(int condition);

    bool m_loaded = false;
    std::vector<SourceInfo> m_sources;
    std::unique_ptr<Device> m_device;
    int m_condition = 0;
    std::atomic<bool> m_cancel{false};
    std::atomic<long long> m_expected{0}; // bytes of the current picture; 0 when unknown
    std::atomic<long long> m_received{0};
};
