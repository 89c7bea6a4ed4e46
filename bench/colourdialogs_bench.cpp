// SPDX-License-Identifier: GPL-2.0-or-later
// colourdialogs-bench: the colour and red-eye dialogs on a 24-megapixel picture, offscreen:
// opening each dialog, one brightness step with its preview, automatic levels, OK handing the
// picture over, and a red-eye stroke with its redraw. Each the best of a few runs, in seconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include "bench/benchfiles.h"
#include "bench/benchpicture.h"
#include "enhancer/imagerecord.h"
#include "enhancer/ui/imageenhance.h"
#include "enhancer/ui/previewctrl.h"
#include "enhancer/ui/redeyectrl.h"
#include "enhancer/ui/redeyedlg.h"
#include "platform/choosers.h"

using bench::secondsSince;

namespace {

constexpr int Width = 6000, Height = 4000, Runs = 3;

// A picture with every value in every channel, so that automatic levels has work to do.
ImageRecord MakePicture()
{
    return bench::makePicture(Width, Height, [](int x, int y, uint8_t* p) {
        p[0] = uint8_t(20 + x % 200);
        p[1] = uint8_t(30 + y % 180);
        p[2] = uint8_t(40 + (x + y) % 170);
    });
}

double Best(const std::function<double()>& run)
{
    return bench::bestOf(Runs, run);
}

void Report(const char* what, double seconds)
{
    std::printf("%-40s %8.3f s\n", what, seconds);
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const ImageRecord picture = MakePicture();
    std::printf("picture %d x %d\n", Width, Height);

    Report("colours: open", Best([&] {
        const auto start = std::chrono::steady_clock::now();
        CImageEnhance dialog(picture, nullptr);
        dialog.show();
        QApplication::processEvents();
        return secondsSince(start);
    }));
    CImageEnhance dialog(picture, nullptr);
    dialog.show();
    QApplication::processEvents();
    Report("colours: brightness step with preview", Best([&] {
        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(dialog.Slider(EnhanceSettings::Brightness), Qt::Key_Right);
        QApplication::processEvents();
        return secondsSince(start);
    }));
    Report("colours: automatic levels on or off", Best([&] {
        const auto start = std::chrono::steady_clock::now();
        dialog.AutoLevelButton()->click();
        return secondsSince(start);
    }));
    Report("colours: OK and hand over", Best([&] {
        CImageEnhance once(picture, nullptr);
        once.show();
        QApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        once.OkButton()->click();
        BITMAPINFOHEADER header;
        uint8_t* pixels = nullptr;
        once.TakeResult(header, pixels);
        const double seconds = secondsSince(start);
        ImageRecord::FreePacked(pixels);
        return seconds;
    }));

    NoChoosers choosers;
    Report("red eye: open", Best([&] {
        const auto start = std::chrono::steady_clock::now();
        CRedEyeDlg redEye(picture, choosers, nullptr);
        redEye.show();
        QApplication::processEvents();
        return secondsSince(start);
    }));
    CRedEyeDlg redEye(picture, choosers, nullptr);
    redEye.show();
    QApplication::processEvents();
    CRedEyeCtrl* control = redEye.Control();
    control->BrushAction()->trigger();
    Report("red eye: stroke of one dab and redraw", Best([&] {
        QWidget* window = control->ImageWindow();
        const QPoint centre = window->rect().center();
        const auto start = std::chrono::steady_clock::now();
        QTest::mouseClick(window, Qt::LeftButton, {}, centre);
        QApplication::processEvents();
        return secondsSince(start);
    }));
    Report("red eye: undo stroke", Best([&] {
        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(&redEye, Qt::Key_Z);
        QTest::keyClick(&redEye, Qt::Key_X);
        return secondsSince(start) / 2;
    }));
    return 0;
}
