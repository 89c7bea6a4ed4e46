// SPDX-License-Identifier: GPL-2.0-or-later
// Small line icons drawn in a 16 x 16 box, in one colour.
#pragma once

#include <QColor>
#include <QRectF>

#include "skinart.h"

class QPainter;

void drawGlyph(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour);
