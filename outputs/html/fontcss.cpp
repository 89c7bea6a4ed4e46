// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/fontcss.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "outputs/html/manifestparams.h"
#include "outputs/html/templatefilters.h"

namespace html
{

namespace
{

// LOGFONT families (lfPitchAndFamily >> 4) and CHOOSEFONT flags, as fonts are stored.
constexpr uint8_t FamilyRoman = 1, FamilySwiss = 2, FamilyModern = 3, FamilyScript = 4,
                  FamilyDecorative = 5;
constexpr uint8_t VariablePitch = 2;
constexpr uint32_t ChooseFontFlags = 0x141; // screen fonts, effects, start from the LOGFONT
constexpr uint16_t ScreenFontType = 0x2000, BoldFontType = 0x100, ItalicFontType = 0x200,
                   RegularFontType = 0x400;
constexpr int ScreenDpi = 96;

uint8_t familyCode(const QString& generic)
{
    if (generic == QLatin1String("serif"))
        return FamilyRoman;
    if (generic == QLatin1String("sans-serif"))
        return FamilySwiss;
    if (generic == QLatin1String("monospace"))
        return FamilyModern;
    if (generic == QLatin1String("cursive"))
        return FamilyScript;
    if (generic == QLatin1String("fantasy"))
        return FamilyDecorative;
    return 0;
}

// Fonts most systems have, so the page looks right where the chosen face is missing.
QString fallbackStack(uint8_t family, const QString& generic)
{
    switch (family) {
    case FamilyRoman:
        return QStringLiteral("\"Iowan Old Style\", \"Palatino Linotype\", Palatino, Georgia, "
                              "\"DejaVu Serif\", serif");
    case FamilySwiss:
        return QStringLiteral("system-ui, -apple-system, \"Segoe UI\", Roboto, \"Helvetica "
                              "Neue\", Arial, \"DejaVu Sans\", sans-serif");
    case FamilyModern:
        return QStringLiteral("ui-monospace, Menlo, Consolas, \"DejaVu Sans Mono\", monospace");
    case FamilyScript:
        return QStringLiteral("cursive");
    case FamilyDecorative:
        return QStringLiteral("fantasy");
    default:
        return familyCode(generic) != 0 ? fallbackStack(familyCode(generic), QString())
                                        : QStringLiteral("sans-serif");
    }
}

QString faceName(const GVLogFont& font)
{
    const QByteArray bytes(font.lfFaceName, static_cast<int>(qstrnlen(font.lfFaceName, 32)));
    const QString utf8 = QString::fromUtf8(bytes);
    return utf8.contains(QChar::ReplacementCharacter) ? QString::fromLatin1(bytes) : utf8;
}

double pixelSize(const GVFontBlock& block)
{
    if (block.chooseFont.iPointSize > 0)
        return block.chooseFont.iPointSize / 10.0 * ScreenDpi / 72.0;
    if (block.logFont.lfHeight != 0)
        return std::abs(static_cast<double>(block.logFont.lfHeight));
    return 16;
}

} // namespace

GVFontBlock fontBlockOf(const QVariantMap& font)
{
    GVFontBlock block{};
    const int points = font.value(QStringLiteral("size"), 12).toInt();
    const bool bold = font.value(QStringLiteral("bold")).toBool();
    const int weight =
        font.value(QStringLiteral("weight"), bold ? GV_FW_BOLD : GV_FW_NORMAL).toInt();
    const bool italic = font.value(QStringLiteral("italic")).toBool();
    const int64_t color = colorRefOf(font.value(QStringLiteral("color"), "#000000").toString());
    block.chooseFont.iPointSize = points * 10;
    block.chooseFont.Flags = ChooseFontFlags;
    block.chooseFont.rgbColors = color < 0 ? 0 : static_cast<uint32_t>(color);
    block.chooseFont.nFontType = ScreenFontType |
                                 (weight >= GV_FW_BOLD ? BoldFontType : RegularFontType) |
                                 (italic ? ItalicFontType : 0);
    block.logFont.lfHeight = -static_cast<int32_t>(std::lround(points * ScreenDpi / 72.0));
    block.logFont.lfWeight = weight;
    block.logFont.lfItalic = italic ? 1 : 0;
    block.logFont.lfCharSet = 1; // the default character set
    block.logFont.lfPitchAndFamily = static_cast<uint8_t>(
        (familyCode(font.value(QStringLiteral("family")).toString()) << 4) | VariablePitch);
    const QByteArray face = font.value(QStringLiteral("face")).toString().toUtf8().left(31);
    std::memcpy(block.logFont.lfFaceName, face.constData(), static_cast<size_t>(face.size()));
    return block;
}

QVariantMap fontForPages(const GVFontBlock& block, const QString& fallbackGeneric)
{
    const GVLogFont& font = block.logFont;
    const QString face = faceName(font);
    QString family =
        fallbackStack(static_cast<uint8_t>(font.lfPitchAndFamily >> 4), fallbackGeneric);
    if (!face.trimmed().isEmpty())
        family = cssString(face.trimmed()) + QStringLiteral(", ") + family;
    const int weight = font.lfWeight <= 0 ? GV_FW_NORMAL : std::clamp(font.lfWeight, 1, 1000);
    const double px = std::clamp(pixelSize(block), 6.0, 300.0);
    QStringList lines;
    if (font.lfUnderline)
        lines << QStringLiteral("underline");
    if (font.lfStrikeOut)
        lines << QStringLiteral("line-through");
    QVariantMap css{{"family", family},
                    {"size", QStringLiteral("%1px").arg(std::round(px * 10) / 10)},
                    {"weight", QString::number(weight)},
                    {"style", font.lfItalic ? QStringLiteral("italic") : QStringLiteral("normal")},
                    {"color", colorText(block.chooseFont.rgbColors & 0xffffff)},
                    {"decoration", lines.isEmpty() ? QStringLiteral("none") : lines.join(u' ')}};
    css[QStringLiteral("css")] =
        QStringLiteral("font-family: %1; font-size: %2; font-weight: %3; font-style: %4; color: "
                       "%5; text-decoration: %6;")
            .arg(family, css["size"].toString(), css["weight"].toString(), css["style"].toString(),
                 css["color"].toString(), css["decoration"].toString());
    return css;
}

} // namespace html
