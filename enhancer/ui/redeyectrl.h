// SPDX-License-Identifier: GPL-2.0-or-later
// CRedEyeCtrl: the red-eye dialog's preview. Besides zooming and dragging it paints strokes
// with the round brush (its outline standing in for the cursor), undoes and redoes them, and
// picks a colour from the picture. RedEyeTool decides; this control draws and forwards.
#pragma once

#include <memory>

#include "enhancer/redeyetool.h"
#include "enhancer/ui/previewctrl.h"

class CRedEyeCtrl : public CPreviewCtrl
{
    Q_OBJECT
public:
    explicit CRedEyeCtrl(QWidget* parent);
    ~CRedEyeCtrl() override;

    // The working picture the dialog owns and edits (it must outlive the control); shown at
    // the fit zoom.
    void Start(const BITMAPINFOHEADER& header, uint8_t* working);
    RedEyeTool* Tool() const { return m_tool.get(); }

    void SetBrushMode(bool on);
    void SetTemporaryDrag(bool held);
    void SetCustomMode(bool on);
    void StartPicking();
    void UndoStroke();
    void RedoStroke();
    // The brush's size or strength changed: the outline follows.
    void BrushChanged() { RenderOverlay(); }

    QAction* DragAction() const { return m_drag; }
    QAction* BrushAction() const { return m_brush; }
    QAction* UndoAction() const { return m_undo; }
    QAction* RedoAction() const { return m_redo; }

    // Refreshes the toolbar; the dialog's own buttons follow through StateChanged.
    void UpdateButtons() override;

signals:
    // The modes or the stroke history changed.
    void StateChanged();
    // A click while picking took this colour (COLORREF).
    void ColourPicked(uint32_t colour);

protected:
    void DrawOverlay(QPainter& painter) override;
    void ImageMousePress(QMouseEvent* event) override;
    void ImageMouseMove(QMouseEvent* event) override;
    void ImageMouseRelease(QMouseEvent* event) override;
    void ImageLeave() override;
    void UpdateCursor() override;
    void PaintIcons() override;

private:
    void Redraw(RedEyeTool::Redraw redraw);
    void PickAt(QPointF position);

    std::unique_ptr<RedEyeTool> m_tool;
    QAction* m_drag = nullptr;
    QAction* m_brush = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    bool m_brushShown = false; // the mouse is over the picture: its outline is drawn
};
