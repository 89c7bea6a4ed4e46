// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/controllisting.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTextStream>
#include <QWidget>

namespace controllisting
{
namespace
{

// Widgets made of parts of their own (scroll bars, viewports, line edits of a combo box):
// one control to the person using them.
bool isWhole(const QWidget& widget)
{
    return qobject_cast<const QAbstractButton*>(&widget) ||
           qobject_cast<const QAbstractItemView*>(&widget) ||
           qobject_cast<const QAbstractSlider*>(&widget) ||
           qobject_cast<const QAbstractSpinBox*>(&widget) ||
           qobject_cast<const QComboBox*>(&widget) || qobject_cast<const QLineEdit*>(&widget) ||
           qobject_cast<const QTextEdit*>(&widget) || qobject_cast<const QPlainTextEdit*>(&widget);
}

std::vector<QWidget*> visibleChildren(const QWidget& parent)
{
    std::vector<QWidget*> children;
    for (QObject* object : parent.children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child != nullptr && !child->isWindow() && child->isVisible())
            children.push_back(child);
    }
    return children;
}

// Not a control: a label with neither text nor picture (a status line with nothing to say),
// a separator line, an empty plain widget.
bool showsNothing(const QWidget& widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return label->text().isEmpty() && label->pixmap().isNull();
    const QMetaObject* kind = widget.metaObject();
    if (kind == &QFrame::staticMetaObject) {
        const QFrame::Shape shape = static_cast<const QFrame&>(widget).frameShape();
        return shape == QFrame::HLine || shape == QFrame::VLine || shape == QFrame::NoFrame;
    }
    return kind == &QWidget::staticMetaObject;
}

void collect(const QWidget& parent, std::vector<QWidget*>& controls)
{
    for (QWidget* child : visibleChildren(parent)) {
        if (isWhole(*child) || visibleChildren(*child).empty()) {
            if (!showsNothing(*child))
                controls.push_back(child);
        } else {
            collect(*child, controls);
        }
    }
}

QString quoted(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    text.replace(u'\n', QStringLiteral("\\n"));
    return u'"' + text + u'"';
}

} // namespace

std::vector<QWidget*> VisibleControls(const QWidget& root)
{
    std::vector<QWidget*> controls;
    collect(root, controls);
    return controls;
}

QString SpokenName(QWidget& control)
{
    if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&control))
        return accessible->text(QAccessible::Name);
    return control.accessibleName();
}

QString Describe(QWidget& control)
{
    const QPoint origin = control.mapToGlobal(QPoint(0, 0));
    return QStringLiteral("control %1 %2 %3 %4 %5 %6")
        .arg(QString::fromLatin1(control.metaObject()->className()), quoted(SpokenName(control)))
        .arg(origin.x())
        .arg(origin.y())
        .arg(control.width())
        .arg(control.height());
}

bool Wanted()
{
    return qEnvironmentVariableIntValue("GALLIVEX_DEBUG_CONTROLS") == 1;
}

void List(int pageIndex, const QWidget& window, QTextStream& out)
{
    out << "page " << pageIndex << '\n';
    for (QWidget* control : VisibleControls(window))
        out << Describe(*control) << '\n';
    out.flush();
}

} // namespace controllisting
