// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/lumivex/colourfixture.h"

#include <cstring>

#include "enhancer/ui/previewctrl.h"
#include "tests/support/testenv.h"

ColourPicture QuarteredPicture(int width, int height)
{
    ColourPicture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // y counts bottom-up here: the top quarter is the last rows.
            Bgr colour = x < width / 2 ? Bgr{0, 0, 255} : Bgr{255, 0, 0};
            if (y >= height * 3 / 4)
                colour = Bgr{0, 255, 0};
            picture.Set(x, y, colour);
        }
    return picture;
}

ImageRecord RecordOf(const ColourPicture& picture)
{
    ImageRecord record;
    BITMAPINFOHEADER header = picture.header;
    header.biSizeImage = DibStride(header.biWidth) * uint32_t(header.biHeight);
    uint8_t* pixels = ImageRecord::AllocatePacked(header);
    std::memcpy(pixels, picture.Pixels(), header.biSizeImage);
    record.Assign(header, pixels, true);
    return record;
}

QColor ShownAt(const CPreviewCtrl& preview, double fx, double fy)
{
    const QImage& cache = preview.RenderCache();
    return cache.pixelColor(int(fx * (cache.width() - 1)), int(fy * (cache.height() - 1)));
}
