// SPDX-License-Identifier: GPL-2.0-or-later
#include "skinart.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "glyphs.h"
#include "shell/skinscheme.h"

namespace
{

using K = ArtKind;
using G = Glyph;

const char* const StepNames[7] = {"Welcome",    "Albums",   "Theme", "Photos",
                                  "Properties", "Generate", "Finish"};

QFont artFont(int pixels, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QPainterPath pill(const QRectF& box, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    return path;
}

// An icon followed by its caption, centred together in box.
void iconAndText(QPainter& p, const QRectF& box, Glyph glyph, const QString& text,
                 const QColor& colour, int pixels, bool bold, bool glyphAfter = false,
                 QColor glyphColour = QColor())
{
    p.setFont(artFont(pixels, bold));
    const qreal textWidth = text.isEmpty() ? 0 : p.fontMetrics().horizontalAdvance(text);
    const qreal icon = glyph == G::None ? 0 : qMin<qreal>(14, box.height() - 6);
    const qreal gap = icon > 0 && textWidth > 0 ? 5 : 0;
    qreal x = box.center().x() - (icon + gap + textWidth) / 2;
    const QRectF iconBox(glyphAfter ? x + textWidth + gap : x, box.center().y() - icon / 2, icon,
                         icon);
    drawGlyph(p, glyph, iconBox, glyphColour.isValid() ? glyphColour : colour);
    if (!glyphAfter)
        x += icon + gap;
    p.setPen(colour);
    p.drawText(QRectF(x, box.top(), textWidth + 2, box.height()), Qt::AlignVCenter, text);
}

void drawWizard(QPainter& p, const ArtSpec& s, int frame, const SkinScheme& c)
{
    // The clickable part is 3,3-73,27; the margin stays the band's own colour.
    QRectF body(3, 3, s.width - 6, s.height - 6);
    const QColor fill = frame == 0 ? c.button : frame == 1 ? c.accent : c.accentDark;
    if (frame == 2)
        body.translate(0, 1);
    p.fillPath(pill(body.translated(0, 1), 5), QColor(0, 0, 0, 40));
    p.fillPath(pill(body, 5), fill);
    const bool after = s.glyph == G::Next;
    iconAndText(p, body, s.glyph, QString::fromLatin1(s.label), c.onAccent, 12, true, after);
}

void drawLink(QPainter& p, const ArtSpec& s, int frame, const SkinScheme& c)
{
    const QRectF body(0.5, 0.5, s.width - 1, s.height - 1);
    if (frame == 1)
        p.fillPath(pill(body, s.height / 2.0), c.button);
    iconAndText(p, body, s.glyph, QString::fromLatin1(s.label), frame == 1 ? c.onAccent : c.ink, 11,
                false);
}

void drawTool(QPainter& p, const ArtSpec& s, int frame, const SkinScheme& c)
{
    const QRectF body(0.5, 0.5, s.width - 1, s.height - 1);
    p.setPen(QPen(frame == 0 ? c.outline : c.accentDark, 1));
    p.setBrush(frame == 0 ? c.paper : c.accent);
    p.drawPath(pill(body, 4));
    const QColor ink = frame == 0 ? c.ink : c.onAccent;
    iconAndText(p, body, s.glyph, QString::fromLatin1(s.label), ink, 11, false, false,
                frame == 0 ? c.glyph : c.onAccent);
}

void drawChoice(QPainter& p, const ArtSpec& s, int frame, const SkinScheme& c)
{
    const QRectF body(0.5, 0.5, s.width - 1, s.height - 1);
    const bool on = frame == 1;
    p.setPen(QPen(on ? c.accentDark : c.outline, 1));
    p.setBrush(on ? c.accent : c.paper);
    p.drawPath(pill(body, s.height / 2.0));
    const QRectF mark(7, s.height / 2.0 - 6, 12, 12);
    p.setPen(QPen(on ? c.onAccent : c.outline, 1.5));
    p.setBrush(on ? c.onAccent : c.paper);
    p.drawEllipse(mark);
    if (on)
        p.setBrush(c.accentDark), p.setPen(Qt::NoPen), p.drawEllipse(mark.adjusted(3, 3, -3, -3));
    p.setFont(artFont(12, on));
    p.setPen(on ? c.onAccent : c.ink);
    p.drawText(QRectF(27, 0, s.width - 30, s.height), Qt::AlignVCenter,
               QString::fromLatin1(s.label));
}

void drawCheck(QPainter& p, const ArtSpec& s, int frame, const SkinScheme& c)
{
    const qreal side = qMin(13, s.height - 3);
    const QRectF box(1.5, (s.height - side) / 2.0, side, side);
    p.setPen(QPen(frame == 1 ? c.accentDark : c.inkSoft, 1.2));
    p.setBrush(frame == 1 ? c.accent : c.base);
    p.drawRoundedRect(box, 2.5, 2.5);
    if (frame == 1)
        drawGlyph(p, G::Check, box.adjusted(1, 1, -1, -1), c.onAccent);
    p.setFont(artFont(11, false));
    p.setPen(c.ink);
    p.drawText(QRectF(box.right() + 6, 0, s.width, s.height), Qt::AlignVCenter,
               QString::fromLatin1(s.label));
}

void drawStepHeader(QPainter& p, int current, const SkinScheme& c)
{
    p.fillRect(QRectF(0, 0, 598, 40), c.header);
    p.fillRect(QRectF(0, 0, 598, 1), c.inkSoft);
    p.setFont(artFont(15, true));
    p.setPen(c.onAccent);
    p.drawText(QRectF(16, 0, 120, 40), Qt::AlignVCenter, QStringLiteral("Gallivex"));
    const qreal left = 118, width = 68;
    for (int i = 0; i < 7; ++i) {
        const QRectF chip(left + i * width, 10, width - 4, 20);
        if (i == current)
            p.fillPath(pill(chip, 10), c.accent);
        p.setFont(artFont(11, i == current));
        // Steps to come are quieter, yet as readable as any text.
        QColor text = c.onAccent;
        text.setAlpha(stepTextAlpha(i, current));
        p.setPen(text);
        p.drawText(chip, Qt::AlignCenter, QString::fromLatin1(StepNames[i]));
    }
    p.fillRect(QRectF(0, 40, 598, 2), c.accent);
}

void drawStep(QPainter& p, const ArtSpec& s, const SkinScheme& c)
{
    // The page area stays quiet: paper with a faint fall-off, nothing for controls to fight.
    // Flat, so that the 256-colour palette never bands it.
    p.fillRect(QRectF(0, 42, 598, 454), c.paper);
    drawStepHeader(p, s.step, c);
    // The button band is the skin background, so disabled wizard buttons blend away.
    p.fillRect(QRectF(0, 496, 598, 52), c.band);
    p.fillRect(QRectF(0, 496, 598, 1), c.bandEdge);
    p.fillRect(QRectF(0, 497, 598, 1), c.bandLight);
    // Where the user is among the seven steps, once more as a thin progress line.
    const qreal done = 598.0 * (s.step + 1) / 7.0;
    p.fillRect(QRectF(0, 494, done, 2), c.accent);
}

void drawPanel(QPainter& p, const ArtSpec& s, const SkinScheme& c)
{
    const QRectF body(0.5, 0.5, s.width - 1, s.height - 1);
    QLinearGradient fill(0, 0, 0, s.height);
    fill.setColorAt(0, c.base);
    fill.setColorAt(1, c.paper);
    p.setPen(QPen(c.paperEdge, 1));
    p.setBrush(fill);
    p.drawPath(pill(body, s.height < 60 ? 3 : 6));
}

void drawLabel(QPainter& p, const ArtSpec& s, const SkinScheme& c)
{
    const QRectF body(0, 0, s.width, s.height);
    if (s.label[0] == '\0') {
        drawGlyph(p, s.glyph, body.adjusted(4, 4, -4, -4), c.glyph);
        return;
    }
    p.setFont(artFont(11, true));
    const qreal icon = s.height - 6;
    drawGlyph(p, s.glyph, QRectF(2, 3, icon, icon), c.glyph);
    p.setPen(c.ink);
    p.drawText(body.adjusted(icon + 8, 0, 0, 0), Qt::AlignVCenter, QString::fromLatin1(s.label));
}

void drawIllustration(QPainter& p, const ArtSpec& s, const SkinScheme& c)
{
    // Photos becoming an album page: three cards fanned over a browser window.
    p.fillRect(QRectF(0, 0, s.width, s.height), c.paper);
    const QRectF window(40, 30, 140, 100);
    p.setPen(QPen(c.outline, 1));
    p.setBrush(c.base);
    p.drawRoundedRect(window, 4, 4);
    p.fillRect(QRectF(41, 31, 139, 12), c.header);
    for (int i = 0; i < 6; ++i)
        p.fillRect(QRectF(50 + (i % 3) * 42, 52 + (i / 3) * 36, 36, 28),
                   i % 2 ? QColor(186, 204, 188) : QColor(210, 200, 178));
    const QColor cards[3] = {QColor(214, 170, 110), c.label, QColor(120, 150, 190)};
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(34 + i * 14, 104 - i * 6);
        p.rotate(-18 + i * 14);
        p.setPen(QPen(c.outline, 1));
        p.setBrush(c.base);
        p.drawRect(QRectF(-26, -22, 52, 42));
        p.fillRect(QRectF(-22, -18, 44, 30), cards[i]);
        p.restore();
    }
}

void drawFrame(QPainter& p, const ArtSpec& s, int frame, const SkinScheme& c)
{
    switch (s.kind) {
    case K::Wizard:
        drawWizard(p, s, frame, c);
        break;
    case K::Link:
        drawLink(p, s, frame, c);
        break;
    case K::Tool:
        drawTool(p, s, frame, c);
        break;
    case K::Choice:
        drawChoice(p, s, frame, c);
        break;
    case K::Check:
        drawCheck(p, s, frame, c);
        break;
    case K::Step:
        drawStep(p, s, c);
        break;
    case K::Panel:
        drawPanel(p, s, c);
        break;
    case K::Label:
        drawLabel(p, s, c);
        break;
    case K::Picture:
        drawIllustration(p, s, c);
        break;
    }
}

} // namespace

QImage drawArt(const ArtSpec& spec, int scale, ColourScheme scheme)
{
    const SkinScheme& colours = SkinScheme::of(scheme);
    QImage strip(spec.width * spec.states * scale, spec.height * scale,
                 QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale, scale);
    for (int frame = 0; frame < spec.states; ++frame) {
        p.save();
        p.translate(frame * spec.width, 0);
        p.setClipRect(QRect(0, 0, spec.width, spec.height));
        drawFrame(p, spec, frame, colours);
        p.restore();
    }
    return strip;
}

QColor artMatte(const ArtSpec& spec, ColourScheme scheme)
{
    // Wizard, dialog and option pictures sit on the skin background; page tools on paper.
    switch (spec.kind) {
    case K::Tool:
    case K::Panel:
    case K::Label:
    case K::Choice:
        return SkinScheme::of(scheme).paper;
    default:
        return SkinScheme::of(scheme).band;
    }
}

int stepTextAlpha(int step, int current)
{
    return step == current ? 255 : step < current ? 230 : 190;
}
