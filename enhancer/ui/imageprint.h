// SPDX-License-Identifier: GPL-2.0-or-later
// ImagePrint: how the editor prints — through the maker's print program when its folder is
// in the settings, otherwise on a printer page, the image at 300 dots per inch of paper.
#pragma once

#include <optional>

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

class ImageRecord;
class QPainter;

class ImagePrint
{
public:
    // The print program's executable in its folder.
    static constexpr const char* ProgramFile = "Quindle.exe";
    // Pixels of the image per inch of paper.
    static constexpr int ImageDpi = 300;

    struct Command {
        QString program;
        QStringList arguments;
    };
    // The print program's command for the image: its file name, then its folder with a
    // trailing separator. None when the program's folder is not in the settings.
    static std::optional<Command> ProgramCommand(const ImageRecord& image);
    // Whether the note recommending the print program is to be shown, and the user's answer
    // to "Don't show this message again".
    static bool ShowNote();
    static void SetShowNote(bool show);

    // The image's size on the page, in the printer's dots: whole multiples of 300 dpi, and
    // fitted to the page (aspect kept) when that would be nothing (printers below 300 dpi)
    // or more than the page holds.
    static QSize DrawnSize(QSize image, int dpiX, int dpiY, QSize page);
    // Draws the picture at the page's origin.
    static void DrawPage(QPainter& painter, const QImage& picture, int dpiX, int dpiY,
                         QSize page);
};
