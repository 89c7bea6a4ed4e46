// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/fixedturns.h"

std::optional<FixedTurn> FixedTurnOfCommand(int command)
{
    switch (command) {
    case CommandRotate90: return FixedTurn::Rotate90;
    case CommandRotate270: return FixedTurn::Rotate270;
    case CommandRotate180: return FixedTurn::Rotate180;
    case CommandFlipHorizontal: return FixedTurn::FlipHorizontal;
    case CommandFlipVertical: return FixedTurn::FlipVertical;
    default: return std::nullopt;
    }
}

TurnSettings SettingsOf(FixedTurn turn)
{
    switch (turn) {
    case FixedTurn::Rotate90: return {90, false, false};
    case FixedTurn::Rotate270: return {270, false, false};
    case FixedTurn::Rotate180: return {180, false, false};
    case FixedTurn::FlipHorizontal: return {0, true, false};
    case FixedTurn::FlipVertical: return {0, false, true};
    }
    return {};
}

TransformMatrix MatrixOf(FixedTurn turn)
{
    const TurnSettings settings = SettingsOf(turn);
    return RotationMatrix(settings.angle, settings.flipHorizontal, settings.flipVertical);
}

PackedImage TurnImage(const BITMAPINFOHEADER& source, const uint8_t* sourcePixels,
                      FixedTurn turn, const ProgressCallback* progress)
{
    return TransformImage(source, sourcePixels, MatrixOf(turn), progress);
}
