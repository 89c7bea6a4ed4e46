// SPDX-License-Identifier: GPL-2.0-or-later
// The event a picture button sends, synchronously, to its parent each time it paints itself
// with the focus. Containers pass it on to their own parent, so that the page that scrolls
// its controls learns which one to bring into view.
#pragma once

#include <QEvent>
#include <QPointer>
#include <QWidget>

class ChildFocusedEvent : public QEvent
{
public:
    static constexpr QEvent::Type Type = QEvent::Type(QEvent::User + 7);

    ChildFocusedEvent(int controlId, QWidget* child)
        : QEvent(Type), m_controlId(controlId), m_child(child)
    {
    }
    int controlId() const { return m_controlId; }
    QWidget* child() const { return m_child; }

private:
    int m_controlId;
    QPointer<QWidget> m_child;
};

// Sends a copy of event to the parent of widget, if it has one; true when it was taken.
bool forwardChildFocused(QWidget& widget, const ChildFocusedEvent& event);
