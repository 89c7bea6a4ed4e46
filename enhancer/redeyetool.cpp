// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/redeyetool.h"

RedEyeTool::RedEyeTool(const BITMAPINFOHEADER& header, uint8_t* workingPixels)
    : m_header(header), m_pixels(workingPixels), m_history(header.biWidth, header.biHeight)
{
}

void RedEyeTool::SetBrushMode(bool on)
{
    m_brushMode = on;
}

void RedEyeTool::SetTemporaryDrag(bool held)
{
    m_temporaryDrag = held;
}

void RedEyeTool::SetCustomMode(bool on)
{
    brush.customMode = on;
    // Picking belongs to the custom colour: leaving it leaves picking too.
    if (!on)
        m_picking = false;
}

void RedEyeTool::StartPicking()
{
    if (brush.customMode)
        m_picking = true;
}

RedEyeTool::Redraw RedEyeTool::ButtonDown(const BrushView& view, double x, double y)
{
    if (!Painting() || m_pixels == nullptr || m_history.StrokeOpen())
        return Redraw::None;
    m_brushX = x;
    m_brushY = y;
    const BrushPoint point = view.ImagePointAt(x, y);
    m_history.BeginStroke(m_pixels, brush.size, point.x, point.y);
    brush.Dab(m_header, m_pixels, point.x, point.y);
    // The new pixels show with the next full rendering; for now only the outline moves.
    return Redraw::Outline;
}

RedEyeTool::Redraw RedEyeTool::MouseMove(const BrushView& view, double x, double y, bool buttonHeld)
{
    // Outside the image window the system cursor is back and the brush stays where it was.
    const bool inside = x >= 0 && y >= 0 && x < view.windowWidth && y < view.windowHeight;
    if (!Painting() || !inside)
        return Redraw::None;
    m_brushX = x;
    m_brushY = y;
    if (!buttonHeld || !m_history.StrokeOpen() || !view.DabFits(x, y, brush.size))
        return Redraw::Outline;
    // Dabs go where the mouse was reported, without filling the gaps between them.
    const BrushPoint point = view.ImagePointAt(x, y);
    brush.Dab(m_header, m_pixels, point.x, point.y);
    m_history.Extend(point.x, point.y);
    return Redraw::Full;
}

RedEyeTool::Redraw RedEyeTool::ButtonUp()
{
    if (!m_history.StrokeOpen())
        return Redraw::None;
    m_history.EndStroke(m_pixels);
    return Redraw::Full;
}

bool RedEyeTool::PickFrom(const BITMAPINFOHEADER& shownHeader, const uint8_t* shownPixels, int x,
                          int y)
{
    if (!m_picking || !PickColour(shownHeader, shownPixels, x, y, &brush.customColour))
        return false;
    m_picking = false;
    return true;
}

bool RedEyeTool::UndoStroke()
{
    if (!ButtonStates().undoEnabled || m_history.StrokeOpen())
        return false;
    m_history.Undo(m_pixels);
    return true;
}

bool RedEyeTool::RedoStroke()
{
    if (!ButtonStates().redoEnabled || m_history.StrokeOpen())
        return false;
    m_history.Redo(m_pixels);
    return true;
}

RedEyeTool::Buttons RedEyeTool::ButtonStates() const
{
    Buttons buttons;
    buttons.brushEnabled = buttons.dragEnabled = !m_picking;
    buttons.brushPressed = m_brushMode && !m_temporaryDrag;
    buttons.dragPressed = !buttons.brushPressed;
    buttons.undoEnabled = m_history.CanUndo() && !m_picking;
    buttons.redoEnabled = m_history.CanRedo() && !m_picking;
    buttons.paletteEnabled = buttons.pickEnabled = brush.customMode;
    buttons.pickPressed = m_picking;
    return buttons;
}

RedEyeTool::Cursor RedEyeTool::CursorOverImage(bool canPan, bool dragging) const
{
    if (m_picking)
        return Cursor::Picker;
    if (Painting())
        return Cursor::Brush;
    if (dragging)
        return Cursor::ClosedHand;
    if (m_temporaryDrag)
        return Cursor::OpenHand;
    return canPan ? Cursor::OpenHand : Cursor::Arrow;
}
