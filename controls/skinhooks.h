// SPDX-License-Identifier: GPL-2.0-or-later
// The controls draw with the application's skin, which lives above them in the shell. The
// application installs these two sources once at start-up; until then the controls find no
// pictures and paint with the default skin colours.
#pragma once

#include <cstdint>
#include <functional>

#include <QImage>

namespace SkinHooks
{

using PictureSource = std::function<QImage(int pictureId)>;
using ColourSource = std::function<int32_t(int index)>;

// Either may be empty, which restores the fallback.
void install(PictureSource pictures, ColourSource colours);
// The picture of id, or a null image.
QImage picture(int pictureId);
// Skin colour 0 (background), 1 (text) or 2 (label) as a COLORREF.
int32_t colour(int index);

} // namespace SkinHooks

// COLORREF (0x00BBGGRR) to and from QColor.
QColor colorFromRef(uint32_t ref);
uint32_t refFromColor(const QColor& color);
