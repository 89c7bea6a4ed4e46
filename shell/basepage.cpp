// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/basepage.h"

#include <algorithm>

#include <QResizeEvent>
#include <QShortcut>

#include "shell/pageaccelerators.h"

CBasePage::CBasePage(int pageIndex, QWidget* parent) : QWidget(parent), m_pageIndex(pageIndex)
{
    setMinimumSize(Width, Height);
    resize(Width, Height);
    // No background of its own: the sheet paints the step picture behind the page.
    setAutoFillBackground(false);
    setAttribute(Qt::WA_NoSystemBackground);
}

void CBasePage::InitialiseOnce()
{
    if (m_initialised)
        return;
    m_initialised = true;
    OnInitDialog();
    PlaceControls();
}

void CBasePage::InstallAccelerators(int tableId)
{
    for (const Accelerator& accelerator : acceleratorTable(tableId)) {
        auto* shortcut = new QShortcut(QKeySequence(accelerator.key), this);
        // Wherever the focus is in the wizard, the keys of the page shown work; hidden pages'
        // shortcuts do not, as a shortcut of an invisible widget never matches.
        shortcut->setContext(Qt::WindowShortcut);
        const int command = accelerator.command;
        connect(shortcut, &QShortcut::activated, this, [this, command] { OnCommand(command); });
    }
}

bool CBasePage::OnCommand(int)
{
    return false;
}

QSize CBasePage::Extra() const
{
    return QSize(std::max(0, width() - Width), std::max(0, height() - Height));
}

void CBasePage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Before its first showing the page is placed by InitialiseOnce.
    if (m_initialised)
        PlaceControls();
}
