// SPDX-License-Identifier: GPL-2.0-or-later
// geometrydialogs-bench: the resize, rotation and sharpen dialogs on a 24-megapixel picture,
// offscreen: opening each, the rotation thumbnail's first picture and a turn of the dial, a
// sharpen slider step with its preview, and OK handing the sharpened picture over. Each the
// best of a few runs, in seconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include <QApplication>
#include <QSlider>
#include <QTest>

#include "bench/benchfiles.h"
#include "bench/benchpicture.h"
#include "enhancer/imagerecord.h"
#include "enhancer/sharpenoperation.h"
#include "enhancer/ui/resizedlg.h"
#include "enhancer/ui/rotatearrow.h"
#include "enhancer/ui/rotatepp.h"
#include "enhancer/ui/rotatethumbnail.h"
#include "enhancer/ui/sharpendlg.h"
#include "platform/paths.h"
#include "platform/prompter.h"

using bench::secondsSince;

namespace {

constexpr int Width = 6000, Height = 4000, Runs = 3;

// A picture with detail everywhere, so that sharpening and averaging have work to do.
ImageRecord MakePicture()
{
    return bench::makePicture(Width, Height, [](int x, int y, uint8_t* p) {
        p[0] = uint8_t(x * 7 + y);
        p[1] = uint8_t(y * 5 + x / 3);
        p[2] = uint8_t((x ^ y) & 0xff);
    });
}

double Best(const std::function<double()>& run)
{
    return bench::bestOf(Runs, run);
}

void Report(const char* what, double seconds)
{
    std::printf("%-44s %8.3f s\n", what, seconds);
}

// Waits until the thumbnail has drawn more than `drawn` pictures.
void WaitForPicture(const CRotateThumbnail& thumbnail, int drawn)
{
    while (thumbnail.PicturesDrawn() <= drawn)
        QTest::qWait(1);
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const ImageRecord picture = MakePicture();
    std::printf("picture %d x %d\n", Width, Height);
    ConsolePrompter prompter;

    Report("resize: open", Best([&] {
        const auto start = std::chrono::steady_clock::now();
        CResizeDlg dialog(picture, prompter, platform::programFolder(), nullptr);
        dialog.show();
        QApplication::processEvents();
        return secondsSince(start);
    }));
    Report("rotation: open to the first thumbnail", Best([&] {
        const auto start = std::chrono::steady_clock::now();
        CRotatePP dialog(picture, nullptr);
        dialog.show();
        WaitForPicture(*dialog.Thumbnail(), 0);
        return secondsSince(start);
    }));
    {
        CRotatePP dialog(picture, nullptr);
        dialog.show();
        WaitForPicture(*dialog.Thumbnail(), 0);
        dialog.Dial()->setFocus();
        Report("rotation: dial step to its thumbnail", Best([&] {
            const int drawn = dialog.Thumbnail()->PicturesDrawn();
            const auto start = std::chrono::steady_clock::now();
            QTest::keyClick(dialog.Dial(), Qt::Key_PageUp);
            WaitForPicture(*dialog.Thumbnail(), drawn);
            return secondsSince(start);
        }));
    }
    Report("sharpen: prepare and open", Best([&] {
        const auto start = std::chrono::steady_clock::now();
        CSharpenOperation operation;
        operation.Prepare(picture.header, picture.Pixels(), nullptr);
        CSharpenDlg dialog(picture, operation, nullptr);
        dialog.show();
        QApplication::processEvents();
        return secondsSince(start);
    }));
    CSharpenOperation operation;
    operation.Prepare(picture.header, picture.Pixels(), nullptr);
    CSharpenDlg dialog(picture, operation, nullptr);
    dialog.show();
    QApplication::processEvents();
    dialog.Slider()->setFocus();
    Report("sharpen: slider step with its preview", Best([&] {
        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(dialog.Slider(), Qt::Key_PageUp);
        QApplication::processEvents();
        return secondsSince(start);
    }));
    Report("sharpen: OK hands over the whole picture", Best([&] {
        const auto start = std::chrono::steady_clock::now();
        BITMAPINFOHEADER header;
        uint8_t* pixels = nullptr;
        if (dialog.TakeResult(header, pixels))
            ImageRecord::FreePacked(pixels);
        return secondsSince(start);
    }));
    return 0;
}
