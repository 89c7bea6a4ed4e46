// SPDX-License-Identifier: GPL-2.0-or-later
// CResizeDlg: asks for the new size of the image, in percent of the current size or in
// pixels, with the aspect ratio locked or free. It only chooses the size; the view scales the
// image afterwards. The arithmetic lives in ResizeMath; the dialog shows and reads it.
#pragma once

#include <QDialog>

#include "enhancer/affinetransform.h"
#include "enhancer/resizemath.h"

class ImageRecord;
class Prompter;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// What the dialog chose: the image goes from the current size to the new one.
struct ResizeParameters {
    int32_t currentWidth = 0, currentHeight = 0;
    int32_t newWidth = 0, newHeight = 0;
    TransformMatrix Matrix() const
    {
        return ScaleMatrix(newWidth, newHeight, currentWidth, currentHeight);
    }
};

class CResizeDlg : public QDialog
{
    Q_OBJECT
public:
    // Messages (a size that cannot be used) go to prompter; the pictures come with the
    // program in programFolder.
    CResizeDlg(const ImageRecord& image, Prompter& prompter, const QString& programFolder,
               QWidget* parent);

    // The chosen size; meaningful after the dialog was accepted.
    ResizeParameters Parameters() const;
    const ResizeMath& Math() const { return m_math; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Build(const QString& programFolder);
    // The picture of the set called name, beside the width or the height.
    QLabel* Picture(const QString& name, const QString& programFolder);
    void WidthEdited(const QString& text);
    void HeightEdited(const QString& text);
    void ModeChosen(int index);
    // Writes the entries and the labels after them from the arithmetic.
    void ShowEntries();
    void ShowLabels();
    QString LabelText(const ResizeMath::Label& label) const;
    static int64_t EntryValue(const QString& text);

    ResizeMath m_math;
    Prompter& m_prompter;
    int m_startMessage = 0;
    bool m_startShown = false;
    QComboBox* m_mode = nullptr;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_height = nullptr;
    QLabel* m_widthLabel = nullptr;
    QLabel* m_heightLabel = nullptr;
    QCheckBox* m_lock = nullptr;
};
