// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/commandevent.h"

#include <QAbstractButton>
#include <QApplication>
#include <QChildEvent>
#include <QKeyEvent>
#include <QVariant>

#include "controls/childfocusedevent.h"
#include "controls/imagebutton.h"

int controlIdOf(const QObject& child)
{
    if (const auto* button = qobject_cast<const CImageButton*>(&child))
        return button->controlId();
    return child.property("controlId").toInt();
}

namespace
{

const char* const ForwardingProperty = "gvForwarding";

void watchButton(QWidget& window, QObject* child)
{
    auto* button = qobject_cast<QAbstractButton*>(child);
    // Connected once: the property marks buttons already watched.
    if (button == nullptr || button->property("gvForwarded").toBool())
        return;
    button->setProperty("gvForwarded", true);
    QObject::connect(button, &QAbstractButton::clicked, &window, [&window, button] {
        // The window may have stopped forwarding since the button was watched.
        if (!window.property(ForwardingProperty).toBool())
            return;
        if (QWidget* parent = window.parentWidget())
            QCoreApplication::postEvent(parent, new CommandEvent(controlIdOf(*button)));
    });
}

} // namespace

bool forwardToParent(QWidget& window, QEvent* event)
{
    QWidget* parent = window.parentWidget();
    switch (int(event->type())) {
    case QEvent::ChildPolished:
        watchButton(window, static_cast<QChildEvent*>(event)->child());
        return false; // the window still polishes its child as usual
    case ChildFocusedEvent::Type:
        forwardChildFocused(window, *static_cast<ChildFocusedEvent*>(event));
        return true;
    case QEvent::KeyRelease:
        if (parent != nullptr) {
            const auto* key = static_cast<QKeyEvent*>(event);
            QCoreApplication::postEvent(parent, new QKeyEvent(QEvent::KeyRelease, key->key(),
                                                              key->modifiers(), key->text()));
        }
        return true; // handed on once; letting it propagate as well would deliver it twice
    default:
        return false;
    }
}
