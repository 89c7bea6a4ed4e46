// SPDX-License-Identifier: GPL-2.0-or-later
// Painting a window's background picture into a window larger than the picture.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

class QPainter;

// Paints picture into target: the parts of the picture left of and above cut keep their
// place, the parts right of and below it move to the target's right and bottom edges, and
// the one column and row at cut stretch over the space between. A picture with plain
// colour at cut grows without distorting what is drawn on it. A target no larger than the
// picture shows the picture as it is.
void paintStretched(QPainter& painter, const QImage& picture, const QRect& target, QPoint cut);
