// SPDX-License-Identifier: GPL-2.0-or-later
// RedEyeTool: what the red-eye control does with the mouse and keys, without the control. It
// keeps the modes (drag or brush, Space held for a moment's drag, picking a colour), lays the
// dabs of a stroke on the working picture and records every stroke for undo, and says which
// toolbar buttons are enabled and pressed and which cursor the picture shows.
#pragma once

#include <cstdint>

#include "enhancer/brushview.h"
#include "enhancer/dib.h"
#include "enhancer/redeyebrush.h"
#include "enhancer/strokehistory.h"

class RedEyeTool
{
public:
    // Brush: no system cursor, the brush outline stands for it.
    enum class Cursor { Arrow, OpenHand, ClosedHand, Picker, Brush };
    // What the preview must do after a mouse event.
    enum class Redraw { None, Outline, Full };

    struct Buttons {
        bool brushEnabled = false, brushPressed = false;
        bool dragEnabled = false, dragPressed = false;
        bool undoEnabled = false, redoEnabled = false;
        bool paletteEnabled = false, pickEnabled = false, pickPressed = false;
    };

    // The working picture the dialog owns; it must outlive the tool.
    RedEyeTool(const BITMAPINFOHEADER& header, uint8_t* workingPixels);

    void SetBrushMode(bool on);
    void SetTemporaryDrag(bool held); // Space down and up
    void SetCustomMode(bool on);      // the two colour radios
    void StartPicking();

    // The left button went down, the mouse moved (button held or not) and the button came up;
    // (x, y) in the image window's coordinates. A move outside the window changes nothing.
    Redraw ButtonDown(const BrushView& view, double x, double y);
    Redraw MouseMove(const BrushView& view, double x, double y, bool buttonHeld);
    Redraw ButtonUp();
    // A click while picking: takes the colour shown at window position (x, y) of the rendered
    // preview. False when the click missed it.
    bool PickFrom(const BITMAPINFOHEADER& shownHeader, const uint8_t* shownPixels, int x, int y);

    // The undo and redo buttons and the Z and X keys; false when there was nothing to do.
    bool UndoStroke();
    bool RedoStroke();

    Buttons ButtonStates() const;
    // The cursor over the image window; canPan when the preview is zoomed past its fit,
    // dragging while the button holds the picture.
    Cursor CursorOverImage(bool canPan, bool dragging) const;
    // The brush lays dabs (rather than the mouse dragging the picture).
    bool Painting() const { return m_brushMode && !m_temporaryDrag && !m_picking; }
    bool Picking() const { return m_picking; }
    bool StrokeOpen() const { return m_history.StrokeOpen(); }
    // The brush position in window coordinates, for its outline.
    double BrushX() const { return m_brushX; }
    double BrushY() const { return m_brushY; }

    RedEyeBrush brush;

private:
    BITMAPINFOHEADER m_header;
    uint8_t* m_pixels;
    StrokeHistory m_history;
    bool m_brushMode = false;
    bool m_temporaryDrag = false;
    bool m_picking = false;
    double m_brushX = 0, m_brushY = 0;
};
