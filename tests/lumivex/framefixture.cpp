// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/lumivex/framefixture.h"


#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "enhancer/ui/lumivexview.h"
#include "tests/lumivex/dialogshots.h"

FrameTest::FrameTest() = default;

FrameTest::~FrameTest()
{
    // A modified image left at the end of a test is not asked about.
    if (app)
        doc().SetModifiedFlag(false);
    frame.reset();
}

QString FrameTest::photo(const QString& shared, const QString& name)
{
    const QString target = folder.file(name);
    QFile::copy(sharedTestData(QStringLiteral("photos/") + shared), target);
    QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

QString FrameTest::quarters(const QString& name)
{
    // Red, green / blue, white: every turn and flip moves a known colour to the top left.
    const QImage picture = quarterPicture().scaled(320, 160);
    const QString path = folder.file(name);
    return picture.save(path) ? path : QString();
}

void FrameTest::start(const QStringList& params)
{
    app = std::make_unique<CLumivexApp>(binFolder());
    frame = std::make_unique<CMainFrame>(*app, prompter, choosers);
    frame->SetLinkOpener([this](const QString& target) {
        opened << target;
        return 33;
    });
    frame->show();
    frame->activateWindow();
    app->InitInstance(params, prompter);
    QCoreApplication::processEvents();
}

bool FrameTest::click(int id)
{
    QToolButton* button = frame->ToolButton(id);
    if (!button || !button->isEnabled() || !button->isVisible())
        return false;
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    QCoreApplication::processEvents();
    return true;
}

void FrameTest::key(int key, Qt::KeyboardModifiers modifiers)
{
    // After a dialog closed the window is active again, as it is for the user.
    frame->activateWindow();
    QApplication::setActiveWindow(frame.get());
    QWidget* target = frame->focusWidget() ? frame->focusWidget() : frame.get();
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    QCoreApplication::processEvents();
}

void FrameTest::waitForEdit()
{
    for (int i = 0; i < 500 && frame->View()->IsOperationRunning(); ++i)
        QTest::qWait(10);
    QCoreApplication::processEvents();
}

void FrameTest::screenshot(QWidget& widget, const QString& name)
{
    EXPECT_TRUE(saveScreenshot(widget, name));
}

void FrameTest::onNextDialog(std::function<void(QWidget&)> check)
{
    // Polls: the dialog opens once the command's handler reaches its modal run.
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, check] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        check(*dialog);
    });
    timer->start(20);
}
