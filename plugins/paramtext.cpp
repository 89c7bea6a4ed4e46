// SPDX-License-Identifier: GPL-2.0-or-later
#include "plugins/paramtext.h"

#include <cmath>
#include <cstring>

#include <QStringList>

namespace paramtext
{

namespace
{

// "#rrggbb" only.
std::optional<uint32_t> parseHash(const QString& text)
{
    if (text.size() != 7 || !text.startsWith(u'#'))
        return std::nullopt;
    bool ok = false;
    const uint32_t rgb = text.mid(1).toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return ((rgb >> 16) & 0xff) | (rgb & 0xff00) | ((rgb & 0xff) << 16);
}

// "12pt", "12 pt", "10.5" as points.
std::optional<double> parsePoints(QString text)
{
    if (text.endsWith(QStringLiteral("pt"), Qt::CaseInsensitive))
        text = text.chopped(2).trimmed();
    bool ok = false;
    const double points = text.toDouble(&ok);
    if (!ok || !(points >= 1.0 && points <= 1000.0))
        return std::nullopt;
    return points;
}

bool setFace(GVFontBlock& block, const QString& face)
{
    const QByteArray bytes = face.toUtf8();
    if (bytes.isEmpty() || bytes.size() > MaxFaceBytes)
        return false;
    std::memset(block.logFont.lfFaceName, 0, sizeof block.logFont.lfFaceName);
    std::memcpy(block.logFont.lfFaceName, bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}

// One of the words after the family; false for a word that means nothing.
bool applyWord(GVFontBlock& block, const QString& word)
{
    const QString lower = word.toLower();
    if (lower == u"bold") {
        block.logFont.lfWeight = GV_FW_BOLD;
    } else if (lower == u"italic") {
        block.logFont.lfItalic = 1;
    } else if (lower == u"regular" || lower == u"normal") {
        block.logFont.lfWeight = GV_FW_NORMAL;
        block.logFont.lfItalic = 0;
    } else if (const std::optional<uint32_t> colour = parseHash(word)) {
        block.chooseFont.rgbColors = *colour;
    } else if (const std::optional<double> points = parsePoints(word)) {
        block.chooseFont.iPointSize = static_cast<int32_t>(std::lround(*points * 10));
        block.logFont.lfHeight = -static_cast<int32_t>(std::lround(*points * ScreenDpi / 72));
    } else {
        return false;
    }
    return true;
}

} // namespace

std::optional<uint32_t> ParseColour(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(u'#'))
        return parseHash(trimmed);
    bool ok = false;
    const bool hex = trimmed.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive);
    const qulonglong number =
        hex ? trimmed.mid(2).toULongLong(&ok, 16) : trimmed.toULongLong(&ok, 10);
    if (!ok || number > 0x00ffffffu)
        return std::nullopt;
    return static_cast<uint32_t>(number);
}

QString FormatColour(uint32_t colorref)
{
    return QStringLiteral("#%1%2%3")
        .arg(colorref & 0xff, 2, 16, QLatin1Char('0'))
        .arg((colorref >> 8) & 0xff, 2, 16, QLatin1Char('0'))
        .arg((colorref >> 16) & 0xff, 2, 16, QLatin1Char('0'));
}

std::optional<GVFontBlock> ParseFont(const QString& text, const GVFontBlock& current)
{
    const QStringList parts = text.split(u',');
    GVFontBlock block = current;
    if (!setFace(block, parts.first().trimmed()))
        return std::nullopt;
    block.logFont.lfWeight = GV_FW_NORMAL;
    block.logFont.lfItalic = 0;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString word = parts[i].trimmed();
        if (!word.isEmpty() && !applyWord(block, word))
            return std::nullopt;
    }
    return block;
}

QString FormatFont(const GVFontBlock& block)
{
    const GVLogFont& font = block.logFont;
    QString text = QString::fromUtf8(
        font.lfFaceName, static_cast<qsizetype>(strnlen(font.lfFaceName, sizeof font.lfFaceName)));
    double points = block.chooseFont.iPointSize / 10.0;
    if (points <= 0 && font.lfHeight != 0)
        points = std::abs(font.lfHeight) * 72.0 / ScreenDpi;
    if (points > 0)
        text += QStringLiteral(", %1pt").arg(points);
    if (font.lfWeight >= GV_FW_BOLD)
        text += QStringLiteral(", bold");
    if (font.lfItalic != 0)
        text += QStringLiteral(", italic");
    return text + QStringLiteral(", ") + FormatColour(block.chooseFont.rgbColors);
}

} // namespace paramtext
