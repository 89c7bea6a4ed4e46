// SPDX-License-Identifier: GPL-2.0-or-later
// CScanOptionsDlg: the device's main settings before a scan: where the sheets come from (the
// glass or the document feeder), the colour mode, the resolution and the area scanned. A
// setting the device does not have is not shown.
#pragma once

#include <optional>
#include <vector>

#include "controls/mydlg.h"
#include "images/scansetup.h"

class QComboBox;
class QFormLayout;

class CScanOptionsDlg : public CMyDlg
{
    Q_OBJECT
public:
    CScanOptionsDlg(const ScanChoices& choices, const ScanSettings& initial,
                    QWidget* parent = nullptr);

    // What the boxes show now.
    ScanSettings chosen() const;
    // Shows the dialog modally; the choice, or nothing when cancelled.
    static std::optional<ScanSettings> choose(const ScanChoices& choices,
                                              const ScanSettings& initial, QWidget* parent);

private:
    QComboBox* addBox(QFormLayout& form, const char* name, int labelId, bool wanted);

    std::vector<scansetup::AreaPreset> m_presets;
    QComboBox* m_source = nullptr;
    QComboBox* m_mode = nullptr;
    QComboBox* m_resolution = nullptr;
    QComboBox* m_area = nullptr;
};
