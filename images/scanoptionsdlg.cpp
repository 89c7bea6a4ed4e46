// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/scanoptionsdlg.h"

#include <cmath>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/stringtable.h"

CScanOptionsDlg::CScanOptionsDlg(const ScanChoices& choices, const ScanSettings& initial,
                                 QWidget* parent)
    : CMyDlg(parent), m_presets(scansetup::presetsFor(choices))
{
    setWindowTitle(loadString(IDS_SCAN_OPTIONS_TITLE));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);

    m_source = addBox(*form, "source", IDS_SCAN_SOURCE, !choices.sources.isEmpty());
    m_source->addItems(choices.sources);
    m_source->setCurrentText(initial.source);
    m_mode = addBox(*form, "mode", IDS_SCAN_MODE, !choices.modes.isEmpty());
    m_mode->addItems(choices.modes);
    m_mode->setCurrentText(initial.mode);
    m_resolution = addBox(*form, "resolution", IDS_SCAN_RESOLUTION, !choices.resolutions.empty());
    for (int dpi : choices.resolutions) {
        m_resolution->addItem(loadString(IDS_SCAN_DPI).arg(dpi), dpi);
        if (dpi == initial.resolution)
            m_resolution->setCurrentIndex(m_resolution->count() - 1);
    }
    // Only the whole area means nothing to choose.
    m_area = addBox(*form, "area", IDS_SCAN_AREA, m_presets.size() > 1);
    for (const scansetup::AreaPreset& preset : m_presets) {
        m_area->addItem(loadString(preset.textId));
        if (std::abs(preset.width - initial.width) < 0.01 &&
            std::abs(preset.height - initial.height) < 0.01)
            m_area->setCurrentIndex(m_area->count() - 1);
    }

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setText(loadString(IDS_SCAN_BUTTON));
    box->button(QDialogButtonBox::Cancel)->setText(loadString(IDS_CANCEL));
    connect(box, &QDialogButtonBox::accepted, this, &CScanOptionsDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &CScanOptionsDlg::reject);
    layout->addWidget(box);
}

QComboBox* CScanOptionsDlg::addBox(QFormLayout& form, const char* name, int labelId, bool wanted)
{
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(name));
    auto* label = new QLabel(loadString(labelId), this);
    label->setBuddy(box);
    form.addRow(label, box);
    label->setVisible(wanted);
    box->setVisible(wanted);
    return box;
}

ScanSettings CScanOptionsDlg::chosen() const
{
    ScanSettings settings;
    settings.source = m_source->currentText();
    settings.mode = m_mode->currentText();
    settings.resolution = m_resolution->currentData().toInt();
    const int area = m_area->currentIndex();
    if (area >= 0 && area < static_cast<int>(m_presets.size())) {
        settings.width = m_presets[static_cast<size_t>(area)].width;
        settings.height = m_presets[static_cast<size_t>(area)].height;
    }
    return settings;
}

std::optional<ScanSettings> CScanOptionsDlg::choose(const ScanChoices& choices,
                                                    const ScanSettings& initial, QWidget* parent)
{
    CScanOptionsDlg dialog(choices, initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}
