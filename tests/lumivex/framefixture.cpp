// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/lumivex/framefixture.h"

#include <cstdlib>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "enhancer/ui/lumivexview.h"

QStringList FrameChoosers::openFiles(const QString&, const QString&, const QString&)
{
    if (openAnswers.empty())
        return {};
    QStringList answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

QString FrameChoosers::saveFile(const QString&, const QString&, const QString&)
{
    if (saveAnswers.empty())
        return {};
    QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

QColor shownColour(const ImageRecord& image, int x, int yFromTop)
{
    const int stride = (image.widthPixels * 3 + 3) & ~3;
    const uint8_t* pixel =
        image.Pixels() + (image.heightPixels - 1 - yFromTop) * stride + x * 3;
    return QColor(pixel[2], pixel[1], pixel[0]);
}

bool closeTo(const QColor& a, const QColor& b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

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
    QImage picture(320, 160, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.fillRect(0, 0, 160, 80, Qt::red);
    painter.fillRect(160, 0, 160, 80, Qt::green);
    painter.fillRect(0, 80, 160, 80, Qt::blue);
    painter.fillRect(160, 80, 160, 80, Qt::white);
    painter.end();
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
    const QString target = binFolder() + QStringLiteral("/../screenshots/lumivex");
    QDir().mkpath(target);
    EXPECT_TRUE(widget.grab().save(target + u'/' + name + QStringLiteral(".png")));
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
