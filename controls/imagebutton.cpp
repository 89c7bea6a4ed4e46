// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/imagebutton.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "controls/childfocusedevent.h"
#include "controls/skinhooks.h"
#include "platform/stringtable.h"

bool forwardChildFocused(QWidget& widget, const ChildFocusedEvent& event)
{
    QWidget* parent = widget.parentWidget();
    if (parent == nullptr)
        return false;
    ChildFocusedEvent copy(event.controlId(), event.child());
    return QApplication::sendEvent(parent, &copy);
}

CImageButton::CImageButton(QWidget* parent, int controlId)
    : QAbstractButton(parent), m_controlId(controlId), m_disabledColor(SkinHooks::colour(0))
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover, false); // hovering is tracked by enter and leave below
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        m_check = on ? 1 : 0;
        refresh();
    });
}

CImageButton::CImageButton(int pictureId, int states, QWidget* parent, int controlId,
                           bool transparent)
    : CImageButton(parent, controlId)
{
    SetImage(pictureId, states, transparent);
}

CImageButton::CImageButton(const QImage& strip, int states, QWidget* parent, int controlId,
                           bool transparent)
    : CImageButton(parent, controlId)
{
    SetImage(strip, states, transparent);
}

bool CImageButton::SetImage(int pictureId, int states, bool transparent, int extraFrames)
{
    if (!m_strip.isNull())
        return hasImage();
    return SetImage(SkinHooks::picture(pictureId), states, transparent, extraFrames);
}

bool CImageButton::SetImage(const QImage& strip, int states, bool transparent, int extraFrames)
{
    if (!m_strip.isNull())
        return hasImage();
    m_strip = strip;
    m_states = states;
    m_extraFrames = extraFrames;
    m_transparent = transparent;
    // Frames are measured in device-independent pixels, so a 2x strip gives the same button.
    m_frame = ::frameSize(m_strip.deviceIndependentSize().toSize(), states, extraFrames);
    setFixedSize(sizeHint());
    installTooltip();
    updateGeometry();
    update();
    return hasImage();
}

bool CImageButton::SetImageFromResource(const QString& resource, bool transparent)
{
    return SetImage(QImage(resource), 2, transparent);
}

void CImageButton::installTooltip()
{
    if (m_tooltipInstalled)
        return;
    const QString tip = loadString(m_controlId);
    if (tip.isEmpty())
        return;
    setToolTip(QString(tip).remove(QLatin1Char('&')));
    m_tooltipInstalled = true;
}

void CImageButton::SetCheck(int check)
{
    m_check = check;
    if (isCheckable()) {
        const QSignalBlocker quiet(this);
        setChecked(check != 0);
    }
    refresh();
}

void CImageButton::setCheckStyle(bool on)
{
    setCheckable(on);
    EnableHover(!on);
    if (on)
        setChecked(m_check != 0);
}

void CImageButton::EnableHover(bool enable)
{
    m_hoverEnabled = enable;
    if (!enable)
        setHovered(false);
}

ButtonLook CImageButton::look() const
{
    ButtonLook look;
    look.states = m_states;
    look.extraFrames = m_extraFrames;
    look.enabled = isEnabled();
    look.pressed = isDown();
    look.hovered = m_hovered;
    look.check = m_check;
    return look;
}

QSize CImageButton::sizeHint() const
{
    if (hasImage() || text().isEmpty())
        return m_frame;
    // Without its picture the button still shows its text, so that a broken skin never
    // leaves a dialog without a way out.
    const QFontMetrics metrics = fontMetrics();
    return QSize(metrics.horizontalAdvance(text()) + 24, metrics.height() + 12);
}

void CImageButton::paintPlain()
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.text = text();
    if (isDown() || m_check != 0)
        option.state |= QStyle::State_Sunken;
    painter.drawControl(QStyle::CE_PushButton, option);
}

void CImageButton::refresh()
{
    // A button over a picture repaints at once, so that the old look never lingers.
    if (m_transparent)
        repaint();
    else
        update();
}

void CImageButton::setHovered(bool hovered)
{
    if (m_hovered == hovered)
        return;
    m_hovered = hovered;
    refresh();
}

void CImageButton::paintEvent(QPaintEvent*)
{
    if (!hasImage()) {
        if (!text().isEmpty())
            paintPlain();
        return;
    }
    QPainter painter(this);
    const int frame = currentFrame();
    const qreal ratio = m_strip.devicePixelRatio();
    const QRectF source = frameRect(m_frame, frame == NoFrame ? 0 : frame).toRectF();
    const QRect pixels(QRectF(source.topLeft() * ratio, source.size() * ratio).toRect());
    const QRectF target(QPointF(0, 0), QSizeF(m_frame));
    if (frame == NoFrame) {
        const QColor background = colorFromRef(uint32_t(m_disabledColor));
        if (!m_transparent)
            painter.fillRect(rect(), background);
        painter.drawImage(target, greyedFrame(m_strip.copy(pixels), background.rgb()));
    } else {
        painter.drawImage(target, m_strip, QRectF(pixels));
    }
    if (!hasFocus())
        return;
    // Black under white dots: seen on light and dark pictures alike.
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(focusRect(m_frame));
    painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
    painter.drawRect(focusRect(m_frame));
    painter.end();
    Q_EMIT focused(m_controlId, this);
    forwardChildFocused(*this, ChildFocusedEvent(m_controlId, this));
}

void CImageButton::enterEvent(QEnterEvent* event)
{
    if (m_hoverEnabled)
        setHovered(true);
    QAbstractButton::enterEvent(event);
}

void CImageButton::leaveEvent(QEvent* event)
{
    setHovered(false);
    QAbstractButton::leaveEvent(event);
}

void CImageButton::focusInEvent(QFocusEvent* event)
{
    QAbstractButton::focusInEvent(event);
    refresh();
}

void CImageButton::focusOutEvent(QFocusEvent* event)
{
    QAbstractButton::focusOutEvent(event);
    refresh();
}

void CImageButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            m_hovered = false;
        refresh();
    }
    QAbstractButton::changeEvent(event);
}

bool CImageButton::hitButton(const QPoint& pos) const
{
    return m_clickable.isEmpty() ? rect().contains(pos) : m_clickable.contains(pos);
}
