// SPDX-License-Identifier: GPL-2.0-or-later
// CFlatScrollBar: gives a scrolling window flat scroll bars of 16 pixels with both arrows,
// showing the chosen one, and gives the window its old look back when detached.
#pragma once

#include <QPointer>
#include <QString>

class QAbstractScrollArea;

// The style of a flat bar: no bevels, 16-pixel thumb and arrows.
QString flatScrollBarStyle();

class CFlatScrollBar
{
public:
    CFlatScrollBar() = default;
    ~CFlatScrollBar() { Detach(); }
    CFlatScrollBar(const CFlatScrollBar&) = delete;
    CFlatScrollBar& operator=(const CFlatScrollBar&) = delete;

    void Attach(QAbstractScrollArea& window, Qt::Orientation bar);
    void Detach();
    bool isAttached() const { return !m_window.isNull(); }

private:
    QPointer<QAbstractScrollArea> m_window;
    Qt::Orientation m_bar = Qt::Vertical;
    QString m_oldStyle;
    int m_oldPolicy = 0;
};
