// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/skinhooks.h"

#include <QColor>

namespace
{

SkinHooks::PictureSource& pictureSource()
{
    static SkinHooks::PictureSource source;
    return source;
}

SkinHooks::ColourSource& colourSource()
{
    static SkinHooks::ColourSource source;
    return source;
}

} // namespace

void SkinHooks::install(PictureSource pictures, ColourSource colours)
{
    pictureSource() = std::move(pictures);
    colourSource() = std::move(colours);
}

QImage SkinHooks::picture(int pictureId)
{
    return pictureSource() ? pictureSource()(pictureId) : QImage();
}

int32_t SkinHooks::colour(int index)
{
    if (colourSource())
        return colourSource()(index);
    // The default skin, so that a control made before the application is still readable.
    static const int32_t defaults[3] = {9413023, 3680812, 7244905};
    return index >= 0 && index < 3 ? defaults[index] : 0;
}

QColor colorFromRef(uint32_t ref)
{
    return QColor(int(ref & 0xff), int((ref >> 8) & 0xff), int((ref >> 16) & 0xff));
}

uint32_t refFromColor(const QColor& color)
{
    return uint32_t(color.red()) | uint32_t(color.green()) << 8 | uint32_t(color.blue()) << 16;
}
