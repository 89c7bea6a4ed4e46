// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/previewicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

void DrawMagnifier(QPainter& p, bool plus)
{
    p.drawEllipse(QRectF(3, 3, 11, 11));
    p.drawLine(QPointF(13, 13), QPointF(20, 20));
    p.drawLine(QPointF(6, 8.5), QPointF(11, 8.5));
    if (plus)
        p.drawLine(QPointF(8.5, 6), QPointF(8.5, 11));
}

void DrawHand(QPainter& p)
{
    QPainterPath path;
    path.moveTo(7, 20);
    path.lineTo(5, 12);
    path.lineTo(7, 11);
    path.lineTo(8, 13);
    path.lineTo(8, 4);
    path.lineTo(10, 4);
    path.lineTo(10, 11);
    path.lineTo(11, 3);
    path.lineTo(13, 3);
    path.lineTo(13, 11);
    path.lineTo(14, 4);
    path.lineTo(16, 4);
    path.lineTo(16, 12);
    path.lineTo(17, 7);
    path.lineTo(19, 7);
    path.lineTo(18, 16);
    path.lineTo(16, 20);
    path.closeSubpath();
    p.drawPath(path);
}

void DrawBrush(QPainter& p)
{
    p.drawLine(QPointF(19, 4), QPointF(10, 13));
    p.drawEllipse(QRectF(4, 13, 6, 6));
}

void DrawTurn(QPainter& p, bool forward)
{
    if (!forward) {
        p.translate(24, 0);
        p.scale(-1, 1);
    }
    p.drawArc(QRectF(4, 6, 14, 12), 180 * 16, -200 * 16);
    p.drawLine(QPointF(17.5, 13), QPointF(17.5, 18));
    p.drawLine(QPointF(17.5, 13), QPointF(13, 14));
}

void DrawPalette(QPainter& p, const QColor& ink)
{
    p.drawEllipse(QRectF(3, 4, 18, 16));
    p.setBrush(ink);
    p.drawEllipse(QRectF(7, 8, 3, 3));
    p.drawEllipse(QRectF(13, 8, 3, 3));
    p.drawEllipse(QRectF(7, 14, 3, 3));
}

void DrawPicker(QPainter& p)
{
    p.drawLine(QPointF(4, 20), QPointF(14, 10));
    p.drawRoundedRect(QRectF(14, 3, 6, 9), 2, 2);
}

} // namespace

QIcon PreviewIcon(PreviewIconKind kind, const QColor& ink, int size)
{
    QIcon icon;
    for (int scale = 1; scale <= 2; ++scale) {
        QPixmap pixmap(size * scale, size * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 24.0, size / 24.0);
        p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        switch (kind) {
        case PreviewIconKind::ZoomIn: DrawMagnifier(p, true); break;
        case PreviewIconKind::ZoomOut: DrawMagnifier(p, false); break;
        case PreviewIconKind::Drag: DrawHand(p); break;
        case PreviewIconKind::Brush: DrawBrush(p); break;
        case PreviewIconKind::Undo: DrawTurn(p, false); break;
        case PreviewIconKind::Redo: DrawTurn(p, true); break;
        case PreviewIconKind::Palette: DrawPalette(p, ink); break;
        case PreviewIconKind::Picker: DrawPicker(p); break;
        }
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
