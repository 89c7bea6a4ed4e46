// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/textcontrast.h"

#include <algorithm>
#include <cmath>

#include <QRegularExpression>

namespace html
{

namespace
{

double channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour)
{
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) +
           0.0722 * channel(colour.blue());
}

QColor mix(const QColor& from, const QColor& to, double share)
{
    const auto blend = [share](int a, int b) {
        return static_cast<int>(std::lround(a + (b - a) * share));
    };
    return QColor(blend(from.red(), to.red()), blend(from.green(), to.green()),
                  blend(from.blue(), to.blue()));
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor& text, const QColor& background, double minimum)
{
    if (contrastRatio(text, background) >= minimum)
        return text;
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    const QColor far =
        contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
    if (contrastRatio(far, background) < minimum)
        return far;
    // The least change that reaches the contrast keeps as much of the chosen hue as can be.
    // Rounding to whole channel values can land just short, so the last step checks.
    double low = 0;
    double high = 1;
    for (int step = 0; step < 24; ++step) {
        const double middle = (low + high) / 2;
        (contrastRatio(mix(text, far, middle), background) >= minimum ? high : low) = middle;
    }
    QColor found = mix(text, far, high);
    for (double share = high; contrastRatio(found, background) < minimum && share < 1;) {
        share = std::min(1.0, share + 1.0 / 255);
        found = mix(text, far, share);
    }
    return found;
}

std::optional<QColor> parseHexColour(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^#([0-9A-Fa-f]{3}|[0-9A-Fa-f]{6})$"));
    if (!pattern.match(text.trimmed()).hasMatch())
        return std::nullopt;
    return QColor::fromString(text.trimmed());
}

} // namespace html
