// SPDX-License-Identifier: GPL-2.0-or-later
// Photos with every EXIF Orientation, made by libvips from one picture whose four quarters
// have four colours, and libvips' own upright rendering of them to compare against.
#pragma once

#include <array>

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

// Writes folder/orientation-N.jpg for N = 1 to 8: the same 96 x 64 pixels with Orientation N,
// so each shows differently. The list holds them in that order; empty when libvips failed.
QStringList makeOrientedPhotos(const QString& folder);
// The photo turned upright by libvips' autorot; null when it cannot be read.
QImage autorotated(const QString& path);
// The colours in the middle of the four quarters of picture: top left, top right, bottom
// left, bottom right.
std::array<QColor, 4> quarterColours(const QImage& picture);
// True when both pictures have the same proportions (within a pixel) and
// the same colour in each quarter; otherwise false, with what differs in *why.
bool showsTheSame(const QImage& picture, const QImage& expected, QString* why);
// The part of picture that is not transparent (a picture placed in a clear box).
QImage opaquePart(const QImage& picture);
