// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/myimage.h"

#include <QPainter>

CMyImage::CMyImage(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void CMyImage::Load(const QString& path)
{
    m_path = path;
    m_preview = path.isEmpty() ? PreviewPicture{} : renderPreview(path, size());
    update();
}

void CMyImage::paintEvent(QPaintEvent*)
{
    if (m_preview.picture.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(m_preview.rect, m_preview.picture);
}

void CMyImage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The picture is rendered for the control's size, so a new size needs a new rendering.
    if (!m_path.isEmpty())
        Reload();
}
