// SPDX-License-Identifier: GPL-2.0-or-later
// The fixed rotations and flips of the editor's menu and toolbar, each a transform of the whole
// image that moves pixels without resampling them.
#pragma once

#include <cstdint>
#include <optional>

#include "enhancer/affinetransform.h"

enum class FixedTurn { Rotate90, Rotate270, Rotate180, FlipHorizontal, FlipVertical };

// The commands that ask for them.
inline constexpr int CommandRotate90 = 32777;
inline constexpr int CommandRotate270 = 32779;
inline constexpr int CommandRotate180 = 32781;
inline constexpr int CommandFlipHorizontal = 32783;
inline constexpr int CommandFlipVertical = 32784;

// The turn of a menu or toolbar command; none for other commands.
std::optional<FixedTurn> FixedTurnOfCommand(int command);

// The angle and flips a turn stands for, as the custom rotation gives them.
struct TurnSettings {
    int angle = 0;
    bool flipHorizontal = false;
    bool flipVertical = false;
};
TurnSettings SettingsOf(FixedTurn turn);

TransformMatrix MatrixOf(FixedTurn turn);

// The turned image; none when stopped through progress or memory is short.
PackedImage TurnImage(const BITMAPINFOHEADER& source, const uint8_t* sourcePixels,
                      FixedTurn turn, const ProgressCallback* progress);
