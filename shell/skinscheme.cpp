// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/skinscheme.h"

namespace
{

SkinScheme lightScheme()
{
    SkinScheme s;
    s.band = QColor(159, 161, 143);
    s.bandEdge = QColor(128, 131, 113);
    s.bandLight = QColor(178, 180, 164);
    s.ink = QColor(44, 42, 56);
    s.inkSoft = QColor(96, 94, 114);
    s.label = QColor(105, 140, 110);
    s.header = QColor(67, 65, 83);
    s.button = QColor(67, 65, 83);
    s.accent = QColor(78, 110, 84);
    s.accentDark = QColor(60, 88, 66);
    s.onAccent = QColor(255, 255, 255);
    s.glyph = QColor(80, 112, 86);
    s.paper = QColor(243, 243, 238);
    s.paperEdge = QColor(214, 215, 205);
    s.outline = QColor(128, 131, 113);
    s.base = QColor(255, 255, 255);
    s.link = QColor(16, 36, 110);
    return s;
}

SkinScheme darkScheme()
{
    SkinScheme s;
    s.band = QColor(52, 55, 50);
    s.bandEdge = QColor(36, 38, 34);
    s.bandLight = QColor(68, 71, 65);
    s.ink = QColor(232, 233, 224);
    s.inkSoft = QColor(170, 170, 186);
    s.label = QColor(120, 170, 128);
    s.header = QColor(24, 24, 32);
    s.button = QColor(86, 84, 108);
    s.accent = QColor(62, 104, 72);
    s.accentDark = QColor(46, 82, 56);
    s.onAccent = QColor(255, 255, 255);
    s.glyph = QColor(138, 186, 146);
    s.paper = QColor(34, 36, 38);
    s.paperEdge = QColor(62, 65, 68);
    s.outline = QColor(104, 108, 112);
    s.base = QColor(24, 25, 28);
    s.link = QColor(140, 190, 255);
    return s;
}

} // namespace

const SkinScheme& SkinScheme::of(ColourScheme scheme)
{
    static const SkinScheme light = lightScheme();
    static const SkinScheme dark = darkScheme();
    return scheme == ColourScheme::Dark ? dark : light;
}

QPalette SkinScheme::palette() const
{
    QPalette p(ink, paper);
    p.setColor(QPalette::Window, paper);
    p.setColor(QPalette::WindowText, ink);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, paper);
    p.setColor(QPalette::Text, ink);
    p.setColor(QPalette::Button, paper);
    p.setColor(QPalette::ButtonText, ink);
    p.setColor(QPalette::BrightText, onAccent);
    p.setColor(QPalette::Highlight, accent);
    p.setColor(QPalette::HighlightedText, onAccent);
    p.setColor(QPalette::Link, link);
    p.setColor(QPalette::LinkVisited, link);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, ink);
    // Half-way between the text and its field: readable, yet plainly not typed text.
    QColor placeholder = ink;
    placeholder.setAlphaF(0.7f);
    p.setColor(QPalette::PlaceholderText, placeholder);
    // Disabled controls fade towards their background; they need not be read.
    const QColor faded = QColor::fromRgbF((ink.redF() + paper.redF()) / 2,
                                          (ink.greenF() + paper.greenF()) / 2,
                                          (ink.blueF() + paper.blueF()) / 2);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, faded);
    p.setColor(QPalette::Disabled, QPalette::Highlight, paperEdge);
    return p;
}

QString SkinScheme::pictureFile(const QString& file, ColourScheme scheme)
{
    if (scheme == ColourScheme::Light)
        return file;
    const int dot = file.lastIndexOf(u'.');
    return dot < 0 ? file + QStringLiteral("-dark")
                   : file.left(dot) + QStringLiteral("-dark") + file.mid(dot);
}
