// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/mydlg.h"

#include "controls/commandevent.h"

bool CMyDlg::event(QEvent* event)
{
    if (m_forward && forwardToParent(*this, event))
        return true;
    return QDialog::event(event);
}

void CMyDlg::setForwarding(bool forward)
{
    m_forward = forward;
    // Buttons already watched check this before they post their commands.
    setProperty("gvForwarding", forward);
}
