// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/lumivexview.h"

#include <algorithm>
#include <vector>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include "enhancer/cropcopy.h"
#include "enhancer/lumivexdoc.h"
#include "enhancer/lumivexstrings.h"
#include "enhancer/ui/dibimage.h"
#include "enhancer/ui/imageprint.h"
#include "enhancer/ui/noprinterdlg.h"
#include "enhancer/ui/timinglog.h"
#include "platform/process.h"
#include "platform/prompter.h"

namespace
{
// Lines scrolled by the arrows of the scroll bars.
constexpr int LineStep = 10;

Qt::CursorShape HandleCursor(CropRect::Handle handle)
{
    switch (handle) {
    case CropRect::TopLeft:
    case CropRect::BottomRight: return Qt::SizeFDiagCursor;
    case CropRect::TopRight:
    case CropRect::BottomLeft: return Qt::SizeBDiagCursor;
    case CropRect::Top:
    case CropRect::Bottom: return Qt::SizeVerCursor;
    case CropRect::Left:
    case CropRect::Right: return Qt::SizeHorCursor;
    case CropRect::Inside: break;
    }
    return Qt::SizeAllCursor;
}

// The pixels a long edit works on: its own copy, so that nothing the window does while it
// runs (another photo opened, the window closed) can pull them away from under it.
struct SourceCopy {
    BITMAPINFOHEADER header;
    std::vector<uint8_t> pixels;
};
} // namespace

CLumivexView::CLumivexView(CLumivexDoc& document, Prompter& prompter, QWidget* parent)
    : QAbstractScrollArea(parent), m_document(document), m_prompter(prompter)
{
    setAccessibleName(QStringLiteral("Image"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    m_document.listeners.updateViews = [this](int hint) { OnUpdate(hint); };
    m_document.listeners.initialUpdate = [this]() { OnInitialUpdate(); };
    connect(&m_operation, &CLongOperation::progressChanged, this, &CLumivexView::progressChanged);
    connect(&m_operation, &CLongOperation::ended, this, &CLumivexView::FinishLong);
}

CLumivexView::~CLumivexView()
{
    // Half destroyed, the view takes no more news of the edit it stops here.
    disconnect(&m_operation, nullptr, this, nullptr);
    m_operation.Abort();
    m_document.listeners.updateViews = nullptr;
    m_document.listeners.initialUpdate = nullptr;
}

bool CLumivexView::HasImage() const
{
    return m_document.Current().HasPixels();
}

void CLumivexView::OnInitialUpdate()
{
    const ImageRecord& image = m_document.Current();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int screenHeight = screen ? screen->availableGeometry().height() : 768;
    QWidget* frame = window();
    const bool resizeFrame = frame != this && !frame->isMaximized() && !frame->isFullScreen();
    m_tracker.Reset(0.0f);
    m_cropping = false;
    if (!image.HasPixels()) {
        const int a = int(screenHeight * ViewZoom::ScreenShare);
        if (resizeFrame && !m_document.ListMode())
            frame->resize(a, a - 50);
    } else {
        const ViewZoom::Size wanted =
            m_zoom.InitialUpdate(screenHeight, image.widthPixels, image.heightPixels);
        // The frame keeps its menu, toolbar and status bar around the client area we want.
        if (resizeFrame)
            frame->resize(frame->size() - maximumViewportSize() +
                          QSize(wanted.width, wanted.height));
    }
    OnUpdate(CLumivexDoc::HintRedraw);
}

void CLumivexView::OnUpdate(int hint)
{
    // Undo swaps the pixels but asks only for the status bar: new pixels are redrawn whatever
    // the hint.
    if (hint != CLumivexDoc::HintStatusBar || m_document.Current().Pixels() != m_pictureOf) {
        ++m_generation;
        RefreshPicture();
        UpdateScrollSizes();
        if (m_cropping)
            PlaceTracker();
        viewport()->update();
    }
    emit statusChanged();
}

void CLumivexView::RefreshPicture()
{
    const ImageRecord& image = m_document.Current();
    m_picture = ImageOfDib(image.header, image.Pixels());
    m_pictureOf = image.Pixels();
    m_scaled = QImage();
    m_scaledZoom = 0.0;
}

void CLumivexView::UpdateScrollSizes()
{
    const ImageRecord& image = m_document.Current();
    const ViewZoom::Size scaled = image.HasPixels()
                                      ? m_zoom.ScaledSize(image.widthPixels, image.heightPixels)
                                      : ViewZoom::Size{};
    // Measured against the area the bars leave, which is the whole area once the image fits:
    // measuring against the present one would keep bars that only their own room calls for.
    const QSize full = maximumViewportSize();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    bool wide = scaled.width > full.width();
    bool tall = scaled.height > full.height();
    wide = wide || (tall && scaled.width > full.width() - bar);
    tall = tall || (wide && scaled.height > full.height() - bar);
    const QSize client(full.width() - (tall ? bar : 0), full.height() - (wide ? bar : 0));
    horizontalScrollBar()->setRange(0, std::max(0, scaled.width - client.width()));
    verticalScrollBar()->setRange(0, std::max(0, scaled.height - client.height()));
    horizontalScrollBar()->setPageStep(client.width());
    verticalScrollBar()->setPageStep(client.height());
    horizontalScrollBar()->setSingleStep(LineStep);
    verticalScrollBar()->setSingleStep(LineStep);
}

ViewZoom::Rect CLumivexView::ImageRect() const
{
    const ImageRecord& image = m_document.Current();
    return m_zoom.ImageRect(viewport()->width(), viewport()->height(), image.widthPixels,
                            image.heightPixels);
}

QPoint CLumivexView::ScrollPosition() const
{
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

bool CLumivexView::Overflows() const
{
    const ViewZoom::Rect rect = ImageRect();
    return HasImage() && (rect.right - rect.left > viewport()->width() ||
                          rect.bottom - rect.top > viewport()->height());
}

// The image's part on the screen, in client coordinates.
CropRect::Rect CLumivexView::VisibleImage() const
{
    const ViewZoom::Rect rect = ImageRect();
    const QPoint scroll = ScrollPosition();
    return {std::max(0, rect.left - scroll.x()), std::max(0, rect.top - scroll.y()),
            std::min(viewport()->width(), rect.right - scroll.x()),
            std::min(viewport()->height(), rect.bottom - scroll.y())};
}

QImage CLumivexView::ScaledPicture(qreal pixelRatio)
{
    if (m_scaledZoom != m_zoom.Zoom() || m_scaled.isNull() ||
        m_scaled.devicePixelRatio() != pixelRatio) {
        // Shrunk for the screen's own pixels, so that dense screens show every detail.
        const ViewZoom::Size size = m_zoom.ScaledSize(m_picture.width(), m_picture.height());
        m_scaled = m_picture.scaled(std::max(1, int(size.width * pixelRatio)),
                                    std::max(1, int(size.height * pixelRatio)),
                                    Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_scaled.setDevicePixelRatio(pixelRatio);
        m_scaledZoom = m_zoom.Zoom();
    }
    return m_scaled;
}

void CLumivexView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QColor face = palette().color(QPalette::Button);
    if (!HasImage() || m_picture.isNull()) {
        painter.fillRect(event->rect(), face);
        return;
    }
    const ViewZoom::Rect rect = ImageRect();
    const QPoint scroll = ScrollPosition();
    const QRect target(rect.left - scroll.x(), rect.top - scroll.y(), rect.right - rect.left,
                       rect.bottom - rect.top);
    // Around the image only: the image itself covers the rest, so nothing flickers.
    const QRegion around = QRegion(event->rect()).subtracted(QRegion(target));
    for (const QRect& part : around)
        painter.fillRect(part, face);
    const QRect exposed = target.intersected(event->rect());
    if (m_zoom.Zoom() < 1.0) {
        // Smoothly shrunk once per zoom; each paint copies only what is exposed.
        const qreal ratio = viewport()->devicePixelRatioF();
        painter.drawImage(QRectF(exposed), ScaledPicture(ratio),
                          QRectF(QPointF(exposed.topLeft() - target.topLeft()) * ratio,
                                 QSizeF(exposed.size()) * ratio));
    } else if (!exposed.isEmpty()) {
        // Enlarged pixels stay sharp squares; only the exposed source pixels are drawn.
        const double zoom = m_zoom.Zoom();
        const QRectF source(QPointF(exposed.topLeft() - target.topLeft()) / zoom,
                            QSizeF(exposed.size()) / zoom);
        const QRect whole = QRect(source.topLeft().toPoint(), source.bottomRight().toPoint())
                                .adjusted(-1, -1, 1, 1)
                                .intersected(m_picture.rect());
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.setClipRect(exposed);
        painter.drawImage(QRectF(target.left() + whole.left() * zoom,
                                 target.top() + whole.top() * zoom, whole.width() * zoom,
                                 whole.height() * zoom),
                          m_picture, QRectF(whole));
        painter.setClipping(false);
    }
    if (m_cropping)
        m_tracker.Draw(painter);
}

void CLumivexView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollSizes();
    if (m_cropping)
        PlaceTracker();
    emit statusChanged();
}

void CLumivexView::scrollContentsBy(int, int)
{
    if (m_cropping)
        PlaceTracker();
    viewport()->update();
}

void CLumivexView::PlaceTracker()
{
    const ViewZoom::Rect rect = ImageRect();
    const QPoint scroll = ScrollPosition();
    m_tracker.SetRect(CropRect::ToClient(m_cropImage, {scroll.x(), scroll.y()},
                                         {rect.left, rect.top}, m_zoom.Zoom()));
}

bool CLumivexView::RefuseWhenBusy()
{
    if (m_operation.IsRunning()) {
        m_prompter.message(loadLumivexString(IDS_LX_BUSY), Prompter::Icon::Information);
        return true;
    }
    if (m_cropping) {
        m_prompter.message(loadLumivexString(IDS_LX_CROPPING), Prompter::Icon::Information);
        return true;
    }
    return false;
}

bool CLumivexView::CanZoomIn() const
{
    return HasImage() && m_zoom.CanZoomIn();
}

bool CLumivexView::CanZoomOut() const
{
    return HasImage() && m_zoom.CanZoomOut();
}

void CLumivexView::ZoomIn()
{
    if (!HasImage() || RefuseWhenBusy())
        return;
    const QPoint centre = viewport()->rect().center();
    const QPointF point = ImagePointAt(centre);
    m_zoom.ZoomIn();
    AfterZoom(centre, point);
}

void CLumivexView::ZoomOut()
{
    if (!HasImage() || RefuseWhenBusy())
        return;
    const QPoint centre = viewport()->rect().center();
    const QPointF point = ImagePointAt(centre);
    m_zoom.ZoomOut();
    AfterZoom(centre, point);
}

void CLumivexView::ActualPixels()
{
    if (!HasImage())
        return;
    const QPoint centre = viewport()->rect().center();
    const QPointF point = ImagePointAt(centre);
    m_zoom.ActualPixels();
    AfterZoom(centre, point);
}

void CLumivexView::BestFit()
{
    if (!HasImage())
        return;
    const ImageRecord& image = m_document.Current();
    // The bars vanish once the image fits: the area without them is the one to fill. It is
    // asked of the scroll area rather than added up from bars it may not have laid out yet.
    const QSize full = maximumViewportSize();
    m_zoom.BestFit(full.width(), full.height(), image.widthPixels, image.heightPixels, 0, 0);
    AfterZoom({}, {});
}

QPointF CLumivexView::ImagePointAt(QPoint client) const
{
    const ViewZoom::Rect rect = ImageRect();
    return QPointF(client + ScrollPosition() - QPoint(rect.left, rect.top)) / m_zoom.Zoom();
}

// Keeps imagePoint under the client point keep, as far as the scroll range allows.
void CLumivexView::AfterZoom(QPoint keep, QPointF imagePoint)
{
    UpdateScrollSizes();
    horizontalScrollBar()->setValue(int(imagePoint.x() * m_zoom.Zoom()) - keep.x());
    verticalScrollBar()->setValue(int(imagePoint.y() * m_zoom.Zoom()) - keep.y());
    if (m_operation.IsRunning())
        emit progressShown(true);
    if (m_cropping)
        PlaceTracker();
    UpdateCursor(viewport()->mapFromGlobal(QCursor::pos()));
    viewport()->update();
    emit statusChanged();
}

void CLumivexView::CropCommand(int command)
{
    const ImageRecord& image = m_document.Current();
    const std::optional<float> ratio =
        CropRect::RatioOfCommand(command, image.widthPixels, image.heightPixels);
    if (!ratio || !HasImage())
        return;
    if (command == CropRect::CommandDigital) {
        // 4:3 shapes the crop under way; it does not start one.
        m_tracker.SetRatio(*ratio);
        return;
    }
    if (RefuseWhenBusy())
        return;
    m_tracker.Reset(*ratio);
    m_cropImage = {};
    m_cropping = true;
    setFocus(Qt::OtherFocusReason);
    UpdateCursor(viewport()->mapFromGlobal(QCursor::pos()));
    viewport()->update();
}

void CLumivexView::ApplyCrop()
{
    if (!m_cropping)
        return;
    m_cropping = false;
    viewport()->update();
    UpdateCursor(viewport()->mapFromGlobal(QCursor::pos()));
    const ViewZoom::Rect rect = ImageRect();
    const QPoint scroll = ScrollPosition();
    const std::optional<CropRect::Rect> crop = CropRect::CropOnEnter(
        m_tracker.Rect(), {scroll.x(), scroll.y()}, {rect.left, rect.top},
        rect.right - rect.left, rect.bottom - rect.top, m_zoom.Zoom());
    if (!crop || crop->Width() <= 0 || crop->Height() <= 0) {
        m_prompter.message(loadLumivexString(IDS_LX_EMPTY_SELECTION), Prompter::Icon::None);
        return;
    }
    ShowProgressBar(true);
    const ImageRecord& image = m_document.Current();
    PackedImage cut = CropCopy(image.header, image.Pixels(),
                               RECT{crop->left, crop->top, crop->right, crop->bottom}, nullptr);
    if (cut) {
        const BITMAPINFOHEADER header = cut.header;
        m_document.ApplyResult(header, cut.Release());
    }
    ShowProgressBar(false);
    emit statusChanged();
    viewport()->update();
}

void CLumivexView::CancelCropOrOperation()
{
    m_operation.Cancel();
    if (m_cropping) {
        m_cropping = false;
        m_tracker.Reset(0.0f);
        UpdateCursor(viewport()->mapFromGlobal(QCursor::pos()));
        viewport()->update();
    }
}

void CLumivexView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_cropping) {
            ApplyCrop();
            return;
        }
        break;
    case Qt::Key_Escape:
        if (m_cropping || m_operation.IsRunning()) {
            CancelCropOrOperation();
            return;
        }
        break;
    default: break;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CLumivexView::UpdateCursor(QPoint point)
{
    if (m_dragging)
        return;
    const CropRect::Rect visible = VisibleImage();
    const bool overImage = HasImage() && point.x() >= visible.left && point.x() < visible.right &&
                           point.y() >= visible.top && point.y() < visible.bottom;
    if (m_cropping) {
        const std::optional<CropRect::Handle> hit = m_tracker.HitTest(point);
        if (hit && m_tracker.HasHandles())
            viewport()->setCursor(HandleCursor(*hit));
        else
            viewport()->setCursor(overImage ? Qt::CrossCursor : Qt::ArrowCursor);
        return;
    }
    viewport()->setCursor(overImage && Overflows() ? Qt::OpenHandCursor : Qt::ArrowCursor);
}

void CLumivexView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !HasImage())
        return QAbstractScrollArea::mousePressEvent(event);
    const QPoint point = event->position().toPoint();
    if (m_cropping) {
        const CropRect::Rect visible = VisibleImage();
        const bool onTracker = m_tracker.HitTest(point).has_value();
        const bool overImage = point.x() >= visible.left && point.x() < visible.right &&
                               point.y() >= visible.top && point.y() < visible.bottom;
        if (onTracker || overImage) {
            m_tracker.Press(point, visible);
            viewport()->update();
        }
        return;
    }
    if (!Overflows())
        return;
    m_anchor = point;
    m_dragging = true;
    viewport()->setCursor(Qt::ClosedHandCursor);
}

void CLumivexView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (m_cropping && m_tracker.IsDragging()) {
        m_tracker.Move(point);
        viewport()->update();
        return;
    }
    if (m_dragging) {
        // Scroll by how far the hand moved, in the directions the image overflows.
        const QPoint by = m_anchor - point;
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + by.x());
        verticalScrollBar()->setValue(verticalScrollBar()->value() + by.y());
        m_anchor = point;
        return;
    }
    UpdateCursor(point);
}

void CLumivexView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    if (m_cropping && m_tracker.Release()) {
        const ViewZoom::Rect rect = ImageRect();
        const QPoint scroll = ScrollPosition();
        m_cropImage = CropRect::ToImage(m_tracker.Rect(), {scroll.x(), scroll.y()},
                                        {rect.left, rect.top}, m_zoom.Zoom());
        viewport()->update();
        return;
    }
    if (m_dragging) {
        m_dragging = false;
        UpdateCursor(event->position().toPoint());
    }
}

bool CLumivexView::RunFixedTurn(FixedTurn turn)
{
    return RunLong(QStringLiteral("fixed turn"),
                   [turn](const BITMAPINFOHEADER& header, const uint8_t* pixels,
                          const ProgressCallback* progress) {
                       return TurnImage(header, pixels, turn, progress);
                   });
}

bool CLumivexView::RunTransform(const TransformMatrix& matrix)
{
    return RunLong(QStringLiteral("transform"),
                   [matrix](const BITMAPINFOHEADER& header, const uint8_t* pixels,
                            const ProgressCallback* progress) {
                       return TransformImage(header, pixels, matrix, progress);
                   });
}

bool CLumivexView::RunLong(const QString& step, Edit edit)
{
    if (!HasImage() || RefuseWhenBusy())
        return false;
    m_longStep = step;
    TimingLog::Start(step);
    const ImageRecord& image = m_document.Current();
    auto source = std::make_shared<SourceCopy>();
    source->header = image.header;
    source->pixels.assign(image.Pixels(), image.Pixels() + image.byteSize);
    const uint8_t* startedOn = image.Pixels();
    const uint64_t startedAt = m_generation;
    ShowProgressBar(true);
    setFocus(Qt::OtherFocusReason); // Esc, the cancel key, comes here
    m_operation.Start(
        [source, edit = std::move(edit)](const ProgressCallback* progress) {
            return edit(source->header, source->pixels.data(), progress);
        },
        [this, startedOn, startedAt](PackedImage result) {
            // Another photo or edit in the meantime: this result belongs to none of them.
            if (m_document.Current().Pixels() != startedOn || m_generation != startedAt)
                return;
            const BITMAPINFOHEADER header = result.header;
            m_document.ApplyResult(header, result.Release());
        });
    return true;
}

void CLumivexView::ShowProgressBar(bool shown)
{
    if (shown)
        emit progressChanged(0);
    emit progressShown(shown);
}

void CLumivexView::FinishLong(bool applied)
{
    ShowProgressBar(false);
    emit statusChanged();
    viewport()->update();
    if (applied)
        TimingLog::End(m_longStep, viewport());
}

void CLumivexView::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    if (!m_watchingWindow && window() != this) {
        window()->installEventFilter(this);
        m_watchingWindow = true;
    }
}

bool CLumivexView::eventFilter(QObject* watched, QEvent* event)
{
    // The window closes: a running edit stops at once and its result is dropped, before the
    // window asks about saving the image the edit would have changed.
    if (watched == window() && event->type() == QEvent::Close && m_operation.IsRunning()) {
        m_operation.Abort();
        emit operationAborted();
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

QPrinter& CLumivexView::Printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void CLumivexView::Print()
{
    if (!HasImage())
        return;
    if (const std::optional<ImagePrint::Command> command =
            ImagePrint::ProgramCommand(m_document.Current())) {
        if (platform::startDetached(command->program, command->arguments))
            return;
        // A folder that no longer holds the program: print here instead of not at all.
        m_prompter.message(loadLumivexString(IDS_LX_PRINT_PROGRAM_FAILED).arg(command->program),
                           Prompter::Icon::Warning);
    }
    if (ImagePrint::ShowNote()) {
        CNoPrinterDlg note(this);
        note.exec();
    }
    PrintWithDialog();
}

void CLumivexView::PrintWithDialog()
{
    QPrintDialog dialog(&Printer(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    PrintTo(Printer());
}

bool CLumivexView::PrintTo(QPrinter& printer)
{
    QPainter painter;
    if (m_picture.isNull() || !painter.begin(&printer))
        return false;
    ImagePrint::DrawPage(painter, m_picture, printer.logicalDpiX(), printer.logicalDpiY(),
                         printer.pageLayout().paintRectPixels(printer.resolution()).size());
    return painter.end();
}

void CLumivexView::PrintPreview()
{
    if (!HasImage())
        return;
    QPrintPreviewDialog preview(&Printer(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { PrintTo(*printer); });
    preview.exec();
}

void CLumivexView::PrintSetup()
{
    QPageSetupDialog setup(&Printer(), this);
    setup.exec();
}
