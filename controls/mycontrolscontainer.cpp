// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/mycontrolscontainer.h"

#include "controls/commandevent.h"

CMyControlsContainer::CMyControlsContainer(QWidget* parent) : QWidget(parent)
{
    // Always forwarding: the buttons it watches check this before posting.
    setProperty("gvForwarding", true);
}

bool CMyControlsContainer::event(QEvent* event)
{
    if (forwardToParent(*this, event))
        return true;
    return QWidget::event(event);
}
