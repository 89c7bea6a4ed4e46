// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/offthread.h"

#include <memory>

#include <QEventLoop>
#include <QThread>
#include <QTimer>

void runOffThread(const std::function<void()>& work, const std::function<void()>& onTick,
                  int tickMs)
{
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create(work));
    // Queued to this thread: the loop ends only once it runs, even when the work is quick.
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    QTimer ticks;
    if (onTick) {
        QObject::connect(&ticks, &QTimer::timeout, &loop, [&] {
            if (thread->isRunning())
                onTick();
        });
        ticks.start(tickMs);
    }
    thread->start();
    loop.exec();
    thread->wait();
}
