// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/rotatethumbnail.h"

#include <algorithm>

#include <QEvent>
#include <QPainter>

#include "enhancer/affinetransform.h"
#include "enhancer/imagerecord.h"

namespace
{

// A bottom-up picture of blue, green, red bytes as a top-down image of its own.
QImage ImageOf(const PackedImage& picture)
{
    const QImage view(picture.pixels.get(), picture.Width(), picture.Height(),
                      static_cast<qsizetype>(picture.Stride()), QImage::Format_BGR888);
    return view.mirrored(false, true);
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
    const TurnSettings& turn = request.turn;
    const PackedImage turned = TransformImage(
        m_reduced.header, m_reduced.pixels.get(),
        RotationMatrix(turn.angle, turn.flipHorizontal, turn.flipVertical), nullptr);
    if (turned) {
        const int side = std::min(canvas.width(), canvas.height());
        QRectF square((canvas.width() - side) / 2.0, (canvas.height() - side) / 2.0, side, side);
        const double ratio = double(turned.Height()) / turned.Width();
        QRectF target = square;
        if (ratio < 1.0)
            target.setHeight(side * ratio);
        else
            target.setWidth(side / ratio);
        target.moveCenter(square.center());
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, ImageOf(turned));
    }
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
