// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/scansetup.h"

#include <algorithm>

#include <QUrl>

#include "platform/settings.h"
#include "platform/stringtable.h"

namespace scansetup
{

namespace
{

// A device whose area is a hair smaller than the paper still takes it.
constexpr double Slack = 1.0;

const std::vector<AreaPreset>& allPresets()
{
    static const std::vector<AreaPreset> presets = {
        {QStringLiteral("Whole"), IDS_SCAN_AREA_WHOLE, 0, 0},
        {QStringLiteral("A4"), IDS_SCAN_AREA_A4, 210, 297},
        {QStringLiteral("Letter"), IDS_SCAN_AREA_LETTER, 215.9, 279.4},
        {QStringLiteral("A5"), IDS_SCAN_AREA_A5, 148, 210},
        {QStringLiteral("Photo"), IDS_SCAN_AREA_PHOTO, 100, 150},
    };
    return presets;
}

} // namespace

std::vector<AreaPreset> presetsFor(const ScanChoices& choices)
{
    std::vector<AreaPreset> fitting;
    for (const AreaPreset& preset : allPresets()) {
        const bool whole = preset.width <= 0;
        // Without a choosable area only the whole of it can be scanned.
        if (whole || (preset.width <= choices.maxWidth + Slack &&
                      preset.height <= choices.maxHeight + Slack))
            fitting.push_back(preset);
    }
    return fitting;
}

AreaPreset presetByKey(const std::vector<AreaPreset>& presets, const QString& key)
{
    for (const AreaPreset& preset : presets)
        if (preset.key == key)
            return preset;
    return allPresets().front();
}

QString section(const QString& device)
{
    return QStringLiteral("Scanners/") + QString::fromLatin1(QUrl::toPercentEncoding(device));
}

ScanSettings load(const Settings& settings, const QString& device, const ScanChoices& choices)
{
    const QString group = section(device);
    ScanSettings chosen;
    const QString source = settings.getString(group, QStringLiteral("Source"));
    chosen.source = choices.sources.contains(source) ? source : choices.source;
    const QString mode = settings.getString(group, QStringLiteral("Mode"));
    chosen.mode = choices.modes.contains(mode) ? mode : choices.mode;
    const int resolution = settings.getInt(group, QStringLiteral("Resolution"), 0);
    const auto& offered = choices.resolutions;
    chosen.resolution = std::find(offered.begin(), offered.end(), resolution) != offered.end()
                            ? resolution
                            : choices.resolution;
    const AreaPreset area =
        presetByKey(presetsFor(choices), settings.getString(group, QStringLiteral("Area")));
    chosen.width = area.width;
    chosen.height = area.height;
    return chosen;
}

void save(Settings& settings, const QString& device, const ScanSettings& chosen)
{
    const QString group = section(device);
    settings.writeString(group, QStringLiteral("Source"), chosen.source);
    settings.writeString(group, QStringLiteral("Mode"), chosen.mode);
    settings.writeInt(group, QStringLiteral("Resolution"), chosen.resolution);
    QString area = allPresets().front().key;
    for (const AreaPreset& preset : allPresets())
        if (qFuzzyCompare(preset.width + 1, chosen.width + 1) &&
            qFuzzyCompare(preset.height + 1, chosen.height + 1))
            area = preset.key;
    settings.writeString(group, QStringLiteral("Area"), area);
}

} // namespace scansetup
