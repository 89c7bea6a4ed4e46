// SPDX-License-Identifier: GPL-2.0-or-later
// CSourceListDlg: the list of scanners and cameras the user picks one from before acquiring.
#pragma once

#include <vector>

#include "controls/mydlg.h"
#include "platform/sourcemanager.h"

class QListWidget;

class CSourceListDlg : public CMyDlg
{
    Q_OBJECT
public:
    explicit CSourceListDlg(const std::vector<SourceInfo>& sources, QWidget* parent = nullptr);

    // The chosen row, or -1.
    int chosen() const;
    // Shows the list modally; the chosen index, or -1 when cancelled or nothing is listed.
    static int choose(const std::vector<SourceInfo>& sources, QWidget* parent);
    // How a device is named in the list.
    static QString label(const SourceInfo& source);

private:
    QListWidget* m_list = nullptr;
    bool m_empty = true;
};
