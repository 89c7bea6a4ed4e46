// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/rotatethumbnail.h"

#include <algorithm>

#include <QEvent>
#include <QPainter>

#include "enhancer/affinetransform.h"
#include "enhancer/imagerecord.h"

namespace
{

// Copies a bottom-up picture of blue, green, red bytes into canvas at (left, top). Done here
// rather than by the painter: the framework would convert and scale on threads of its own.
void CopyInto(QImage& canvas, const PackedImage& picture, int left, int top)
{
    const int width = std::min(picture.Width(), canvas.width() - left);
    const int height = std::min(picture.Height(), canvas.height() - top);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = picture.pixels.get() + size_t(picture.Height() - 1 - y) * picture.Stride();
        auto* out = reinterpret_cast<QRgb*>(canvas.scanLine(top + y)) + left;
        for (int x = 0; x < width; ++x, in += 3)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
}

// The matrix that turns the reduced copy and shrinks it into a square of side pixels in one
// pass, keeping its proportions.
TransformMatrix FittedTurn(const PackedImage& reduced, const TurnSettings& turn, int side)
{
    TransformMatrix matrix = RotationMatrix(turn.angle, turn.flipHorizontal, turn.flipVertical);
    const AffineTransform probe(reduced.header, reduced.pixels.get(), matrix);
    if (!probe.IsValid())
        return matrix;
    const double larger = std::max(probe.ResultWidth(), probe.ResultHeight());
    const double scale = std::min(1.0, side / larger);
    matrix.m00 *= scale;
    matrix.m01 *= scale;
    matrix.m10 *= scale;
    matrix.m11 *= scale;
    return matrix;
}

} // namespace

CRotateThumbnail::CRotateThumbnail(int side, QWidget* parent) : QWidget(parent), m_side(side)
{
    setFixedSize(side, side);
    setAccessibleName(tr("Preview"));
}

CRotateThumbnail::~CRotateThumbnail()
{
    if (!m_worker.joinable())
        return;
    m_alive.Clear();
    m_work.Set();
    m_worker.join();
}

void CRotateThumbnail::SetImage(const ImageRecord& image)
{
    if (m_worker.joinable() || !image.HasPixels())
        return;
    const qreal ratio = devicePixelRatioF();
    const int side = static_cast<int>(m_side * ratio);
    const int32_t larger = std::max(image.widthPixels, image.heightPixels);
    const double scale = larger > 0 ? double(side) / larger : 1.0;
    TransformMatrix shrink;
    shrink.m00 = shrink.m11 = std::min(scale, 1.0);
    m_reduced = TransformImage(image.header, image.Pixels(), shrink, nullptr);
    if (!m_reduced)
        return;
    Ask();
    m_worker = std::thread([this] { Run(); });
}

void CRotateThumbnail::SetTurn(const TurnSettings& turn)
{
    {
        std::lock_guard guard(m_lock);
        m_request.turn = turn;
    }
    Ask();
}

void CRotateThumbnail::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Ask();
}

void CRotateThumbnail::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The picture's background is the face colour of the scheme in use.
    if (event->type() == QEvent::PaletteChange)
        Ask();
}

// Stores the size and colours the picture is drawn with and wakes the worker.
void CRotateThumbnail::Ask()
{
    {
        std::lock_guard guard(m_lock);
        m_request.pixelRatio = devicePixelRatioF();
        m_request.size = size() * m_request.pixelRatio;
        m_request.face = palette().color(QPalette::Button);
    }
    m_work.Set();
}

void CRotateThumbnail::Run()
{
    for (;;) {
        m_work.Wait();
        if (!m_alive.IsSet())
            break;
        m_work.Clear();
        Request request;
        {
            std::lock_guard guard(m_lock);
            request = m_request;
        }
        QImage picture = Draw(request);
        {
            std::lock_guard guard(m_lock);
            m_picture = std::move(picture);
            m_pictureTurn = request.turn;
            m_hasPicture = true;
        }
        ++m_drawn;
        // The widget outlives the worker, and posted calls die with the widget.
        QMetaObject::invokeMethod(
            this,
            [this] {
                update();
                emit pictureReady();
            },
            Qt::QueuedConnection);
    }
    m_alive.Set();
}

// The reduced copy turned, fitted into the centred square of the control.
QImage CRotateThumbnail::Draw(const Request& request) const
{
    QImage canvas(request.size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    canvas.fill(request.face);
    const int side = std::min(canvas.width(), canvas.height());
    const PackedImage turned =
        TransformImage(m_reduced.header, m_reduced.pixels.get(),
                       FittedTurn(m_reduced, request.turn, side), nullptr);
    if (turned)
        CopyInto(canvas, turned, (canvas.width() - turned.Width()) / 2,
                 (canvas.height() - turned.Height()) / 2);
    canvas.setDevicePixelRatio(request.pixelRatio);
    return canvas;
}

void CRotateThumbnail::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    std::lock_guard guard(m_lock);
    if (m_hasPicture)
        painter.drawImage(QPoint(0, 0), m_picture);
    else
        painter.fillRect(rect(), palette().button());
}

QImage CRotateThumbnail::Picture() const
{
    std::lock_guard guard(m_lock);
    return m_picture;
}

TurnSettings CRotateThumbnail::PictureTurn() const
{
    std::lock_guard guard(m_lock);
    return m_pictureTurn;
}

bool CRotateThumbnail::HasPicture() const
{
    std::lock_guard guard(m_lock);
    return m_hasPicture;
}
