// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/rotatearrow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "enhancer/rotationdial.h"

namespace
{

QPoint ToQt(RotationDial::Point point)
{
    return {point.x, point.y};
}

} // namespace

CRotateArrow::CRotateArrow(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Pointer"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CRotateArrow::Bind(int* angle)
{
    m_angle = angle;
    update();
}

void CRotateArrow::paintEvent(QPaintEvent*)
{
    const RotationDial dial(width(), height());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    painter.setPen(colours.color(QPalette::Button));
    painter.setBrush(colours.brush(QPalette::Button));
    painter.drawEllipse(QRect(dial.Left(), dial.Top(), dial.Side(), dial.Side()));

    painter.setPen(QPen(colours.color(QPalette::ButtonText), 1));
    for (const RotationDial::Line& tick : dial.Ticks())
        painter.drawLine(ToQt(tick.from), ToQt(tick.to));
    for (const RotationDial::Line& mark : dial.Marks())
        painter.drawLine(ToQt(mark.from), ToQt(mark.to));
    if (m_angle == nullptr)
        return;

    QPolygon needle;
    for (RotationDial::Point point : dial.Needle(*m_angle))
        needle << ToQt(point);
    painter.setBrush(colours.brush(hasFocus() ? QPalette::Highlight : QPalette::Button));
    painter.drawPolygon(needle);
}

void CRotateArrow::SetAngle(int angle)
{
    angle = RotationDial::NormalisedAngle(angle);
    if (m_angle == nullptr || *m_angle == angle)
        return;
    *m_angle = angle;
    update();
    emit angleChanged(angle);
}

void CRotateArrow::PointAt(const QPoint& point)
{
    SetAngle(RotationDial(width(), height()).AngleAt(point.x(), point.y()));
}

void CRotateArrow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_angle == nullptr)
        return QWidget::mousePressEvent(event);
    m_dragging = true;
    setCursor(Qt::CrossCursor);
    PointAt(event->position().toPoint());
}

void CRotateArrow::mouseMoveEvent(QMouseEvent* event)
{
    // Qt keeps sending moves to the widget that took the press: that is the capture.
    if (m_dragging)
        PointAt(event->position().toPoint());
}

void CRotateArrow::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    PointAt(event->position().toPoint());
    m_dragging = false;
    unsetCursor();
    emit released();
}

void CRotateArrow::keyPressEvent(QKeyEvent* event)
{
    if (m_angle == nullptr)
        return QWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Up:
        SetAngle(*m_angle + 1);
        break;
    case Qt::Key_Left:
    case Qt::Key_Down:
        SetAngle(*m_angle - 1);
        break;
    case Qt::Key_PageUp:
        SetAngle(*m_angle + 15);
        break;
    case Qt::Key_PageDown:
        SetAngle(*m_angle - 15);
        break;
    default:
        return QWidget::keyPressEvent(event);
    }
    emit released();
}
