// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/dialogchoosers.h"

#include <cstring>

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>

namespace
{

QColor fromColorRef(uint32_t value)
{
    return QColor(static_cast<int>(value & 0xff), static_cast<int>((value >> 8) & 0xff),
                  static_cast<int>((value >> 16) & 0xff));
}

uint32_t toColorRef(const QColor& colour)
{
    return static_cast<uint32_t>(colour.red()) | (static_cast<uint32_t>(colour.green()) << 8) |
           (static_cast<uint32_t>(colour.blue()) << 16);
}

QFont fontOf(const GVFontBlock& block)
{
    QFont font(QString::fromLatin1(
        block.logFont.lfFaceName,
        static_cast<int>(strnlen(block.logFont.lfFaceName, sizeof block.logFont.lfFaceName))));
    if (block.chooseFont.iPointSize > 0)
        font.setPointSizeF(block.chooseFont.iPointSize / 10.0);
    font.setBold(block.logFont.lfWeight >= GV_FW_BOLD);
    font.setItalic(block.logFont.lfItalic != 0);
    font.setUnderline(block.logFont.lfUnderline != 0);
    font.setStrikeOut(block.logFont.lfStrikeOut != 0);
    return font;
}

void storeFont(const QFont& font, GVFontBlock& block)
{
    const QByteArray face = font.family().toLatin1().left(sizeof block.logFont.lfFaceName - 1);
    std::memset(block.logFont.lfFaceName, 0, sizeof block.logFont.lfFaceName);
    std::memcpy(block.logFont.lfFaceName, face.constData(), static_cast<size_t>(face.size()));
    block.chooseFont.iPointSize = static_cast<int32_t>(font.pointSizeF() * 10.0 + 0.5);
    // Logical height at 96 dots per inch, negative: a character height, as the format wants.
    block.logFont.lfHeight = -static_cast<int32_t>(font.pointSizeF() * 96.0 / 72.0 + 0.5);
    block.logFont.lfWeight = font.bold() ? GV_FW_BOLD : GV_FW_NORMAL;
    block.logFont.lfItalic = font.italic() ? 1 : 0;
    block.logFont.lfUnderline = font.underline() ? 1 : 0;
    block.logFont.lfStrikeOut = font.strikeOut() ? 1 : 0;
}

} // namespace

QString DialogChoosers::dialogFilter(const QString& filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList names;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        names << QStringLiteral("%1 (%2)").arg(parts[i].section(QLatin1String(" ("), 0, 0),
                                               patterns);
    }
    return names.join(QStringLiteral(";;"));
}

QString DialogChoosers::openFile(const QString& title, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(m_owner.data(), title, folder, dialogFilter(filter));
}

QStringList DialogChoosers::openFiles(const QString& title, const QString& folder,
                                      const QString& filter)
{
    return QFileDialog::getOpenFileNames(m_owner.data(), title, folder, dialogFilter(filter));
}

QString DialogChoosers::saveFile(const QString& title, const QString& suggested,
                                 const QString& filter)
{
    return QFileDialog::getSaveFileName(m_owner.data(), title, suggested, dialogFilter(filter));
}

QString DialogChoosers::folder(const QString& title, const QString& start)
{
    return QFileDialog::getExistingDirectory(m_owner.data(), title, start);
}

std::optional<uint32_t> DialogChoosers::colour(uint32_t initial)
{
    const QColor chosen = QColorDialog::getColor(fromColorRef(initial), m_owner.data());
    if (!chosen.isValid())
        return std::nullopt;
    return toColorRef(chosen);
}

bool DialogChoosers::font(GVFontBlock& block)
{
    bool accepted = false;
    const QFont chosen = QFontDialog::getFont(&accepted, fontOf(block), m_owner.data());
    if (!accepted)
        return false;
    storeFont(chosen, block);
    return true;
}
