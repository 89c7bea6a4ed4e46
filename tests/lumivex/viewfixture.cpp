// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/lumivex/viewfixture.h"

#include "tests/lumivex/dialogshots.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QProgressBar>
#include <QTest>

#include "enhancer/ui/dibimage.h"
#include "enhancer/ui/statusbarwithprogress.h"

ViewFixture::ViewFixture()
{
    m_view = new CLumivexView(m_document, m_prompter, &m_window);
    m_statusBar = new CStatusBarWithProgress(&m_window);
    m_window.setCentralWidget(m_view);
    m_window.setStatusBar(m_statusBar);
    QObject::connect(m_view, &CLumivexView::progressChanged, m_statusBar,
                     &CStatusBarWithProgress::SetProgress);
    QObject::connect(m_view, &CLumivexView::progressShown, m_statusBar, [this](bool shown) {
        shown ? m_statusBar->ShowProgress() : m_statusBar->HideProgress();
    });
}

ViewFixture::~ViewFixture()
{
    m_window.hide();
}

QString ViewFixture::MakeQuarters(int width, int height, const QString& name)
{
    QImage picture(width, height, QImage::Format_RGB32);
    QPainter painter(&picture);
    const int w = width / 2, h = height / 2;
    painter.fillRect(0, 0, w, h, QColor(255, 0, 0));
    painter.fillRect(w, 0, width - w, h, QColor(0, 255, 0));
    painter.fillRect(0, h, w, height - h, QColor(0, 0, 255));
    painter.fillRect(w, h, width - w, height - h, QColor(255, 255, 0));
    painter.end();
    const QString path = m_folder.file(name);
    EXPECT_TRUE(picture.save(path));
    return path;
}

void ViewFixture::Open(const QString& path)
{
    QString reason;
    ASSERT_TRUE(m_document.Load(path, &reason)) << reason.toStdString();
    m_window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    m_view->OnInitialUpdate();
    QCoreApplication::processEvents();
    m_view->setFocus();
}

QImage ViewFixture::DocumentPicture() const
{
    const ImageRecord& image = m_document.Current();
    return ImageOfDib(image.header, image.Pixels());
}

QImage ViewFixture::ViewPicture() const
{
    return m_view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void ViewFixture::Drag(QPoint from, QPoint to)
{
    QWidget* port = m_view->viewport();
    QTest::mousePress(port, Qt::LeftButton, Qt::NoModifier, from);
    // In steps, as a hand moves: each move is adjusted from where the drag began.
    const QPoint middle = (from + to) / 2;
    QMouseEvent halfway(QEvent::MouseMove, middle, port->mapToGlobal(middle), Qt::NoButton,
                        Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(port, &halfway);
    QMouseEvent there(QEvent::MouseMove, to, port->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(port, &there);
    QTest::mouseRelease(port, Qt::LeftButton, Qt::NoModifier, to);
}

void ViewFixture::PressKey(int key)
{
    QTest::keyClick(m_view, Qt::Key(key));
}

void ViewFixture::WaitForEdit()
{
    QElapsedTimer timer;
    timer.start();
    while (m_view->IsOperationRunning() && timer.elapsed() < 60000)
        QTest::qWait(10);
    ASSERT_FALSE(m_view->IsOperationRunning()) << "the edit did not end";
}

void ViewFixture::Shoot(QWidget& widget, const QString& name)
{
    EXPECT_TRUE(saveScreenshot(widget, name));
}
