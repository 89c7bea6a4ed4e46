// SPDX-License-Identifier: GPL-2.0-or-later
// The preview toolbars' pictures, drawn as vectors in the palette's text colour so that they
// stay sharp on dense screens and readable on light and dark palettes.
#pragma once

#include <QIcon>

enum class PreviewIconKind { ZoomIn, ZoomOut, Drag, Brush, Undo, Redo, Palette, Picker };

QIcon PreviewIcon(PreviewIconKind kind, const QColor& ink, int size);
