// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/flatscrollbar.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

QString flatScrollBarStyle()
{
    return QStringLiteral(
        "QScrollBar { border: none; background: palette(window); }"
        "QScrollBar:vertical { width: 16px; margin: 16px 0 16px 0; }"
        "QScrollBar:horizontal { height: 16px; margin: 0 16px 0 16px; }"
        "QScrollBar::handle { background: palette(mid); border: none; }"
        "QScrollBar::handle:vertical { min-height: 16px; }"
        "QScrollBar::handle:horizontal { min-width: 16px; }"
        "QScrollBar::add-line, QScrollBar::sub-line { border: none; background: palette(button);"
        " width: 16px; height: 16px; subcontrol-origin: margin; }"
        "QScrollBar::add-line:vertical { subcontrol-position: bottom; }"
        "QScrollBar::sub-line:vertical { subcontrol-position: top; }"
        "QScrollBar::add-line:horizontal { subcontrol-position: right; }"
        "QScrollBar::sub-line:horizontal { subcontrol-position: left; }");
}

void CFlatScrollBar::Attach(QAbstractScrollArea& window, Qt::Orientation bar)
{
    Detach();
    m_window = &window;
    m_bar = bar;
    QScrollBar* scroll =
        bar == Qt::Vertical ? window.verticalScrollBar() : window.horizontalScrollBar();
    m_oldStyle = scroll->styleSheet();
    m_oldPolicy = int(bar == Qt::Vertical ? window.verticalScrollBarPolicy()
                                          : window.horizontalScrollBarPolicy());
    scroll->setStyleSheet(flatScrollBarStyle());
    scroll->setEnabled(true);
    if (bar == Qt::Vertical)
        window.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    else
        window.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void CFlatScrollBar::Detach()
{
    if (!m_window)
        return;
    QScrollBar* scroll =
        m_bar == Qt::Vertical ? m_window->verticalScrollBar() : m_window->horizontalScrollBar();
    scroll->setStyleSheet(m_oldStyle);
    const auto policy = Qt::ScrollBarPolicy(m_oldPolicy);
    if (m_bar == Qt::Vertical)
        m_window->setVerticalScrollBarPolicy(policy);
    else
        m_window->setHorizontalScrollBarPolicy(policy);
    m_window.clear();
}
