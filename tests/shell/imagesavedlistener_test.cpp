// SPDX-License-Identifier: GPL-2.0-or-later
// The photo editor's "image saved" message reaching the album builder over its local socket.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QSignalSpy>

#include "shell/imagesavedlistener.h"

namespace
{

bool waitFor(QSignalSpy& spy, int count)
{
    QElapsedTimer timer;
    timer.start();
    while (spy.count() < count && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return spy.count() >= count;
}

QString uniqueId(const char* test)
{
    return QStringLiteral("test-%1-%2").arg(QCoreApplication::applicationPid()).arg(test);
}

} // namespace

TEST(ImageSavedListener, EverySavedMessageIsReported)
{
    CImageSavedListener listener;
    ASSERT_TRUE(listener.Listen(uniqueId("saved")));
    EXPECT_EQ(listener.Id(), uniqueId("saved"));
    QSignalSpy spy(&listener, &CImageSavedListener::ImageSaved);
    QLocalSocket client;
    client.connectToServer(CImageSavedListener::ServerName(listener.Id()));
    ASSERT_TRUE(client.waitForConnected(3000));
    // Two messages in one write, then one split over two writes.
    client.write(QByteArray("\x4D\x81\0\0\x4D\x81\0\0", 8));
    client.flush();
    ASSERT_TRUE(waitFor(spy, 2));
    client.write(QByteArray("\x4D\x81", 2));
    client.flush();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_EQ(spy.count(), 2);
    client.write(QByteArray("\0\0", 2));
    client.flush();
    EXPECT_TRUE(waitFor(spy, 3));
}

TEST(ImageSavedListener, OtherMessagesAreIgnored)
{
    CImageSavedListener listener;
    ASSERT_TRUE(listener.Listen(uniqueId("other")));
    QSignalSpy spy(&listener, &CImageSavedListener::ImageSaved);
    QLocalSocket client;
    client.connectToServer(CImageSavedListener::ServerName(listener.Id()));
    ASSERT_TRUE(client.waitForConnected(3000));
    client.write(QByteArray("\x4C\x81\0\0\x4D\x81\0\0", 8));
    client.flush();
    ASSERT_TRUE(waitFor(spy, 1));
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_EQ(spy.count(), 1);
}

TEST(ImageSavedListener, TheEditorsSendIsHeard)
{
    CImageSavedListener listener;
    ASSERT_TRUE(listener.Listen(uniqueId("send")));
    QSignalSpy spy(&listener, &CImageSavedListener::ImageSaved);
    EXPECT_TRUE(CImageSavedListener::Send(listener.Id(), CImageSavedListener::WM_IMAGE_SAVED));
    EXPECT_TRUE(waitFor(spy, 1));
}

TEST(ImageSavedListener, SendFailsWithNobodyListening)
{
    EXPECT_FALSE(CImageSavedListener::Send(uniqueId("nobody"), 33101, 200));
    CImageSavedListener listener;
    ASSERT_TRUE(listener.Listen());
    EXPECT_EQ(listener.Id(), QString::number(QCoreApplication::applicationPid()));
}
