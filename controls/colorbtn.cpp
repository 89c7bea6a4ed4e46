// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/colorbtn.h"

#include <QPainter>

#include "controls/skinhooks.h"
#include "platform/choosers.h"
#include "platform/dialogchoosers.h"

CColorBtn::CColorBtn(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, [this] { choose(); });
}

void CColorBtn::setColor(uint32_t color)
{
    m_color = color & 0x00FFFFFF;
    update();
}

bool CColorBtn::choose()
{
    DialogChoosers dialogs(window());
    Choosers& choosers = m_choosers ? *m_choosers : static_cast<Choosers&>(dialogs);
    const std::optional<uint32_t> chosen = choosers.colour(m_color);
    if (!chosen)
        return false;
    setColor(*chosen);
    Q_EMIT colorChanged(m_color);
    return true;
}

void CColorBtn::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect box = rect();
    painter.fillRect(box, colorFromRef(isEnabled() ? m_color : DisabledFill));
    // One-pixel edge: sunken while pressed, raised otherwise.
    const bool sunken = isDown();
    const QColor topLeft = sunken ? Qt::black : Qt::white;
    const QColor bottomRight = sunken ? Qt::white : Qt::black;
    painter.setPen(topLeft);
    painter.drawLine(box.topLeft(), box.topRight());
    painter.drawLine(box.topLeft(), box.bottomLeft());
    painter.setPen(bottomRight);
    painter.drawLine(box.bottomLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomRight());
}
