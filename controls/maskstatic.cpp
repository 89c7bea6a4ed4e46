// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/maskstatic.h"

void CMaskStatic::focusInEvent(QFocusEvent* event)
{
    QLabel::focusInEvent(event);
    if (m_buddy)
        m_buddy->setFocus(Qt::OtherFocusReason);
}
