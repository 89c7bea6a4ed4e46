// SPDX-License-Identifier: GPL-2.0-or-later
// The skin's artwork: every picture the program loads by picture id, drawn with QPainter in
// the colours of the light or the dark skin scheme.
#pragma once

#include <vector>

#include <QColor>
#include <QImage>
#include <QString>

#include "shell/skinscheme.h"

enum class ArtKind {
    Wizard,  // the sheet's Back, Next and Done: three states on the button band
    Link,    // Help and Cancel: small text buttons, two states
    Tool,    // icon and label, two states (normal, hover or pressed)
    Choice,  // a wide option with a radio mark, two states (off, on)
    Check,   // a check box with a label, two states (off, on)
    Step,    // the wizard's background for one step
    Panel,   // a quiet background area
    Label,   // an icon with a caption, one frame
    Picture, // an illustration (JPEG)
};

enum class Glyph {
    None,
    Back,
    Next,
    Check,
    Cross,
    Help,
    Plus,
    Minus,
    Sparkle,
    Printer,
    Tip,
    Lifebuoy,
    Disk,
    Star,
    Key,
    Person,
    Folder,
    FolderPlus,
    FolderMinus,
    Transfer,
    Plug,
    Globe,
    Trash,
    Find,
    Font,
    Palette,
    Up,
    Down,
    Download,
    Change,
    Top,
    Bottom,
    RotateRight,
    RotateLeft,
    Levels,
    Pencil,
    Eye,
    Gear,
    Open,
    Info,
    CheckAll,
    UncheckAll,
    Apply,
    Comment,
    Camera,
};

struct ArtSpec {
    int id;
    const char* file;
    ArtKind kind;
    int width; // of one frame
    int height;
    int states;
    const char* label;
    Glyph glyph;
    int step; // Step pictures: the highlighted step
};

// Every skin picture, in picture id order.
const std::vector<ArtSpec>& artTable();
// The picture strip at scale (1 or 2) in the colours of scheme, all frames side by side.
QImage drawArt(const ArtSpec& spec, int scale, ColourScheme scheme = ColourScheme::Light);
// The colour the picture is shown on, for blending its soft edges.
QColor artMatte(const ArtSpec& spec, ColourScheme scheme = ColourScheme::Light);
// The opacity (0 to 255) of a step's name in the step bar while current is shown: done
// and coming steps are quieter than the current one.
int stepTextAlpha(int step, int current);
