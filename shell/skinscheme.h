// SPDX-License-Identifier: GPL-2.0-or-later
// SkinScheme: every colour the skin paints with, in a light and a dark set. The artwork
// generator draws each set's pictures from it, the skin takes its three default colours from
// it, and the windows' Qt palette is made from it, so that standard controls match the skin.
#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

enum class ColourScheme { Light, Dark };

struct SkinScheme {
    QColor band;       // the wizard's button band and the dialogs (skin colour 0)
    QColor bandEdge;   // the band's top line, outlines on the band
    QColor bandLight;  // the light line under the band's edge
    QColor ink;        // text on the band and on paper (skin colour 1)
    QColor inkSoft;    // outlines of check boxes
    QColor label;      // accents: the tip's bulb, marks (skin colour 2)
    QColor header;     // the step bar at the top of the wizard
    QColor button;     // the wizard buttons and the hovered link buttons
    QColor accent;     // hovered tools, chosen options, the current step
    QColor accentDark; // pressed buttons, edges of accented shapes
    QColor onAccent;   // text on header, button and accent colours
    QColor glyph;      // the small icons on tools
    QColor paper;      // the page area and the tools' face
    QColor paperEdge;  // quiet outlines on paper (panels)
    QColor outline;    // outlines of tools and options on paper
    QColor base;       // lists and edit fields
    QColor link;       // links in texts

    // The colours of scheme.
    static const SkinScheme& of(ColourScheme scheme);
    // The Qt palette for the windows of the scheme: text, fields, selections and links in
    // the skin's colours.
    QPalette palette() const;
    // The file a skin picture of the scheme is drawn into: the light one under its own name
    // ("back.gif"), the dark one beside it ("back-dark.gif").
    static QString pictureFile(const QString& file, ColourScheme scheme);
};
