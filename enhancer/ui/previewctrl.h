// SPDX-License-Identifier: GPL-2.0-or-later
// CPreviewCtrl: the zoomable preview of an edit dialog. It shows the working picture (or the
// source when there is none) through an optional COperation that computes only the visible
// part, offers zoom in/out buttons with a "scale n%" label, and lets the mouse drag a picture
// larger than its window. The zoom and scroll arithmetic lives in PreviewZoom; this class draws
// and forwards the mouse.
#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <vector>

#include "enhancer/dib.h"
#include "enhancer/operation.h"
#include "enhancer/previewzoom.h"

class QLabel;
class QToolBar;
class QToolButton;
class QAction;

class CPreviewCtrl : public QWidget
{
    Q_OBJECT
public:
    explicit CPreviewCtrl(QWidget* parent, double zoomStep = PreviewZoom::DefaultStep);
    ~CPreviewCtrl() override;

    // The picture to show. source is the document's; working, when given, is the buffer that
    // is shown (and that an operation writes). Neither is owned. startZoom 0 starts at the
    // fit zoom.
    void SetImage(const BITMAPINFOHEADER& header, const uint8_t* source, uint8_t* working,
                  double startZoom = 0.0);
    // The operation that fills the visible part of the working buffer; not owned, may be null.
    void SetOperation(COperation* operation) { m_operation = operation; }

    // Pixels changed: compute and draw the visible part again.
    void Render();
    // Only the overlay changed: draw it over the last rendering.
    void RenderOverlay();

    void ZoomIn();
    void ZoomOut();

    const PreviewZoom& Zoom() const { return m_zoom; }
    // The last rendering of the picture, without overlay, the size of the image window's inside.
    const QImage& RenderCache() const { return m_cache; }
    // The last rendering as a 24-bit bottom-up picture, for reading colours back.
    void CacheAsDib(BITMAPINFOHEADER& header, std::vector<uint8_t>& pixels) const;
    QWidget* ImageWindow() const;
    QLabel* ZoomLabel() const { return m_label; }
    QToolButton* ButtonOf(QAction* action) const;
    QAction* ZoomInAction() const { return m_zoomIn; }
    QAction* ZoomOutAction() const { return m_zoomOut; }
    // The tooltip part of one of the editor's "prompt\ntooltip" texts.
    static QString TipOf(int id);

signals:
    void ZoomChanged();

protected:
    QToolBar* ToolBar() const { return m_toolBar; }
    // Draws over the rendered picture, in image-window-inside coordinates.
    virtual void DrawOverlay(QPainter& painter);
    // Mouse over the image window, in its inside coordinates. The base class pans.
    virtual void ImageMousePress(QMouseEvent* event);
    virtual void ImageMouseMove(QMouseEvent* event);
    virtual void ImageMouseRelease(QMouseEvent* event);
    virtual void ImageLeave() {}
    // The buttons' enabled and pressed states follow the zoom and modes.
    virtual void UpdateButtons();
    // The cursor shown over the picture when no button is held.
    virtual void UpdateCursor();
    bool Panning() const { return m_panning; }
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Draws the toolbar pictures again in the palette's ink.
    virtual void PaintIcons();

private:
    class ImageWindowWidget;
    friend class ImageWindowWidget;

    void LayoutChildren();
    void PlaceImageWindow();
    void AfterZoomChange();
    void PanTo(QPointF position);
    QImage VisiblePicture(const PreviewZoom::Rect& visible, QSize target) const;
    void Compose();

    PreviewZoom m_zoom;
    BITMAPINFOHEADER m_header;
    const uint8_t* m_source = nullptr;
    uint8_t* m_working = nullptr;
    COperation* m_operation = nullptr;
    QToolBar* m_toolBar = nullptr;
    QAction* m_zoomIn = nullptr;
    QAction* m_zoomOut = nullptr;
    QLabel* m_label = nullptr;
    ImageWindowWidget* m_window = nullptr;
    QImage m_cache;   // the picture as last rendered
    QImage m_screen;  // the cache with the overlay, as shown
    bool m_panning = false;
    QPointF m_anchor;
    double m_startZoom = 0.0;
};
