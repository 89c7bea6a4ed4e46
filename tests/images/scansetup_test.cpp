// SPDX-License-Identifier: GPL-2.0-or-later
// The scan settings: the areas a device takes, what is remembered per device, and the dialog.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "images/scanoptionsdlg.h"
#include "images/scansetup.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "tests/support/testenv.h"

namespace
{

ScanChoices scanner(double width, double height)
{
    ScanChoices choices;
    choices.sources = {"Flatbed", "ADF Front", "ADF Duplex"};
    choices.source = "Flatbed";
    choices.modes = {"Lineart", "Gray", "Color"};
    choices.mode = "Color";
    choices.resolutions = {75, 150, 300, 600};
    choices.resolution = 150;
    choices.maxWidth = width;
    choices.maxHeight = height;
    return choices;
}

QStringList keys(const std::vector<scansetup::AreaPreset>& presets)
{
    QStringList found;
    for (const auto& preset : presets)
        found << preset.key;
    return found;
}

TEST(ScanSetupTest, OnlyTheAreasTheGlassHoldsAreOffered)
{
    // An A4 flatbed a little short of Letter's width still takes it.
    EXPECT_EQ(keys(scansetup::presetsFor(scanner(215.5, 297.0))),
              (QStringList{"Whole", "A4", "Letter", "A5", "Photo"}));
    EXPECT_EQ(keys(scansetup::presetsFor(scanner(200.0, 200.0))), (QStringList{"Whole", "Photo"}));
    // A device without a choosable area scans what it scans.
    EXPECT_EQ(keys(scansetup::presetsFor(scanner(0, 0))), QStringList{"Whole"});
    EXPECT_EQ(scansetup::presetByKey(scansetup::presetsFor(scanner(0, 0)), "A4").key, "Whole");
}

TEST(ScanSetupTest, EachDeviceRemembersItsOwnSettings)
{
    SettingsSandbox sandbox;
    Settings settings;
    const ScanChoices choices = scanner(216.0, 356.0);
    // Before any choice: what the device is set to, over its whole area.
    ScanSettings first = scansetup::load(settings, "epson2:net:10.0.0.5", choices);
    EXPECT_EQ(first.source, "Flatbed");
    EXPECT_EQ(first.mode, "Color");
    EXPECT_EQ(first.resolution, 150);
    EXPECT_EQ(first.width, 0);

    scansetup::save(settings, "epson2:net:10.0.0.5", {"ADF Duplex", "Gray", 300, 210, 297});
    scansetup::save(settings, "hpaio:/usb/Officejet?serial=CN1",
                    {"Flatbed", "Lineart", 600, 215.9, 279.4});
    const ScanSettings net = scansetup::load(settings, "epson2:net:10.0.0.5", choices);
    EXPECT_EQ(net.source, "ADF Duplex");
    EXPECT_EQ(net.mode, "Gray");
    EXPECT_EQ(net.resolution, 300);
    EXPECT_DOUBLE_EQ(net.width, 210);
    EXPECT_DOUBLE_EQ(net.height, 297);
    // A name with slashes is one device, not a tree of settings.
    const ScanSettings usb = scansetup::load(settings, "hpaio:/usb/Officejet?serial=CN1", choices);
    EXPECT_EQ(usb.mode, "Lineart");
    EXPECT_DOUBLE_EQ(usb.width, 215.9);
    EXPECT_EQ(scansetup::section("hpaio:/usb/Officejet?serial=CN1").count('/'), 1);
}

TEST(ScanSetupTest, WhatTheDeviceNoLongerOffersFallsBackToItsOwnValue)
{
    SettingsSandbox sandbox;
    Settings settings;
    scansetup::save(settings, "test:0", {"ADF Duplex", "Halftone", 1200, 210, 297});
    // The same device with its feeder removed, fewer modes and a smaller glass.
    ScanChoices smaller = scanner(200.0, 200.0);
    smaller.sources = {"Flatbed"};
    const ScanSettings loaded = scansetup::load(settings, "test:0", smaller);
    EXPECT_EQ(loaded.source, "Flatbed");
    EXPECT_EQ(loaded.mode, "Color");
    EXPECT_EQ(loaded.resolution, 150);
    EXPECT_EQ(loaded.width, 0);
    EXPECT_EQ(loaded.height, 0);
}

TEST(ScanOptionsDialogTest, ShowsWhatTheDeviceHasAndReturnsTheChoice)
{
    const ScanChoices choices = scanner(216.0, 297.0);
    CScanOptionsDlg dialog(choices, {"ADF Front", "Gray", 300, 210, 297});
    auto* source = dialog.findChild<QComboBox*>("source");
    auto* mode = dialog.findChild<QComboBox*>("mode");
    auto* resolution = dialog.findChild<QComboBox*>("resolution");
    auto* area = dialog.findChild<QComboBox*>("area");
    ASSERT_TRUE(source && mode && resolution && area);
    EXPECT_EQ(source->currentText(), "ADF Front");
    EXPECT_EQ(mode->currentText(), "Gray");
    EXPECT_EQ(resolution->currentText(), "300 dpi");
    EXPECT_EQ(area->currentText(), "A4 (210 x 297 mm)");
    EXPECT_EQ(area->count(), 5);
    source->setCurrentText("ADF Duplex");
    mode->setCurrentText("Lineart");
    resolution->setCurrentIndex(resolution->findText("600 dpi"));
    area->setCurrentIndex(area->findText(loadString(IDS_SCAN_AREA_WHOLE)));
    const ScanSettings chosen = dialog.chosen();
    EXPECT_EQ(chosen.source, "ADF Duplex");
    EXPECT_EQ(chosen.mode, "Lineart");
    EXPECT_EQ(chosen.resolution, 600);
    EXPECT_EQ(chosen.width, 0);
    EXPECT_EQ(chosen.height, 0);
}

TEST(ScanOptionsDialogTest, SettingsADeviceLacksAreNotShown)
{
    // A camera: no source, no modes, a fixed area.
    ScanChoices camera;
    camera.resolutions = {72};
    camera.resolution = 72;
    CScanOptionsDlg dialog(camera, {{}, {}, 72, 0, 0});
    dialog.show();
    EXPECT_FALSE(dialog.findChild<QComboBox*>("source")->isVisible());
    EXPECT_FALSE(dialog.findChild<QComboBox*>("mode")->isVisible());
    EXPECT_FALSE(dialog.findChild<QComboBox*>("area")->isVisible());
    EXPECT_TRUE(dialog.findChild<QComboBox*>("resolution")->isVisible());
    const ScanSettings chosen = dialog.chosen();
    EXPECT_TRUE(chosen.source.isEmpty());
    EXPECT_TRUE(chosen.mode.isEmpty());
    EXPECT_EQ(chosen.resolution, 72);
}

} // namespace
