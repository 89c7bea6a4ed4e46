// SPDX-License-Identifier: GPL-2.0-or-later
// The application icon: an album with a landscape photo on its cover, described once as a
// few flat shapes on a 128 x 128 grid and written both as SVG and as PNG at any size, so the
// scalable and the pixel icons are always the same picture.
#pragma once

#include <vector>

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>

struct IconShape {
    enum class Kind { RoundedRect, Circle, Polygon };
    Kind kind;
    QRectF box;               // rounded rectangles and circles (a circle fills its box)
    qreal radius;             // of the rounded corners
    std::vector<QPointF> points; // polygons
    QColor fill;
    qreal turn;               // degrees clockwise about the centre of turnAbout
    QPointF turnAbout;
};

// The icon's shapes, back to front.
const std::vector<IconShape>& appIconShapes();
// The icon as an SVG document with a 128 x 128 view box.
QString appIconSvg();
// The icon drawn on a transparent square of side pixels.
QImage drawAppIcon(int side);
// The pixel sizes the icon is drawn at beside the SVG.
const std::vector<int>& appIconSizes();
