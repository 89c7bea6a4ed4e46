// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/myscrollbar.h"

#include <QPainter>
#include <QScrollBar>

CMyScrollBar::CMyScrollBar(QWidget* parent)
    : QWidget(parent), m_horizontal(new QScrollBar(Qt::Horizontal, this)),
      m_vertical(new QScrollBar(Qt::Vertical, this))
{
    connect(m_horizontal, &QScrollBar::valueChanged, this,
            [this](int value) { Q_EMIT horizontalScroll(HorizontalId, value); });
    connect(m_vertical, &QScrollBar::valueChanged, this,
            [this](int value) { Q_EMIT verticalScroll(VerticalId, value); });
}

void CMyScrollBar::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), palette().color(QPalette::Base));
}

void CMyScrollBar::resizeEvent(QResizeEvent*)
{
    const int bar = 16;
    m_horizontal->setGeometry(0, height() - bar, width() - bar, bar);
    m_vertical->setGeometry(width() - bar, 0, bar, height() - bar);
}
