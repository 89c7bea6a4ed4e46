// SPDX-License-Identifier: GPL-2.0-or-later
#include <algorithm>
#include <cmath>

#include "platform/imaging.h"

namespace imaging {

ColorMatrix identityMatrix()
{
    ColorMatrix matrix{};
    for (int i = 0; i < 5; ++i)
        matrix[i][i] = 1.0f;
    return matrix;
}

bool isIdentity(const ColorMatrix& matrix, float tolerance)
{
    const ColorMatrix identity = identityMatrix();
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 5; ++column)
            if (std::fabs(matrix[row][column] - identity[row][column]) >= tolerance)
                return false;
    return true;
}

void applyColorMatrix(QImage& image, const ColorMatrix& m)
{
    if (image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const float in[4] = {qRed(line[x]) / 255.0f, qGreen(line[x]) / 255.0f,
                                 qBlue(line[x]) / 255.0f, qAlpha(line[x]) / 255.0f};
            int out[4];
            for (int c = 0; c < 4; ++c) {
                const float value = in[0] * m[0][c] + in[1] * m[1][c] + in[2] * m[2][c] +
                                    in[3] * m[3][c] + m[4][c];
                out[c] = static_cast<int>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
            }
            line[x] = qRgba(out[0], out[1], out[2], out[3]);
        }
    }
}

} // namespace imaging
