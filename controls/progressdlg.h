// SPDX-License-Identifier: GPL-2.0-or-later
// CProgressDlg: the modeless window every long operation shows (saving, generating,
// transferring): a status text, the percentage bar and a Cancel button. The operation runs on
// the user-interface thread and keeps the window alive through pump(); Cancel, Esc or closing
// the window hide it and set the cancelled flag, which the operation sees at its next report.
#pragma once

#include <cstdint>

#include <QDialog>
#include <QImage>
#include <QString>

#include "album/progress.h"

class QLabel;
class QPushButton;
class CMyProgressCtl;

class CProgressDlg : public QDialog, public Progress {
public:
    // The bar's fill colour, R 255, G 153, B 51.
    static constexpr int32_t BarColor = 3381759;
    // The bar on a dark background: white percentages stay readable on it.
    static constexpr int32_t DarkBarColor = 4745278; // R 62, G 104, B 72
    // cancelPicture is the Cancel button's two-state skin strip (a null image shows the text
    // "Cancel"); background is the skin background colour, a COLORREF.
    CProgressDlg(const QImage& cancelPicture, int32_t background, QWidget* parent = nullptr);
    ~CProgressDlg() override;

    // Progress: the title, the bar's position, the status text, and the pump that lets the
    // window paint and the Cancel button work; it answers whether the user cancelled.
    void setTitle(const QString& title) override;
    void setPosition(int percent) override;
    void setText(const QString& text) override;
    bool pump() override;

    bool IsCancelled() const { return m_cancelled; }
    QString StatusText() const;
    CMyProgressCtl& Bar() { return *m_bar; }
    QPushButton& CancelButton() { return *m_cancel; }

    // Cancel, Esc and closing the window all come here.
    void reject() override;

private:
    QLabel* m_status;
    CMyProgressCtl* m_bar;
    QPushButton* m_cancel;
    bool m_cancelled = false;
};
