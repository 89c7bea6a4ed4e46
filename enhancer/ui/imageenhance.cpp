// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/imageenhance.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

#include "enhancer/imagerecord.h"
#include "enhancer/lumivexstrings.h"
#include "enhancer/ui/previewctrl.h"
#include "enhancer/ui/timinglog.h"

namespace {

constexpr int SliderRange = 100, SliderPage = 10;
// The preview's smallest size: room for a photo and the zoom row.
constexpr int PreviewWidth = 300, PreviewHeight = 260;

const std::array<int, 3> LabelTexts = {IDS_LX_BRIGHTNESS, IDS_LX_CONTRAST, IDS_LX_GAMMA};
const std::array<const char*, 3> SliderNames = {"Brightness", "Contrast", "Gamma correction"};

} // namespace

CImageEnhance::CImageEnhance(const ImageRecord& image, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Image colors enhancement"));
    m_ready = image.HasPixels() && m_settings.Start(image.header, image.Pixels());

    m_preview = new CPreviewCtrl(this);
    m_preview->setMinimumSize(PreviewWidth, PreviewHeight);
    auto* controls = new QVBoxLayout;
    controls->addLayout(BuildSliders());
    m_autoLevel = new QPushButton(this);
    connect(m_autoLevel, &QPushButton::clicked, this, &CImageEnhance::AutoLevelPressed);
    controls->addWidget(m_autoLevel);
    controls->addWidget(BuildChannels());
    controls->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &CImageEnhance::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CImageEnhance::reject);
    controls->addWidget(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_preview, 1);
    layout->addLayout(controls);

    if (m_ready)
        m_preview->SetImage(m_settings.Header(), m_settings.WorkingPixels(), nullptr);
    m_ok->setEnabled(m_ready);
    m_autoLevel->setEnabled(m_ready);
    for (QRadioButton* radio : m_radios)
        radio->setEnabled(m_ready);
    ShowSettings();
}

CImageEnhance::~CImageEnhance()
{
    ImageRecord::FreePacked(m_output);
}

QLayout* CImageEnhance::BuildSliders()
{
    auto* grid = new QGridLayout;
    for (int kind = 0; kind < 3; ++kind) {
        m_labels[kind] = new QLabel(this);
        m_sliders[kind] = new QSlider(Qt::Horizontal, this);
        m_sliders[kind]->setRange(-SliderRange, SliderRange);
        m_sliders[kind]->setPageStep(SliderPage);
        m_sliders[kind]->setAccessibleName(tr(SliderNames[kind]));
        m_sliders[kind]->setMinimumWidth(180);
        m_sliders[kind]->setEnabled(m_ready);
        m_labels[kind]->setBuddy(m_sliders[kind]);
        m_resets[kind] = new QPushButton(tr("Reset"), this);
        m_resets[kind]->setAccessibleName(tr("Reset %1").arg(tr(SliderNames[kind]).toLower()));
        m_resets[kind]->setAutoDefault(false);
        m_resets[kind]->setEnabled(m_ready);
        grid->addWidget(m_labels[kind], kind * 2, 0, 1, 2);
        grid->addWidget(m_sliders[kind], kind * 2 + 1, 0);
        grid->addWidget(m_resets[kind], kind * 2 + 1, 1);
        connect(m_sliders[kind], &QSlider::valueChanged, this,
                [this, kind](int position) { SliderMoved(kind, position); });
        // A dragged slider reports many positions while a large photo takes a moment to map:
        // the moves are gathered and applied once the events so far have been handled.
        connect(m_resets[kind], &QPushButton::clicked, this, [this, kind] { ResetPressed(kind); });
    }
    return grid;
}

QWidget* CImageEnhance::BuildChannels()
{
    auto* group = new QGroupBox(tr("Current channel"), this);
    auto* row = new QHBoxLayout(group);
    // Shown red, green, blue, all; numbered by the byte each one edits.
    const std::array<std::pair<int, QString>, 4> radios = {
        {{2, tr("Red")}, {1, tr("Green")}, {0, tr("Blue")}, {3, tr("All")}}};
    for (const auto& [channel, text] : radios) {
        m_radios[channel] = new QRadioButton(text, group);
        row->addWidget(m_radios[channel]);
        connect(m_radios[channel], &QRadioButton::toggled, this, [this, channel](bool on) {
            if (on)
                ChannelChosen(channel);
        });
    }
    m_radios[3]->setChecked(true);
    return group;
}

void CImageEnhance::SliderMoved(int kind, int position)
{
    const bool queued = m_pendingMoves[0] || m_pendingMoves[1] || m_pendingMoves[2];
    m_pendingMoves[kind] = position;
    if (!queued) {
        TimingLog::Start(QStringLiteral("enhance preview"));
        QTimer::singleShot(0, this, &CImageEnhance::ApplyPendingMoves);
    }
}

void CImageEnhance::ApplyPendingMoves()
{
    bool moved = false;
    for (int kind = 0; kind < 3; ++kind) {
        if (const std::optional<int> position = std::exchange(m_pendingMoves[kind], {})) {
            m_settings.SliderChanged(kind, *position);
            moved = true;
        }
    }
    if (!moved)
        return;
    m_preview->Render();
    ShowSettings();
    TimingLog::End(QStringLiteral("enhance preview"), m_preview);
}

void CImageEnhance::ChannelChosen(int channel)
{
    ApplyPendingMoves();
    m_settings.SelectChannel(channel);
    ShowSettings();
}

void CImageEnhance::ResetPressed(int kind)
{
    ApplyPendingMoves();
    m_settings.Reset(kind);
    m_preview->Render();
    ShowSettings();
}

void CImageEnhance::AutoLevelPressed()
{
    ApplyPendingMoves();
    m_settings.ToggleAutoLevels();
    m_preview->Render();
    ShowSettings();
}

void CImageEnhance::ShowSettings()
{
    for (int kind = 0; kind < 3; ++kind) {
        const int position = m_settings.SliderPosition(kind);
        {
            // Moving the slider to what the settings hold is not a change of the user's.
            const QSignalBlocker quiet(m_sliders[kind]);
            m_sliders[kind]->setValue(position);
        }
        m_labels[kind]->setText(
            loadLumivexString(LabelTexts[kind]).replace(QStringLiteral("%d"),
                                                        QString::number(position)));
    }
    m_autoLevel->setText(loadLumivexString(m_settings.AutoLevelButtonText()));
}

void CImageEnhance::accept()
{
    ApplyPendingMoves();
    TimingLog::Start(QStringLiteral("enhance OK"));
    if (m_ready && m_output == nullptr)
        m_output = m_settings.TakeOutput();
    QDialog::accept();
}

bool CImageEnhance::TakeResult(BITMAPINFOHEADER& header, uint8_t*& packedPixels)
{
    if (result() != QDialog::Accepted || m_output == nullptr)
        return false;
    header = m_settings.Header();
    packedPixels = m_output;
    m_output = nullptr;
    return true;
}
