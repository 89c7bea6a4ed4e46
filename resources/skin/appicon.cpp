// SPDX-License-Identifier: GPL-2.0-or-later
#include "appicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

namespace
{

using Kind = IconShape::Kind;

// The skin's own colours, so that the icon looks like the program it opens.
const QColor Slate(67, 65, 83);
const QColor Leaf(105, 140, 110);
const QColor LeafDark(80, 112, 86);
const QColor Paper(243, 243, 238);
const QColor PaperEdge(214, 215, 205);
const QColor Sky(164, 196, 222);
const QColor Sun(240, 196, 108);
const QColor HillFar(132, 170, 128);
const QColor HillNear(88, 128, 92);
const QColor Shadow(0, 0, 0, 46);

IconShape rect(const QRectF& box, qreal radius, const QColor& fill)
{
    return {Kind::RoundedRect, box, radius, {}, fill, 0, {}};
}

IconShape turned(IconShape shape, qreal degrees, const QPointF& about)
{
    shape.turn = degrees;
    shape.turnAbout = about;
    return shape;
}

QString number(qreal value)
{
    return QString::number(value, 'g', 6);
}

QString svgColour(const QColor& colour)
{
    QString text = QStringLiteral("fill=\"%1\"").arg(colour.name(QColor::HexRgb));
    if (colour.alpha() < 255)
        text += QStringLiteral(" fill-opacity=\"%1\"").arg(number(colour.alphaF()));
    return text;
}

QString svgElement(const IconShape& shape)
{
    QString turn;
    if (shape.turn != 0)
        turn = QStringLiteral(" transform=\"rotate(%1 %2 %3)\"")
                   .arg(number(shape.turn), number(shape.turnAbout.x()),
                        number(shape.turnAbout.y()));
    const QString colour = svgColour(shape.fill);
    switch (shape.kind) {
    case Kind::RoundedRect:
        return QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" %6%7/>\n")
            .arg(number(shape.box.x()), number(shape.box.y()), number(shape.box.width()),
                 number(shape.box.height()), number(shape.radius), colour, turn);
    case Kind::Circle:
        return QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" %4%5/>\n")
            .arg(number(shape.box.center().x()), number(shape.box.center().y()),
                 number(shape.box.width() / 2), colour, turn);
    case Kind::Polygon: {
        QStringList points;
        for (const QPointF& point : shape.points)
            points << number(point.x()) + u',' + number(point.y());
        return QStringLiteral("  <polygon points=\"%1\" %2%3/>\n")
            .arg(points.join(u' '), colour, turn);
    }
    }
    return {};
}

QPainterPath pathOf(const IconShape& shape)
{
    QPainterPath path;
    switch (shape.kind) {
    case Kind::RoundedRect:
        path.addRoundedRect(shape.box, shape.radius, shape.radius);
        break;
    case Kind::Circle:
        path.addEllipse(shape.box);
        break;
    case Kind::Polygon:
        path.addPolygon(QPolygonF(QList<QPointF>(shape.points.begin(), shape.points.end())));
        path.closeSubpath();
        break;
    }
    if (shape.turn == 0)
        return path;
    QTransform turn;
    turn.translate(shape.turnAbout.x(), shape.turnAbout.y());
    turn.rotate(shape.turn);
    turn.translate(-shape.turnAbout.x(), -shape.turnAbout.y());
    return turn.map(path);
}

} // namespace

const std::vector<IconShape>& appIconShapes()
{
    // The photo leans a little on the cover, as if just put into the album.
    const QPointF photoCentre(66, 56);
    const qreal lean = -5;
    static const std::vector<IconShape> shapes = {
        rect({17, 15, 102, 106}, 12, Shadow),            // the album's shadow
        rect({20, 10, 98, 104}, 11, PaperEdge),          // the pages' edge
        rect({20, 10, 95, 101}, 10, Paper),              // the pages
        rect({10, 8, 98, 104}, 10, LeafDark),            // the cover
        rect({10, 8, 18, 104}, 10, Slate),               // the spine
        rect({22, 8, 8, 104}, 0, Slate),                 // the spine's straight edge
        turned(rect({34, 24, 66, 58}, 3, Paper), lean, photoCentre),  // the print's border
        turned(rect({39, 29, 56, 42}, 1, Sky), lean, photoCentre),    // the sky
        turned({Kind::Circle, {77, 34, 12, 12}, 0, {}, Sun, 0, {}}, lean, photoCentre),
        turned({Kind::Polygon, {}, 0, {{39, 62}, {56, 44}, {70, 58}, {80, 50}, {95, 64}, {95, 71}, {39, 71}}, HillFar, 0, {}},
               lean, photoCentre),
        turned({Kind::Polygon, {}, 0, {{39, 71}, {39, 64}, {60, 56}, {95, 68}, {95, 71}}, HillNear, 0, {}},
               lean, photoCentre),
        rect({44, 92, 48, 6}, 3, Leaf),                  // the title on the cover
    };
    return shapes;
}

QString appIconSvg()
{
    QString svg = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"128\" height=\"128\" "
        "viewBox=\"0 0 128 128\">\n"
        "  <title>Gallivex</title>\n");
    for (const IconShape& shape : appIconShapes())
        svg += svgElement(shape);
    svg += QStringLiteral("</svg>\n");
    return svg;
}

QImage drawAppIcon(int side)
{
    QImage icon(side, side, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side / 128.0, side / 128.0);
    painter.setPen(Qt::NoPen);
    for (const IconShape& shape : appIconShapes())
        painter.fillPath(pathOf(shape), shape.fill);
    return icon;
}

const std::vector<int>& appIconSizes()
{
    static const std::vector<int> sizes = {16, 24, 32, 48, 64, 128, 256};
    return sizes;
}
