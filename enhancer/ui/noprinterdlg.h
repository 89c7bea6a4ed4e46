// SPDX-License-Identifier: GPL-2.0-or-later
// CNoPrinterDlg: the note shown before printing without the print program, recommending it
// with a link to its page; "Don't show this message again" is remembered on OK.
#pragma once

#include <QDialog>

class CHyperLink;
class QCheckBox;

class CNoPrinterDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CNoPrinterDlg(QWidget* parent = nullptr);

    CHyperLink* Link() const { return m_link; }
    QCheckBox* DontShow() const { return m_dontShow; }
    void accept() override;

private:
    CHyperLink* m_link;
    QCheckBox* m_dontShow;
};
