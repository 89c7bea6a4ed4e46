// SPDX-License-Identifier: GPL-2.0-or-later
// CSharpenDlg: sharpens or softens the image by an amount from -40 % to 100 % on a slider,
// with a live preview of the visible part. OK hands over the whole image blended at the
// chosen amount; Cancel leaves the document as it was.
#pragma once

#include <memory>

#include <QDialog>

#include "enhancer/dib.h"

class CPreviewCtrl;
class CSharpenOperation;
class ImageRecord;
class QLabel;
class QSlider;

class CSharpenDlg : public QDialog
{
    Q_OBJECT
public:
    // The preview's size at the start, in pixels.
    static constexpr int PreviewWidth = 464;
    static constexpr int PreviewHeight = 292;

    // operation belongs to the caller and lives as long as the dialog; when the caller has
    // not prepared it (made the sharpened copy), the dialog does.
    CSharpenDlg(const ImageRecord& image, CSharpenOperation& operation, QWidget* parent);
    ~CSharpenDlg() override;

    // After OK: the whole image at the chosen amount, as a packed buffer the caller then owns
    // (ImageRecord::FreePacked). False when there is none (stopped through progress, memory
    // short); header and packedPixels are then untouched.
    bool TakeResult(BITMAPINFOHEADER& header, uint8_t*& packedPixels,
                    const ProgressCallback* progress = nullptr);

    int Amount() const;
    QSlider* Slider() const { return m_slider; }
    QLabel* AmountLabel() const { return m_amountLabel; }
    CPreviewCtrl* Preview() const { return m_preview; }

private:
    void SliderMoved(int position);
    void ShowAmount();

    const ImageRecord& m_image;
    CSharpenOperation& m_operation;
    std::unique_ptr<uint8_t[]> m_working; // what the preview shows
    CPreviewCtrl* m_preview = nullptr;
    QSlider* m_slider = nullptr;
    QLabel* m_amountLabel = nullptr;
};
