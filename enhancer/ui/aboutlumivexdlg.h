// SPDX-License-Identifier: GPL-2.0-or-later
// CAboutLumivexDlg: the editor's about box: its icon, name and version, a link to the
// maker's web site and OK.
#pragma once

#include <QDialog>

#include "controls/hyperlink.h"

class Prompter;
class QPushButton;

class CAboutLumivexDlg : public QDialog
{
    Q_OBJECT
public:
    // A link that cannot be opened is told through prompter.
    CAboutLumivexDlg(Prompter& prompter, QWidget* parent = nullptr);

    CHyperLink* Link() const { return m_link; }
    QPushButton* OkButton() const { return m_ok; }

private:
    CHyperLink* m_link = nullptr;
    QPushButton* m_ok = nullptr;
};
