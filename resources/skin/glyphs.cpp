// SPDX-License-Identifier: GPL-2.0-or-later
#include "glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace
{

void polyline(QPainter& p, std::initializer_list<QPointF> points)
{
    p.drawPolyline(std::data(points), int(points.size()));
}

void arrow(QPainter& p, QPointF from, QPointF to)
{
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y()) * 4.0;
    const QPointF n(-d.y(), d.x());
    polyline(p, {to - d + n, to, to - d - n});
}

void folder(QPainter& p)
{
    QPainterPath path;
    path.moveTo(1.5, 4);
    path.lineTo(6, 4);
    path.lineTo(7.5, 5.5);
    path.lineTo(14.5, 5.5);
    path.lineTo(14.5, 13.5);
    path.lineTo(1.5, 13.5);
    path.closeSubpath();
    p.drawPath(path);
}

void rotation(QPainter& p, bool clockwise)
{
    const int start = clockwise ? 200 : -20;
    const int span = clockwise ? -250 : 250;
    p.drawArc(QRectF(2.5, 2.5, 11, 11), start * 16, span * 16);
    const double end = (start + span) * M_PI / 180.0;
    const QPointF tip(8 + 5.5 * std::cos(end), 8 - 5.5 * std::sin(end));
    const double s = clockwise ? 1 : -1;
    polyline(p, {tip + QPointF(-3.2 * s, -0.5), tip, tip + QPointF(-0.3 * s, -3.2)});
}

void person(QPainter& p)
{
    p.drawEllipse(QRectF(5, 1.5, 6, 6));
    p.drawArc(QRectF(2, 9, 12, 10), 0, 180 * 16);
}

void drawShapes(QPainter& p, Glyph g);
void drawMoreShapes(QPainter& p, Glyph g);

} // namespace

void drawGlyph(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour)
{
    if (glyph == Glyph::None)
        return;
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(box.width() / 16.0, box.height() / 16.0);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    drawShapes(painter, glyph);
    painter.restore();
}

namespace
{

void drawShapes(QPainter& p, Glyph g)
{
    switch (g) {
    case Glyph::Back:
        polyline(p, {{10, 3}, {5, 8}, {10, 13}});
        break;
    case Glyph::Next:
        polyline(p, {{6, 3}, {11, 8}, {6, 13}});
        break;
    case Glyph::Check:
        polyline(p, {{3, 8.5}, {6.5, 12}, {13, 4.5}});
        break;
    case Glyph::Cross:
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    case Glyph::Help:
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.drawArc(QRectF(5.5, 4, 5, 4.5), -60 * 16, 240 * 16);
        p.drawLine(QPointF(8, 8.6), QPointF(8, 9.6));
        p.drawPoint(QPointF(8, 12));
        break;
    case Glyph::Plus:
        p.drawLine(QPointF(8, 3), QPointF(8, 13));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
        break;
    case Glyph::Minus:
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
        break;
    case Glyph::Sparkle: {
        QPainterPath star;
        star.moveTo(7, 1.5);
        star.quadTo(7.8, 6.2, 12.5, 7);
        star.quadTo(7.8, 7.8, 7, 12.5);
        star.quadTo(6.2, 7.8, 1.5, 7);
        star.quadTo(6.2, 6.2, 7, 1.5);
        p.drawPath(star);
        p.drawLine(QPointF(12.5, 11), QPointF(12.5, 14.5));
        p.drawLine(QPointF(10.8, 12.8), QPointF(14.2, 12.8));
        break;
    }
    case Glyph::Printer:
        p.drawRect(QRectF(4.5, 1.5, 7, 4));
        p.drawRoundedRect(QRectF(1.5, 5.5, 13, 6), 1.5, 1.5);
        p.drawRect(QRectF(4.5, 9.5, 7, 5));
        break;
    case Glyph::Tip:
        p.drawArc(QRectF(3.5, 1.5, 9, 9), -40 * 16, 260 * 16);
        p.drawLine(QPointF(6, 12), QPointF(10, 12));
        p.drawLine(QPointF(6.5, 14.5), QPointF(9.5, 14.5));
        break;
    case Glyph::Lifebuoy:
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.drawEllipse(QRectF(5, 5, 6, 6));
        p.drawLine(QPointF(3.4, 3.4), QPointF(5.9, 5.9));
        p.drawLine(QPointF(12.6, 3.4), QPointF(10.1, 5.9));
        p.drawLine(QPointF(3.4, 12.6), QPointF(5.9, 10.1));
        p.drawLine(QPointF(12.6, 12.6), QPointF(10.1, 10.1));
        break;
    case Glyph::Disk:
        polyline(p, {{1.5, 1.5}, {11.5, 1.5}, {14.5, 4.5}, {14.5, 14.5}, {1.5, 14.5}, {1.5, 1.5}});
        p.drawRect(QRectF(4.5, 1.5, 6, 4));
        p.drawRect(QRectF(4, 9, 8, 5.5));
        break;
    case Glyph::Star: {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double r = i % 2 == 0 ? 7 : 3;
            const double a = -M_PI / 2 + i * M_PI / 5;
            star << QPointF(8 + r * std::cos(a), 8.6 + r * std::sin(a));
        }
        p.drawPolygon(star);
        break;
    }
    case Glyph::Key:
        p.drawEllipse(QRectF(1.5, 5, 6, 6));
        polyline(p, {{7.5, 8}, {14.5, 8}, {14.5, 11}});
        p.drawLine(QPointF(11.5, 8), QPointF(11.5, 10.5));
        break;
    case Glyph::Person:
        person(p);
        break;
    default:
        drawMoreShapes(p, g);
        break;
    }
}

void drawMoreShapes(QPainter& p, Glyph g)
{
    switch (g) {
    case Glyph::Folder:
        folder(p);
        break;
    case Glyph::FolderPlus:
        folder(p);
        p.drawLine(QPointF(8, 7.5), QPointF(8, 11.5));
        p.drawLine(QPointF(6, 9.5), QPointF(10, 9.5));
        break;
    case Glyph::FolderMinus:
        folder(p);
        p.drawLine(QPointF(6, 9.5), QPointF(10, 9.5));
        break;
    case Glyph::Transfer:
        arrow(p, {2, 5}, {14, 5});
        arrow(p, {14, 11}, {2, 11});
        break;
    case Glyph::Plug:
        p.drawRoundedRect(QRectF(3.5, 5.5, 9, 5.5), 2, 2);
        p.drawLine(QPointF(6, 2), QPointF(6, 5.5));
        p.drawLine(QPointF(10, 2), QPointF(10, 5.5));
        p.drawLine(QPointF(8, 11), QPointF(8, 14.5));
        break;
    case Glyph::Globe:
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.drawEllipse(QRectF(5, 1.5, 6, 13));
        p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
        break;
    case Glyph::Trash:
        p.drawLine(QPointF(2, 4), QPointF(14, 4));
        polyline(p, {{6, 4}, {6, 2}, {10, 2}, {10, 4}});
        polyline(p, {{3.5, 4}, {4.5, 14.5}, {11.5, 14.5}, {12.5, 4}});
        break;
    case Glyph::Find:
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
        break;
    case Glyph::Font:
        polyline(p, {{2, 14}, {8, 2}, {14, 14}});
        p.drawLine(QPointF(4.5, 9.5), QPointF(11.5, 9.5));
        break;
    case Glyph::Palette:
        p.drawEllipse(QRectF(1.5, 2.5, 13, 11));
        p.drawPoint(QPointF(5, 6));
        p.drawPoint(QPointF(8.5, 5));
        p.drawPoint(QPointF(11.5, 7));
        p.drawEllipse(QRectF(4.5, 9, 3, 2.5));
        break;
    case Glyph::Up:
        polyline(p, {{3, 10.5}, {8, 5.5}, {13, 10.5}});
        break;
    case Glyph::Down:
        polyline(p, {{3, 5.5}, {8, 10.5}, {13, 5.5}});
        break;
    case Glyph::Top:
        p.drawLine(QPointF(3, 2.5), QPointF(13, 2.5));
        polyline(p, {{3, 11}, {8, 6}, {13, 11}});
        break;
    case Glyph::Bottom:
        p.drawLine(QPointF(3, 13.5), QPointF(13, 13.5));
        polyline(p, {{3, 5}, {8, 10}, {13, 5}});
        break;
    case Glyph::Download:
        arrow(p, {8, 1.5}, {8, 11});
        p.drawLine(QPointF(2, 14.5), QPointF(14, 14.5));
        break;
    case Glyph::Change:
        rotation(p, true);
        break;
    case Glyph::RotateRight:
        rotation(p, true);
        break;
    case Glyph::RotateLeft:
        rotation(p, false);
        break;
    case Glyph::Levels:
        for (int i = 0; i < 5; ++i) {
            static const double h[5] = {4, 9, 12, 7, 3};
            p.drawLine(QPointF(2.5 + i * 2.75, 14.5), QPointF(2.5 + i * 2.75, 14.5 - h[i]));
        }
        break;
    case Glyph::Pencil:
        polyline(p, {{2, 14}, {2.5, 10.5}, {11, 2}, {14, 5}, {5.5, 13.5}, {2, 14}});
        p.drawLine(QPointF(9, 4), QPointF(12, 7));
        break;
    case Glyph::Eye:
        p.drawArc(QRectF(1, 3, 14, 14), 30 * 16, 120 * 16);
        p.drawArc(QRectF(1, -1, 14, 14), 210 * 16, 120 * 16);
        p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
        break;
    case Glyph::Gear:
        p.drawEllipse(QRectF(5, 5, 6, 6));
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            p.drawLine(QPointF(8 + 4.2 * std::cos(a), 8 + 4.2 * std::sin(a)),
                       QPointF(8 + 6.6 * std::cos(a), 8 + 6.6 * std::sin(a)));
        }
        break;
    case Glyph::Open:
        folder(p);
        arrow(p, {8, 12}, {8, 7});
        break;
    case Glyph::Info:
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.drawLine(QPointF(8, 7), QPointF(8, 11.5));
        p.drawPoint(QPointF(8, 4.6));
        break;
    case Glyph::CheckAll:
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2);
        polyline(p, {{4, 8.5}, {7, 11}, {12, 5}});
        break;
    case Glyph::UncheckAll:
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2);
        break;
    case Glyph::Apply:
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(2, 3.5 + i * 4.5), QPointF(9, 3.5 + i * 4.5));
        polyline(p, {{10, 9}, {12, 11.5}, {15, 6.5}});
        break;
    case Glyph::Comment:
        polyline(p, {{1.5, 2.5},
                     {14.5, 2.5},
                     {14.5, 11},
                     {7, 11},
                     {3.5, 14},
                     {3.5, 11},
                     {1.5, 11},
                     {1.5, 2.5}});
        break;
    case Glyph::Camera:
        p.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1.5, 1.5);
        polyline(p, {{5, 4.5}, {6.5, 2.5}, {9.5, 2.5}, {11, 4.5}});
        p.drawEllipse(QRectF(5.5, 6.5, 5, 5));
        break;
    default:
        break;
    }
}

} // namespace
