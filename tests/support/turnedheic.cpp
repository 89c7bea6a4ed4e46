// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/support/turnedheic.h"

#include <memory>

#include <libheif/heif.h>

#include <QByteArray>
#include <QtEndian>

namespace
{

struct ContextFree {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct ImageFree {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct EncoderFree {
    void operator()(heif_encoder* encoder) const { heif_encoder_release(encoder); }
};
struct HandleFree {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct OptionsFree {
    void operator()(heif_encoding_options* options) const { heif_encoding_options_free(options); }
};

// A little-endian TIFF block with the one Orientation entry.
QByteArray orientationExif(int orientation)
{
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    QByteArray entry(2 + 12 + 4, '\0');
    qToLittleEndian<quint16>(1, entry.data());
    qToLittleEndian<quint16>(0x0112, entry.data() + 2);
    qToLittleEndian<quint16>(3, entry.data() + 4); // SHORT
    qToLittleEndian<quint32>(1, entry.data() + 6);
    qToLittleEndian<quint16>(static_cast<quint16>(orientation), entry.data() + 10);
    return tiff + entry;
}

bool fillPlane(heif_image* image, const QImage& picture)
{
    if (heif_image_add_plane(image, heif_channel_interleaved, picture.width(), picture.height(), 8)
            .code != heif_error_Ok)
        return false;
    int stride = 0;
    uint8_t* rows = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < rgb.height(); ++y)
        std::copy_n(rgb.constScanLine(y), rgb.width() * 3, rows + y * stride);
    return true;
}

} // namespace

QString writeTurnedHeic(const QString& path, const QImage& picture, int orientation)
{
    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    heif_encoder* encoderRaw = nullptr;
    if (heif_context_get_encoder_for_format(context.get(), heif_compression_HEVC, &encoderRaw)
            .code != heif_error_Ok)
        return QString();
    std::unique_ptr<heif_encoder, EncoderFree> encoder(encoderRaw);
    heif_encoder_set_lossy_quality(encoder.get(), 90);
    heif_image* imageRaw = nullptr;
    if (heif_image_create(picture.width(), picture.height(), heif_colorspace_RGB,
                          heif_chroma_interleaved_RGB, &imageRaw)
            .code != heif_error_Ok)
        return QString();
    std::unique_ptr<heif_image, ImageFree> image(imageRaw);
    if (!fillPlane(image.get(), picture))
        return QString();
    std::unique_ptr<heif_encoding_options, OptionsFree> options(heif_encoding_options_alloc());
    options->image_orientation = static_cast<heif_orientation>(orientation);
    heif_image_handle* handleRaw = nullptr;
    if (heif_context_encode_image(context.get(), image.get(), encoder.get(), options.get(),
                                  &handleRaw)
            .code != heif_error_Ok)
        return QString();
    std::unique_ptr<heif_image_handle, HandleFree> handle(handleRaw);
    const QByteArray exif = orientationExif(orientation);
    if (heif_context_add_exif_metadata(context.get(), handle.get(), exif.constData(),
                                       static_cast<int>(exif.size()))
            .code != heif_error_Ok)
        return QString();
    const QByteArray file = path.toUtf8();
    return heif_context_write_to_file(context.get(), file.constData()).code == heif_error_Ok
               ? path
               : QString();
}
