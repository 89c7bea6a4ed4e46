// SPDX-License-Identifier: GPL-2.0-or-later
// CRotatePP: the custom rotation dialog. The angle is set on the dial or typed, the flips
// are ticked, and the thumbnail shows the outcome. It only chooses the turn; the view turns
// the image afterwards.
#pragma once

#include <QDialog>

#include "enhancer/fixedturns.h"

class CRotateArrow;
class CRotateThumbnail;
class ImageRecord;
class QCheckBox;
class QSpinBox;

class CRotatePP : public QDialog
{
    Q_OBJECT
public:
    // The thumbnail's side in pixels.
    static constexpr int ThumbnailSide = 176;

    CRotatePP(const ImageRecord& image, QWidget* parent);

    // The chosen angle (0 to 359, clockwise) and flips.
    TurnSettings Parameters() const;

    CRotateArrow* Dial() const { return m_dial; }
    CRotateThumbnail* Thumbnail() const { return m_thumbnail; }

private:
    QWidget* BuildRotateGroup();
    QWidget* BuildFlipGroup();
    // Reads the controls, keeps the angle within 0..359, shows it and redraws.
    void ControlsChanged();
    void DialTurned(int angle);

    int m_angle = 0;
    bool m_initialised = false;
    CRotateArrow* m_dial = nullptr;
    CRotateThumbnail* m_thumbnail = nullptr;
    QSpinBox* m_angleEdit = nullptr;
    QCheckBox* m_flipHorizontal = nullptr;
    QCheckBox* m_flipVertical = nullptr;
};
