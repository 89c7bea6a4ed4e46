// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/accessiblenames.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QWidget>

namespace accessiblenames
{
namespace
{

// Marks a name this place gave, so that it may follow the caption; a name a window gave
// itself is only made speakable.
const char* const DerivedProperty = "gvDerivedAccessibleName";


// The text of the label that names control (its buddy), searched a few levels up, as a
// field may sit in a box beside its buttons.
QString buddyCaption(const QWidget& control)
{
    const QWidget* parent = control.parentWidget();
    for (int level = 0; parent != nullptr && level < 3; ++level) {
        for (const QLabel* label : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->buddy() == &control)
                return label->text();
        }
        parent = parent->parentWidget();
    }
    return {};
}

void name(QWidget& control)
{
    const QString current = control.accessibleName();
    const QString next = Derive(control);
    if (next == current)
        return;
    const bool derived = current.isEmpty() || control.property(DerivedProperty).toBool();
    control.setAccessibleName(next);
    control.setProperty(DerivedProperty, derived);
}

class Namer : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A button's caption may change while it is shown (Next becomes Done): its name
        // is checked again whenever it paints.
        const QEvent::Type type = event->type();
        if ((type != QEvent::Show && type != QEvent::Paint) || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (type == QEvent::Show || qobject_cast<QAbstractButton*>(widget))
            name(*widget);
        return false;
    }
};

} // namespace

QString FromCaption(const QString& caption)
{
    QString text = caption;
    // "&&" is a shown ampersand; a single one marks the shortcut key.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    text.replace(u'\n', u' ');
    text = text.trimmed();
    static const QRegularExpression arrows(QStringLiteral("^<+\\s*|\\s*>+$"));
    static const QRegularExpression ellipsis(QStringLiteral("(\\.\\.\\.|\u2026)$"));
    static const QRegularExpression colon(QStringLiteral(":$"));
    text.remove(arrows);
    text.remove(ellipsis);
    text.remove(colon);
    return text.trimmed();
}

QString Derive(const QWidget& control)
{
    if (!control.accessibleName().isEmpty() && !control.property(DerivedProperty).toBool())
        return FromCaption(control.accessibleName());
    // A label is read by its text, which the screen reader follows as it changes.
    if (qobject_cast<const QLabel*>(&control))
        return {};
    const auto* button = qobject_cast<const QAbstractButton*>(&control);
    QString caption = button != nullptr ? button->text() : buddyCaption(control);
    return FromCaption(caption.isEmpty() ? control.toolTip() : caption);
}

void Install()
{
    // One namer for the application's life, however many windows ask for it.
    static QPointer<Namer> installed;
    if (qApp == nullptr || installed)
        return;
    installed = new Namer(qApp);
    qApp->installEventFilter(installed);
}

} // namespace accessiblenames
