// SPDX-License-Identifier: GPL-2.0-or-later
// CLumivexView: the editor's picture area. It draws the document's image centred and zoomed,
// pans it with the hand, runs the crop tool and the long whole-image edits (with progress
// for the status bar and Esc to cancel) and prints. The zoom, crop and progress rules live in
// ViewZoom, CMyRectTracker/CropRect and CLongOperation; this class forwards events to them.
#pragma once

#include <functional>
#include <memory>

#include <QAbstractScrollArea>
#include <QImage>

#include "enhancer/affinetransform.h"
#include "enhancer/fixedturns.h"
#include "enhancer/ui/longoperation.h"
#include "enhancer/ui/myrecttracker.h"
#include "enhancer/viewzoom.h"

class CLumivexDoc;
class Prompter;
class QPrinter;

class CLumivexView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // The view registers itself as the document's view (updates and initial updates);
    // messages go to prompter.
    CLumivexView(CLumivexDoc& document, Prompter& prompter, QWidget* parent = nullptr);
    ~CLumivexView() override;

    // A new image: chooses the zoom (and the window's size, unless it is maximised).
    void OnInitialUpdate();
    // The document changed (CLumivexDoc's hints).
    void OnUpdate(int hint);

    // The busy check every edit command runs first: true (after telling the user why) when
    // an edit is running or the crop tool is on.
    bool RefuseWhenBusy();
    bool IsOperationRunning() const { return m_operation.IsRunning(); }
    bool IsCropping() const { return m_cropping; }
    bool HasImage() const;

    // Zoom commands; zoom in and out run the busy check first.
    void ZoomIn();
    void ZoomOut();
    void ActualPixels();
    void BestFit();
    bool CanZoomIn() const;
    bool CanZoomOut() const;
    const ViewZoom& Zoom() const { return m_zoom; }

    // The crop commands (free, keep proportions, 3:2 start cropping; 4:3 sets the ratio of
    // the crop under way).
    void CropCommand(int command);
    // Enter and Esc.
    void ApplyCrop();
    void CancelCropOrOperation();
    const CMyRectTracker& Tracker() const { return m_tracker; }
    // The crop in image pixels (y downwards), as last dragged.
    CropRect::Rect CropInImage() const { return m_cropImage; }

    // The long edits: a fixed turn or flip, or a transform the resize and rotation dialogs
    // chose. False when refused by the busy check (or there is no image).
    bool RunFixedTurn(FixedTurn turn);
    bool RunTransform(const TransformMatrix& matrix);
    // The bar at 0 for edits that run briefly on the window's thread (sharpen's passes, the
    // crop): shown, then hidden; they are not cancelled and take no busy flag.
    void ShowProgressBar(bool shown);

    // Where the image lies in the client area (its origin is 0 where it overflows).
    ViewZoom::Rect ImageRect() const;
    QPoint ScrollPosition() const;

    // Printing: through the print program when it is installed, else the note and the print
    // dialog; the preview and page setup of the print dialog's printer.
    void Print();
    void PrintPreview();
    void PrintSetup();
    QPrinter& Printer();
    // Draws the page on printer (the print dialog's, the preview's, or a file's).
    bool PrintTo(QPrinter& printer);

signals:
    // For the status bar: its texts changed; the progress bar shows, moves and hides.
    void statusChanged();
    void progressShown(bool shown);
    void progressChanged(int percent);
    // A running edit was stopped because the window closed.
    void operationAborted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Overflows() const;
    QPointF ImagePointAt(QPoint client) const;
    void AfterZoom(QPoint keep, QPointF imagePoint);
    void UpdateScrollSizes();
    void RefreshPicture();
    QImage ScaledPicture(qreal pixelRatio);
    CropRect::Rect VisibleImage() const;
    void PlaceTracker();
    void UpdateCursor(QPoint point);
    using Edit = std::function<PackedImage(const BITMAPINFOHEADER& header, const uint8_t* pixels,
                                           const ProgressCallback* progress)>;
    // step names the edit in the timing log.
    bool RunLong(const QString& step, Edit edit);
    void FinishLong(bool applied);
    void PrintWithDialog();

    CLumivexDoc& m_document;
    Prompter& m_prompter;
    ViewZoom m_zoom;
    CMyRectTracker m_tracker;
    CropRect::Rect m_cropImage;
    CLongOperation m_operation;
    std::unique_ptr<QPrinter> m_printer;
    QImage m_picture;       // the document's image, top row first
    const uint8_t* m_pictureOf = nullptr;
    QImage m_scaled;        // the picture at the zoom below 1:1 it was last drawn at
    double m_scaledZoom = 0.0;
    // Counts the document's changes and new images: a long edit's result is applied only to
    // the image it started from.
    uint64_t m_generation = 0;
    QString m_longStep; // the running long edit, as the timing log names it
    QPoint m_anchor;
    bool m_cropping = false;
    bool m_dragging = false;
    bool m_watchingWindow = false;
};
