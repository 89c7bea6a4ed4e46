// SPDX-License-Identifier: GPL-2.0-or-later
// CRedEyeDlg: the "Red eye editing" dialog. A copy of the document's picture is edited with
// the red-eye brush in CRedEyeCtrl; sliders set the brush's size, sharpness and eye colour,
// radios choose between adjusting the eye colour and painting a custom colour taken from the
// colour dialog or from the picture. OK hands the edited copy over as one edit.
#pragma once

#include <QDialog>
#include <QPointer>

#include <cstdint>
#include <vector>

#include "enhancer/dib.h"

class Choosers;
class CRedEyeCtrl;
class ImageRecord;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QToolButton;

// The custom colour's swatch: the colour with a thin black outline.
class CColorStatic : public QWidget
{
public:
    explicit CColorStatic(QWidget* parent);
    void SetColour(uint32_t colour);
    uint32_t Colour() const { return m_colour; }
    QSize sizeHint() const override { return {40, 24}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    uint32_t m_colour = 0;
};

class CRedEyeDlg : public QDialog
{
    Q_OBJECT
public:
    CRedEyeDlg(const ImageRecord& image, Choosers& choosers, QWidget* parent);
    ~CRedEyeDlg() override;

    // After OK: the edited picture as a packed buffer the caller then owns, with its header.
    // False when there is none (cancelled, or already taken).
    bool TakeResult(BITMAPINFOHEADER& header, uint8_t*& packedPixels);

    CRedEyeCtrl* Control() const { return m_control; }
    QSlider* SizeSlider() const { return m_size; }
    QSlider* EyeColourSlider() const { return m_eyeColour; }
    QSlider* SharpnessSlider() const { return m_sharpness; }
    QLabel* SizeLabel() const { return m_sizeLabel; }
    QLabel* SharpnessLabel() const { return m_sharpnessLabel; }
    QRadioButton* AutomaticRadio() const { return m_automatic; }
    QRadioButton* CustomRadio() const { return m_custom; }
    CColorStatic* Swatch() const { return m_swatch; }
    QToolButton* PaletteButton() const { return m_palette; }
    QToolButton* PickButton() const { return m_pick; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* TipsButton() const { return m_tipsButton; }
    QDialog* Tips() const { return m_tips; }
    // The working copy the strokes change.
    const uint8_t* Working() const { return m_working.data(); }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* BuildSliders();
    QWidget* BuildColours();
    void SlidersChanged();
    void ColourModeChosen(bool custom);
    void ChoosePaletteColour();
    void ColourPicked(uint32_t colour);
    void RefreshPickButtons();
    void ToggleTips();
    bool KeyEvent(QEvent* event);
    void PaintIcons();

    Choosers& m_choosers;
    BITMAPINFOHEADER m_header;
    std::vector<uint8_t> m_working;
    uint8_t* m_output = nullptr;
    CRedEyeCtrl* m_control = nullptr;
    QSlider* m_size = nullptr;
    QSlider* m_eyeColour = nullptr;
    QSlider* m_sharpness = nullptr;
    QLabel* m_sizeLabel = nullptr;
    QLabel* m_sharpnessLabel = nullptr;
    QRadioButton* m_automatic = nullptr;
    QRadioButton* m_custom = nullptr;
    CColorStatic* m_swatch = nullptr;
    QToolButton* m_palette = nullptr;
    QToolButton* m_pick = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_tipsButton = nullptr;
    QPointer<QDialog> m_tips;
};
