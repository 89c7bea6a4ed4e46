// SPDX-License-Identifier: GPL-2.0-or-later
// The rules behind the scan settings dialog: the scan areas a device can take, and the
// settings remembered for each device, checked against what the device offers today.
#pragma once

#include <vector>

#include <QString>

#include "platform/scanoptions.h"

class Settings;

namespace scansetup
{

// A named scan area from the top left corner; 0 x 0 is the device's whole area.
struct AreaPreset {
    QString key; // as remembered in the settings
    int textId;  // as shown
    double width;
    double height;
};

// The whole area first, then the paper sizes the device's area holds.
std::vector<AreaPreset> presetsFor(const ScanChoices& choices);
// The preset of that key among presets; the whole area when there is none.
AreaPreset presetByKey(const std::vector<AreaPreset>& presets, const QString& key);

// The settings remembered for device where the device still offers them, else its own.
ScanSettings load(const Settings& settings, const QString& device, const ScanChoices& choices);
void save(Settings& settings, const QString& device, const ScanSettings& chosen);
// The settings section of a device: its name can hold '/' and ':' (net and USB devices).
QString section(const QString& device);

} // namespace scansetup
