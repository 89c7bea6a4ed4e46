// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/previewctrl.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

#include "enhancer/lumivexstrings.h"
#include "enhancer/ui/previewicons.h"

namespace {

// Room between the toolbar and the picture.
constexpr int ToolBarGap = 3;
constexpr int IconSize = 24;

} // namespace

// The black-framed window the picture is drawn in; it hands its mouse to the control.
class CPreviewCtrl::ImageWindowWidget : public QWidget
{
public:
    explicit ImageWindowWidget(CPreviewCtrl* owner) : QWidget(owner), m_owner(owner)
    {
        setMouseTracking(true);
        setAccessibleName(QStringLiteral("Preview picture"));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        p.drawImage(1, 1, m_owner->m_screen);
        p.setPen(Qt::black);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void mousePressEvent(QMouseEvent* e) override { m_owner->ImageMousePress(e); }
    void mouseMoveEvent(QMouseEvent* e) override { m_owner->ImageMouseMove(e); }
    void mouseReleaseEvent(QMouseEvent* e) override { m_owner->ImageMouseRelease(e); }
    void leaveEvent(QEvent*) override { m_owner->ImageLeave(); }

private:
    CPreviewCtrl* m_owner;
};

CPreviewCtrl::CPreviewCtrl(QWidget* parent, double zoomStep) : QWidget(parent), m_zoom(zoomStep)
{
    setAccessibleName(QStringLiteral("Preview"));
    m_toolBar = new QToolBar(this);
    m_toolBar->setIconSize(QSize(IconSize, IconSize));
    m_toolBar->setAccessibleName(QStringLiteral("Preview tools"));
    m_zoomIn = m_toolBar->addAction(TipOf(32772), this, &CPreviewCtrl::ZoomIn);
    m_zoomOut = m_toolBar->addAction(TipOf(32773), this, &CPreviewCtrl::ZoomOut);
    CPreviewCtrl::PaintIcons();
    ButtonOf(m_zoomIn)->setAccessibleName(TipOf(32772));
    ButtonOf(m_zoomOut)->setAccessibleName(TipOf(32773));
    m_label = new QLabel(this);
    QFont font = m_label->font();
    font.setPointSize(12);
    m_label->setFont(font);
    m_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_label->setAccessibleName(QStringLiteral("Zoom"));
    m_window = new ImageWindowWidget(this);
}

CPreviewCtrl::~CPreviewCtrl() = default;

QString CPreviewCtrl::TipOf(int id)
{
    return loadLumivexString(id).section(QLatin1Char('\n'), -1);
}

QToolButton* CPreviewCtrl::ButtonOf(QAction* action) const
{
    return qobject_cast<QToolButton*>(m_toolBar->widgetForAction(action));
}

void CPreviewCtrl::SetImage(const BITMAPINFOHEADER& header, const uint8_t* source,
                            uint8_t* working, double startZoom)
{
    m_header = header;
    m_source = source;
    m_working = working;
    m_startZoom = startZoom;
    LayoutChildren();
}

void CPreviewCtrl::PaintIcons()
{
    const QColor ink = palette().color(QPalette::WindowText);
    m_zoomIn->setIcon(PreviewIcon(PreviewIconKind::ZoomIn, ink, IconSize));
    m_zoomOut->setIcon(PreviewIcon(PreviewIconKind::ZoomOut, ink, IconSize));
}

void CPreviewCtrl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        PaintIcons();
    QWidget::changeEvent(event);
}

void CPreviewCtrl::resizeEvent(QResizeEvent*)
{
    LayoutChildren();
}

void CPreviewCtrl::LayoutChildren()
{
    const QSize bar = m_toolBar->sizeHint();
    m_toolBar->setGeometry(0, 0, bar.width(), bar.height());
    const int labelWidth =
        QFontMetrics(m_label->font()).horizontalAdvance(loadLumivexString(IDS_LX_SCALE_WIDEST));
    const int labelHeight = m_label->sizeHint().height();
    m_label->setGeometry(width() - labelWidth, (bar.height() - labelHeight) / 2, labelWidth,
                         labelHeight);
    if (m_source == nullptr)
        return;
    const int top = bar.height() + ToolBarGap;
    m_zoom.SetLayout(width(), std::max(1, height() - top), m_header.biWidth, m_header.biHeight);
    if (m_startZoom > 0)
        m_zoom.ZoomTo(m_startZoom);
    AfterZoomChange();
}

void CPreviewCtrl::PlaceImageWindow()
{
    const PreviewZoom::Rect window = m_zoom.ImageWindow();
    const int top = m_toolBar->sizeHint().height() + ToolBarGap;
    m_window->setGeometry(window.left, top + window.top, window.width, window.height);
}

void CPreviewCtrl::ZoomIn()
{
    if (m_source == nullptr)
        return;
    m_zoom.ZoomIn();
    m_startZoom = m_zoom.Zoom();
    AfterZoomChange();
}

void CPreviewCtrl::ZoomOut()
{
    if (m_source == nullptr)
        return;
    m_zoom.ZoomOut();
    m_startZoom = m_zoom.Zoom();
    AfterZoomChange();
}

void CPreviewCtrl::AfterZoomChange()
{
    PlaceImageWindow();
    m_label->setText(loadLumivexString(IDS_LX_SCALE_LABEL)
                         .replace(QStringLiteral("%d"), QString::number(m_zoom.ScalePercent()))
                         .replace(QStringLiteral("%%"), QStringLiteral("%")));
    UpdateButtons();
    UpdateCursor();
    Render();
    emit ZoomChanged();
}

void CPreviewCtrl::UpdateButtons()
{
    m_zoomOut->setEnabled(m_zoom.CanZoomOut());
}

void CPreviewCtrl::UpdateCursor()
{
    m_window->setCursor(m_zoom.CanPan() ? Qt::OpenHandCursor : Qt::ArrowCursor);
}

QImage CPreviewCtrl::VisiblePicture(const PreviewZoom::Rect& visible, QSize target) const
{
    const uint8_t* shown = m_working != nullptr ? m_working : m_source;
    const uint32_t stride = DibStride(m_header.biWidth);
    // A picture shrunk a lot is read at every step-th pixel, down to twice the window's size,
    // and smoothed from there: a large photo then costs what the window shows, not its size.
    const int step = std::max(1, std::min(visible.width / std::max(1, 2 * target.width()),
                                          visible.height / std::max(1, 2 * target.height())));
    const int width = visible.width / step, height = visible.height / step;
    QImage picture(width, height, QImage::Format_RGB888);
    for (int row = 0; row < height; ++row) {
        // Screen row 0 is the topmost buffer row of the visible rectangle.
        const int bufferRow = visible.top + visible.height - 1 - row * step;
        const uint8_t* from = shown + size_t(bufferRow) * stride + size_t(visible.left) * 3;
        uint8_t* to = picture.scanLine(row);
        for (int x = 0; x < width; ++x, from += 3 * step, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
    return picture;
}

void CPreviewCtrl::Render()
{
    if (m_source == nullptr)
        return;
    const PreviewZoom::Rect visible = m_zoom.VisibleSource();
    if (m_operation != nullptr && m_working != nullptr) {
        const RECT rect{visible.left, visible.top, visible.left + visible.width,
                        visible.top + visible.height};
        uint8_t* destination = m_working;
        m_operation->Apply(m_header, m_source, m_header, &destination, nullptr, &rect);
    }
    const QSize inside = m_window->size() - QSize(2, 2);
    if (inside.isEmpty()) {
        m_cache = QImage();
    } else {
        // Smooth when shrinking, as a photo viewer blends; plain pixels when enlarging so
        // that a zoomed-in eye shows its real pixels.
        const auto mode = m_zoom.Zoom() < 1.0 ? Qt::SmoothTransformation : Qt::FastTransformation;
        m_cache = VisiblePicture(visible, inside).scaled(inside, Qt::IgnoreAspectRatio, mode);
    }
    Compose();
}

void CPreviewCtrl::RenderOverlay()
{
    if (!m_cache.isNull())
        Compose();
}

void CPreviewCtrl::Compose()
{
    m_screen = m_cache.copy();
    if (!m_screen.isNull()) {
        QPainter painter(&m_screen);
        DrawOverlay(painter);
    }
    m_window->update();
}

void CPreviewCtrl::DrawOverlay(QPainter& painter)
{
    if (m_operation != nullptr)
        m_operation->DrawOverlay(&painter, this);
}

void CPreviewCtrl::CacheAsDib(BITMAPINFOHEADER& header, std::vector<uint8_t>& pixels) const
{
    header = MakeDibHeader(m_cache.width(), m_cache.height());
    const uint32_t stride = DibStride(header.biWidth);
    header.biSizeImage = stride * uint32_t(header.biHeight);
    pixels.assign(header.biSizeImage, 0);
    for (int row = 0; row < m_cache.height(); ++row) {
        const uint8_t* from = m_cache.constScanLine(row);
        uint8_t* to = pixels.data() + size_t(m_cache.height() - 1 - row) * stride;
        for (int x = 0; x < m_cache.width(); ++x, from += 3, to += 3) {
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
        }
    }
}

void CPreviewCtrl::PanTo(QPointF position)
{
    const QPointF delta = m_anchor - position;
    m_zoom.Pan(delta.x(), delta.y());
    m_anchor = position;
    Render();
}

void CPreviewCtrl::ImageMousePress(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_source == nullptr)
        return;
    m_panning = true;
    m_anchor = event->position();
    m_window->setCursor(Qt::ClosedHandCursor);
}

void CPreviewCtrl::ImageMouseMove(QMouseEvent* event)
{
    if (m_panning)
        PanTo(event->position());
}

void CPreviewCtrl::ImageMouseRelease(QMouseEvent* event)
{
    if (!m_panning || event->button() != Qt::LeftButton)
        return;
    PanTo(event->position());
    m_panning = false;
    UpdateCursor();
}

QWidget* CPreviewCtrl::ImageWindow() const
{
    return m_window;
}
