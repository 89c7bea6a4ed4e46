// SPDX-License-Identifier: GPL-2.0-or-later
// CExifInfo: the dialog in which the user picks the EXIF fields copied into titles and
// descriptions, edits the captions written before them, and chooses between adding and
// replacing and between all and the selected images. The rules live in exiffields.h.
#pragma once

#include <array>

#include "controls/mydlg.h"
#include "images/exiffields.h"

class QCheckBox;
class QGridLayout;
class QVBoxLayout;
class QLineEdit;
class QRadioButton;

class CExifInfo : public CMyDlg
{
    Q_OBJECT
public:
    // Shows captions and the toggle states stored in "Exif Dialog".
    explicit CExifInfo(const exiffields::Texts& captions, QWidget* parent = nullptr);

    // What the dialog shows now; read back after OK.
    exiffields::Choice choice() const;
    exiffields::Texts captions() const;

public Q_SLOTS:
    // Stores every toggle's state before closing.
    void accept() override;

private:
    void buildRows(QGridLayout* grid);
    void buildAllButtons(QGridLayout* grid, int row);
    void buildOptions(QVBoxLayout* layout);
    void showChoice(const exiffields::Choice& choice);
    void setColumn(bool description, bool checked);

    std::array<QLineEdit*, exiffields::RowCount> m_captions{};
    std::array<QCheckBox*, exiffields::RowCount> m_toDescription{};
    std::array<QCheckBox*, exiffields::RowCount> m_toTitle{};
    QRadioButton* m_add = nullptr;
    QRadioButton* m_replace = nullptr;
    QCheckBox* m_applyToAll = nullptr;
};
