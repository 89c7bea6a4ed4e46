// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/displaytransform.h"

#include <cstring>

namespace imaging {

namespace {

// Orientation values by clockwise quarter turns, upright and then mirrored: a mirrored
// photo is shown turned and then flipped left to right.
constexpr int OrientationValues[2][4] = {{1, 6, 3, 8}, {2, 5, 4, 7}};

Orientation turnOf(const Image& tags)
{
    const auto item = tags.property(TagOrientation);
    if (!item || item->type != PropertyShort || item->value.size() < 2)
        return {};
    const auto bytes = reinterpret_cast<const uchar*>(item->value.constData());
    return orientationTurn(bytes[0] | (bytes[1] << 8));
}

// The largest size with the proportions of picture that fits inside box.
QSize fitted(QSize picture, QSize box)
{
    if (picture.isEmpty() || box.isEmpty())
        return QSize();
    return picture.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

// The six black and white points (red, green, blue) of a ReferenceBlackWhite item.
bool levelsOf(const Image& tags, double points[6])
{
    const auto item = tags.property(TagReferenceBlackWhite);
    if (!item || item->type != PropertyRational || item->value.size() != 48)
        return false;
    for (int i = 0; i < 6; ++i) {
        uint32_t pair[2];
        std::memcpy(pair, item->value.constData() + 8 * i, 8); // little-endian, as stored
        points[i] = pair[1] == 0 ? 0.0 : static_cast<double>(pair[0]) / pair[1];
    }
    return true;
}

// Cameras write ReferenceBlackWhite to describe their YCbCr encoding: luma 0 to 255 with
// chroma 128 to 255 (or 0 to 128). Read as levels they would tint every such photo, so only
// other values count as levels the user set.
bool isCameraReference(const double p[6])
{
    const bool fullLuma = p[0] == 0 && p[1] == 255;
    const bool upperChroma = p[2] == 128 && p[3] == 255 && p[4] == 128 && p[5] == 255;
    const bool lowerChroma = p[2] == 0 && p[3] == 128 && p[4] == 0 && p[5] == 128;
    return fullLuma && (upperChroma || lowerChroma);
}

} // namespace

Orientation orientationTurn(int value)
{
    for (int mirrored = 0; mirrored < 2; ++mirrored)
        for (int rotation = 0; rotation < 4; ++rotation)
            if (OrientationValues[mirrored][rotation] == value)
                return {rotation, mirrored == 1};
    return {};
}

int orientationValue(Orientation turn)
{
    return OrientationValues[turn.mirrored ? 1 : 0][((turn.rotation % 4) + 4) % 4];
}

int turnedOrientation(int value, int degrees)
{
    Orientation turn = orientationTurn(value);
    // Turning a mirror image clockwise is turning the photo under it the other way.
    const int quarters = degrees / 90;
    turn.rotation += turn.mirrored ? -quarters : quarters;
    return orientationValue(turn);
}

QString sideFilePath(const QString& imagePath)
{
    return imagePath + QStringLiteral(".exif");
}

DisplayTransform transformOf(const Image& tags)
{
    DisplayTransform transform;
    const Orientation turn = turnOf(tags);
    transform.rotation = turn.rotation;
    transform.mirrored = turn.mirrored;
    double points[6];
    if (!levelsOf(tags, points) || isCameraReference(points))
        return transform;
    double sum = 0;
    for (double point : points)
        sum += point;
    // Small sums are the neutral values cameras write, not levels the user set.
    if (sum <= 100)
        return transform;
    for (int c = 0; c < 3; ++c) {
        const double black = points[2 * c];
        const double white = points[2 * c + 1];
        if (white <= black)
            continue; // no usable range: leave the channel as it is
        const double scale = 255.0 / (white - black);
        transform.matrix[c][c] = static_cast<float>(scale);
        transform.matrix[4][c] = static_cast<float>(-scale * black / 255.0);
    }
    transform.matrix[0][1] = 1e-8f;
    return transform;
}

QImage drawShown(const Image& image, const DisplayTransform& transform, QSize box)
{
    // A quarter turn lays the picture on its side: fit the turned size, draw the upright one.
    const bool sideways = transform.rotation % 2 == 1;
    const QSize stored(image.width(), image.height());
    const QSize shown = fitted(sideways ? stored.transposed() : stored, box);
    if (shown.isEmpty())
        return QImage();
    const ColorMatrix* matrix = transform.hasLevels() ? &transform.matrix : nullptr;
    return image.draw(sideways ? shown.transposed() : shown, matrix, transform.rotateFlip());
}

DisplayTransform readDisplayTransform(const QString& imagePath)
{
    if (auto side = Image::open(sideFilePath(imagePath)))
        return transformOf(*side);
    if (auto image = Image::open(imagePath))
        return transformOf(*image);
    return DisplayTransform();
}

} // namespace imaging
