// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/redeyectrl.h"

#include <QAction>
#include <QMouseEvent>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

#include "enhancer/brushview.h"
#include "enhancer/lumivexstrings.h"
#include "enhancer/ui/previewicons.h"

namespace {

constexpr int IconSize = 24;

// The eyedropper cursor, its tip at the bottom left.
QCursor PickerCursor(const QColor& ink)
{
    const QPixmap picture = PreviewIcon(PreviewIconKind::Picker, ink, IconSize).pixmap(IconSize);
    return QCursor(picture, 4, 20);
}

} // namespace

CRedEyeCtrl::CRedEyeCtrl(QWidget* parent) : CPreviewCtrl(parent, PreviewZoom::RedEyeStep)
{
    QToolBar* bar = ToolBar();
    m_drag = bar->addAction(TipOf(32801), this, [this] { SetBrushMode(false); });
    m_brush = bar->addAction(TipOf(32790), this, [this] { SetBrushMode(true); });
    m_undo = bar->addAction(TipOf(32796), this, &CRedEyeCtrl::UndoStroke);
    m_redo = bar->addAction(TipOf(32797), this, &CRedEyeCtrl::RedoStroke);
    m_drag->setCheckable(true);
    m_brush->setCheckable(true);
    for (QAction* action : {m_drag, m_brush, m_undo, m_redo})
        ButtonOf(action)->setAccessibleName(action->text());
    CRedEyeCtrl::PaintIcons();
}

CRedEyeCtrl::~CRedEyeCtrl() = default;

void CRedEyeCtrl::PaintIcons()
{
    CPreviewCtrl::PaintIcons();
    if (m_drag == nullptr)
        return;
    const QColor ink = palette().color(QPalette::WindowText);
    m_drag->setIcon(PreviewIcon(PreviewIconKind::Drag, ink, IconSize));
    m_brush->setIcon(PreviewIcon(PreviewIconKind::Brush, ink, IconSize));
    m_undo->setIcon(PreviewIcon(PreviewIconKind::Undo, ink, IconSize));
    m_redo->setIcon(PreviewIcon(PreviewIconKind::Redo, ink, IconSize));
}

void CRedEyeCtrl::Start(const BITMAPINFOHEADER& header, uint8_t* working)
{
    m_tool = std::make_unique<RedEyeTool>(header, working);
    SetImage(header, working, nullptr);
}

void CRedEyeCtrl::SetBrushMode(bool on)
{
    if (m_tool == nullptr)
        return;
    m_tool->SetBrushMode(on);
    UpdateButtons();
    UpdateCursor();
    RenderOverlay();
}

void CRedEyeCtrl::SetTemporaryDrag(bool held)
{
    if (m_tool == nullptr)
        return;
    m_tool->SetTemporaryDrag(held);
    UpdateButtons();
    UpdateCursor();
    RenderOverlay();
}

void CRedEyeCtrl::SetCustomMode(bool on)
{
    if (m_tool == nullptr)
        return;
    m_tool->SetCustomMode(on);
    UpdateButtons();
    UpdateCursor();
}

void CRedEyeCtrl::StartPicking()
{
    if (m_tool == nullptr)
        return;
    m_tool->StartPicking();
    UpdateButtons();
    UpdateCursor();
    RenderOverlay();
}

void CRedEyeCtrl::UndoStroke()
{
    if (m_tool != nullptr && m_tool->UndoStroke()) {
        UpdateButtons();
        Render();
    }
}

void CRedEyeCtrl::RedoStroke()
{
    if (m_tool != nullptr && m_tool->RedoStroke()) {
        UpdateButtons();
        Render();
    }
}

void CRedEyeCtrl::UpdateButtons()
{
    CPreviewCtrl::UpdateButtons();
    if (m_tool == nullptr || m_drag == nullptr)
        return;
    const RedEyeTool::Buttons states = m_tool->ButtonStates();
    m_brush->setEnabled(states.brushEnabled);
    m_brush->setChecked(states.brushPressed);
    m_drag->setEnabled(states.dragEnabled);
    m_drag->setChecked(states.dragPressed);
    m_undo->setEnabled(states.undoEnabled);
    m_redo->setEnabled(states.redoEnabled);
    emit StateChanged();
}

void CRedEyeCtrl::UpdateCursor()
{
    if (m_tool == nullptr) {
        CPreviewCtrl::UpdateCursor();
        return;
    }
    QWidget* window = ImageWindow();
    switch (m_tool->CursorOverImage(Zoom().CanPan(), Panning())) {
    case RedEyeTool::Cursor::Arrow: window->setCursor(Qt::ArrowCursor); break;
    case RedEyeTool::Cursor::OpenHand: window->setCursor(Qt::OpenHandCursor); break;
    case RedEyeTool::Cursor::ClosedHand: window->setCursor(Qt::ClosedHandCursor); break;
    case RedEyeTool::Cursor::Picker:
        window->setCursor(PickerCursor(palette().color(QPalette::WindowText)));
        break;
    // The outline stands for the cursor while it is over the picture.
    case RedEyeTool::Cursor::Brush: window->setCursor(Qt::BlankCursor); break;
    }
}

void CRedEyeCtrl::DrawOverlay(QPainter& painter)
{
    if (m_tool == nullptr || !m_tool->Painting() || !m_brushShown)
        return;
    const BrushOutline outline = BrushView::Of(Zoom()).OutlineAt(
        m_tool->BrushX(), m_tool->BrushY(), m_tool->brush.size);
    // The rendering starts inside the window's one-pixel frame.
    painter.translate(-1, -1);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRect(QPoint(outline.left, outline.top),
                              QPoint(outline.right - 1, outline.bottom - 1)));
}

void CRedEyeCtrl::Redraw(RedEyeTool::Redraw redraw)
{
    if (redraw == RedEyeTool::Redraw::Full)
        Render();
    else if (redraw == RedEyeTool::Redraw::Outline)
        RenderOverlay();
}

void CRedEyeCtrl::PickAt(QPointF position)
{
    BITMAPINFOHEADER header;
    std::vector<uint8_t> shown;
    CacheAsDib(header, shown);
    const QPoint inside = position.toPoint() - QPoint(1, 1);
    if (m_tool->PickFrom(header, shown.data(), inside.x(), inside.y())) {
        emit ColourPicked(m_tool->brush.customColour);
        UpdateButtons();
        UpdateCursor();
    }
}

void CRedEyeCtrl::ImageMousePress(QMouseEvent* event)
{
    if (m_tool == nullptr || event->button() != Qt::LeftButton)
        return;
    if (m_tool->Picking()) {
        PickAt(event->position());
    } else if (m_tool->Painting()) {
        m_brushShown = true;
        const QPointF at = event->position();
        Redraw(m_tool->ButtonDown(BrushView::Of(Zoom()), at.x(), at.y()));
    } else {
        CPreviewCtrl::ImageMousePress(event);
        UpdateCursor();
    }
}

void CRedEyeCtrl::ImageMouseMove(QMouseEvent* event)
{
    if (m_tool == nullptr || !m_tool->Painting()) {
        CPreviewCtrl::ImageMouseMove(event);
        return;
    }
    m_brushShown = true;
    const QPointF at = event->position();
    Redraw(m_tool->MouseMove(BrushView::Of(Zoom()), at.x(), at.y(),
                             event->buttons().testFlag(Qt::LeftButton)));
}

void CRedEyeCtrl::ImageMouseRelease(QMouseEvent* event)
{
    if (m_tool != nullptr && m_tool->StrokeOpen()) {
        if (event->button() == Qt::LeftButton) {
            Redraw(m_tool->ButtonUp());
            UpdateButtons();
        }
        return;
    }
    CPreviewCtrl::ImageMouseRelease(event);
    UpdateCursor();
}

void CRedEyeCtrl::ImageLeave()
{
    // A stroke still open ends where the mouse left; the outline goes with the mouse.
    if (m_tool != nullptr && m_tool->StrokeOpen()) {
        Redraw(m_tool->ButtonUp());
        UpdateButtons();
    }
    m_brushShown = false;
    RenderOverlay();
}
