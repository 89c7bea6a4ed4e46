// SPDX-License-Identifier: GPL-2.0-or-later
// CImageEnhance: the "Image colors enhancement" dialog. Brightness, contrast and gamma sliders
// per channel or for all three, Reset buttons, automatic levels and a live preview. All the
// bookkeeping is EnhanceSettings'; the dialog forwards its controls there and shows the result.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <optional>

#include "enhancer/dib.h"
#include "enhancer/enhancesettings.h"

class ImageRecord;
class CPreviewCtrl;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

class CImageEnhance : public QDialog
{
    Q_OBJECT
public:
    CImageEnhance(const ImageRecord& image, QWidget* parent);
    ~CImageEnhance() override;

    // After OK: the adjusted picture as a packed buffer the caller then owns, with its header.
    // False when there is none (cancelled, or already taken).
    bool TakeResult(BITMAPINFOHEADER& header, uint8_t*& packedPixels);

    // The controls, for the keyboard and for tests that press them.
    QSlider* Slider(int kind) const { return m_sliders[kind]; }
    QLabel* Label(int kind) const { return m_labels[kind]; }
    QPushButton* ResetButton(int kind) const { return m_resets[kind]; }
    QPushButton* AutoLevelButton() const { return m_autoLevel; }
    // Radios by channel: 0 blue, 1 green, 2 red, 3 all.
    QRadioButton* ChannelRadio(int channel) const { return m_radios[channel]; }
    CPreviewCtrl* Preview() const { return m_preview; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    const EnhanceSettings& Settings() const { return m_settings; }

    void accept() override;

private:
    QLayout* BuildSliders();
    QWidget* BuildChannels();
    void SliderMoved(int kind, int position);
    // Applies the slider moves that arrived since the last pass: only the latest of each.
    void ApplyPendingMoves();
    void ChannelChosen(int channel);
    void ResetPressed(int kind);
    void AutoLevelPressed();
    // Sliders, labels and the automatic levels button from the settings.
    void ShowSettings();

    EnhanceSettings m_settings;
    bool m_ready = false;
    uint8_t* m_output = nullptr;
    CPreviewCtrl* m_preview = nullptr;
    std::array<std::optional<int>, 3> m_pendingMoves{};
    std::array<QSlider*, 3> m_sliders{};
    std::array<QLabel*, 3> m_labels{};
    std::array<QPushButton*, 3> m_resets{};
    std::array<QRadioButton*, 4> m_radios{};
    QPushButton* m_autoLevel = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
