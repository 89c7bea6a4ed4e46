// SPDX-License-Identifier: GPL-2.0-or-later
// CRotateThumbnail: the rotation dialog's preview. It keeps a reduced copy of the image and
// turns it by the dialog's angle and flips on a worker thread of its own, so that the dial
// stays smooth however large the photo. The user-interface thread only stores the wanted turn
// and wakes the worker; the worker hands back a finished picture that the next paint shows.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

#include <QColor>
#include <QImage>
#include <QWidget>

#include "enhancer/fixedturns.h"
#include "enhancer/packedimage.h"
#include "shell/resetevent.h"

class ImageRecord;

class CRotateThumbnail : public QWidget
{
    Q_OBJECT
public:
    // side: the control's width and height in pixels.
    CRotateThumbnail(int side, QWidget* parent);
    // Stops the worker: it finishes the picture it is drawing, if any, and leaves.
    ~CRotateThumbnail() override;

    // Makes the reduced copy of image (read only here, not kept) and starts the worker.
    void SetImage(const ImageRecord& image);
    // The turn to show; the worker draws it unless it already has.
    void SetTurn(const TurnSettings& turn);

    // The last finished picture (device pixels) and the turn it shows.
    QImage Picture() const;
    TurnSettings PictureTurn() const;
    bool HasPicture() const;
    int PicturesDrawn() const { return m_drawn.load(); }
    bool WorkerRunning() const { return m_worker.joinable(); }

    QSize sizeHint() const override { return {m_side, m_side}; }

signals:
    // A new picture is ready (emitted on the user-interface thread).
    void pictureReady();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // What the worker is asked to draw.
    struct Request {
        TurnSettings turn;
        QSize size;        // device pixels
        qreal pixelRatio = 1.0;
        QColor face;
    };

    void Run();
    QImage Draw(const Request& request) const;
    void Ask();

    int m_side;
    PackedImage m_reduced; // written before the worker starts, then only read
    std::thread m_worker;
    ResetEvent m_work{false};
    ResetEvent m_alive{true};

    mutable std::mutex m_lock; // guards what follows
    Request m_request;
    QImage m_picture;
    TurnSettings m_pictureTurn;
    bool m_hasPicture = false;

    std::atomic<int> m_drawn{0};
};
