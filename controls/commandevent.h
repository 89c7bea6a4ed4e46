// SPDX-License-Identifier: GPL-2.0-or-later
// The event a forwarding window posts to its parent when one of its buttons is clicked, so
// that the page that owns a nested dialog or container handles the command itself.
#pragma once

#include <QEvent>

class CommandEvent : public QEvent
{
public:
    static constexpr QEvent::Type Type = QEvent::Type(QEvent::User + 8);

    explicit CommandEvent(int controlId) : QEvent(Type), m_controlId(controlId) {}
    int controlId() const { return m_controlId; }

private:
    int m_controlId;
};

class QObject;
class QWidget;

// The control id of a child: a picture button's own, else its "controlId" property, else 0.
int controlIdOf(const QObject& child);
// For forwarding windows: posts clicks of child buttons as CommandEvents to the window's
// parent, passes ChildFocusedEvents on to it synchronously and posts key releases to it.
// Child clicks are posted only while the window's "gvForwarding" property is true. Returns
// true when event was one it handled.
bool forwardToParent(QWidget& window, QEvent* event);
