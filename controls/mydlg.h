// SPDX-License-Identifier: GPL-2.0-or-later
// CMyDlg: a dialog that, when asked, passes its buttons' commands, its key releases and the
// focus reports of its picture buttons up to its parent window.
#pragma once

#include <QDialog>

class CMyDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CMyDlg(QWidget* parent = nullptr) : QDialog(parent) {}
    void setForwarding(bool forward);
    bool forwarding() const { return m_forward; }

protected:
    bool event(QEvent* event) override;

private:
    bool m_forward = false;
};
