// SPDX-License-Identifier: GPL-2.0-or-later
// Opening photos as they are displayed, and writing pictures safely.
#include "varnex/operations.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <system_error>

#include <unistd.h>

#include <QString>

#include "platform/imaging.h"

namespace varnex {

namespace {

// A profile that is sRGB already needs no transform; its description names it.
bool hasForeignProfile(const VImage& image)
{
    if (image.get_typeof(VIPS_META_ICC_NAME) == 0)
        return false;
    size_t length = 0;
    const auto* data = static_cast<const char*>(image.get_blob(VIPS_META_ICC_NAME, &length));
    const std::string_view profile(data, length);
    using namespace std::string_view_literals;
    return profile.find("sRGB"sv) == std::string_view::npos &&
           profile.find("\0s\0R\0G\0B"sv) == std::string_view::npos;
}

VImage fromCmyk(const VImage& in)
{
    if (in.get_typeof(VIPS_META_ICC_NAME) != 0)
        return in.icc_transform("srgb", VImage::option()->set("embedded", true));
    return in.colourspace(VIPS_INTERPRETATION_sRGB);
}

std::string lowerExtension(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// A file written beside its destination; removed unless it was renamed into place.
class TempFile {
public:
    explicit TempFile(const std::string& destination)
    {
        static std::atomic<unsigned> counter{0};
        const std::filesystem::path target(destination);
        m_path = (target.parent_path() /
                  ("." + target.filename().string() + "." + std::to_string(getpid()) + "." +
                   std::to_string(counter++) + ".tmp"))
                     .string();
    }
    ~TempFile()
    {
        std::error_code ignored;
        if (!m_committed)
            std::filesystem::remove(m_path, ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return m_path; }
    void commit(const std::string& destination)
    {
        std::filesystem::rename(m_path, destination); // throws filesystem_error on failure
        m_committed = true;
    }

private:
    std::string m_path;
    bool m_committed = false;
};

// The pixels of a memory image with none of its metadata: savers cannot write what is not
// there (some ignore "strip" for some fields). pixels must outlive the result.
VImage bare(const VImage& pixels)
{
    const void* data = pixels.data();
    if (data == nullptr)
        throw vips::VError();
    const size_t size = VIPS_IMAGE_SIZEOF_IMAGE(pixels.get_image());
    return VImage::new_from_memory(const_cast<void*>(data), size, pixels.width(), pixels.height(),
                                   pixels.bands(), pixels.format())
        .copy(VImage::option()
                  ->set("interpretation", VIPS_INTERPRETATION_sRGB)
                  ->set("xres", pixels.xres())
                  ->set("yres", pixels.yres()));
}

bool keepsAlpha(FileFormat format)
{
    return format == FileFormat::Png || format == FileFormat::Gif || format == FileFormat::Tiff ||
           format == FileFormat::Webp || format == FileFormat::Avif;
}

void writeBmpFile(const VImage& image, const std::string& path)
{
    if (vipsSavesBmp())
        image.magicksave(path.c_str(), VImage::option()->set("format", "bmp")->set("strip", true));
    else
        writeBmp(image, path);
}

void writeFile(const VImage& image, const std::string& path, const SaveOptions& options)
{
    const char* file = path.c_str();
    switch (options.format) {
    case FileFormat::Jpeg:
        image.jpegsave(file, VImage::option()
                                 ->set("Q", options.quality)
                                 ->set("optimize_coding", true)
                                 ->set("interlace", false)
                                 ->set("strip", true));
        break;
    case FileFormat::Png:
        image.pngsave(file, VImage::option()->set("strip", true));
        break;
    case FileFormat::Gif:
        image.gifsave(file, VImage::option()->set("strip", true));
        break;
    case FileFormat::Bmp:
        writeBmpFile(image, path);
        break;
    case FileFormat::Tiff:
        image.tiffsave(file, VImage::option()
                                 ->set("compression", VIPS_FOREIGN_TIFF_COMPRESSION_DEFLATE)
                                 ->set("predictor", VIPS_FOREIGN_TIFF_PREDICTOR_HORIZONTAL)
                                 ->set("strip", true));
        break;
    case FileFormat::Webp:
        // Effort 2 encodes in 60 % of the default effort's time for files about 2 % larger.
        image.webpsave(file, VImage::option()
                                 ->set("Q", options.quality)
                                 ->set("effort", 2)
                                 ->set("strip", true));
        break;
    case FileFormat::Avif:
        // AV1 at 8 bits, what every browser shows; its Q scale runs lower than JPEG's for the
        // same look. Effort 2 encodes five times faster than libvips' default 4 for files a
        // quarter larger, still far below WebP's.
        image.heifsave(file, VImage::option()
                                 ->set("compression", VIPS_FOREIGN_HEIF_COMPRESSION_AV1)
                                 ->set("Q", std::max(1, options.quality * 2 / 3))
                                 ->set("bitdepth", 8)
                                 ->set("effort", 2)
                                 ->set("strip", true));
        break;
    }
}

} // namespace

Size Source::displaySize() const
{
    if (transform.rotation % 2 == 0)
        return fileSize;
    return {fileSize.height, fileSize.width};
}

Source probe(const std::string& path)
{
    const char* loader = vips_foreign_find_load(path.c_str());
    if (loader == nullptr)
        throw vips::VError();
    const VImage header = VImage::new_from_file(
        path.c_str(), VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL));
    // Refused from the header alone: decoding a size a damaged file only claims would take
    // minutes and gigabytes before it ends in a black picture.
    const QString fault =
        imaging::pixelLimitFault(QString::fromStdString(path), header.width(), header.height());
    if (!fault.isEmpty())
        throw vips::VError(fault.toStdString());
    Source source;
    source.path = path;
    source.jpeg = std::string_view(loader).starts_with("VipsForeignLoadJpeg");
    source.fileSize = sizeOf(header);
    source.transform = imaging::readDisplayTransform(QString::fromStdString(path));
    return source;
}

VImage decode(const Source& source, std::optional<Size> target, VipsKernel kernel)
{
    const int turns = source.transform.rotation;
    if (target && turns % 2 != 0)
        target = Size{target->height, target->width};
    // One top-to-bottom pass: decode, colour, shrink. Only the result is held in memory.
    vips::VOption* options = VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL);
    if (target && source.jpeg)
        options->set("shrink", jpegShrinkFor(source.fileSize, *target));
    VImage image = VImage::new_from_file(source.path.c_str(), options);
    image = applyMatrix(toWorking(image), source.transform.matrix);
    if (target)
        image = resizeExact(image, *target, kernel);
    image = image.copy_memory();
    // Turning needs the whole picture, which is why it comes after the pass.
    if (turns != 0)
        image = rotateQuarters(image, turns).copy_memory();
    if (source.transform.mirrored)
        image = image.flip(VIPS_DIRECTION_HORIZONTAL).copy_memory();
    return image;
}

VImage loadPicture(const std::string& path)
{
    return decode(probe(path), std::nullopt, VIPS_KERNEL_CUBIC);
}

VImage toWorking(VImage in)
{
    if (in.interpretation() == VIPS_INTERPRETATION_CMYK)
        in = fromCmyk(in);
    else if (hasForeignProfile(in))
        in = in.icc_transform("srgb", VImage::option()->set("embedded", true));
    if (in.bands() < 3 || in.interpretation() != VIPS_INTERPRETATION_sRGB)
        in = in.colourspace(VIPS_INTERPRETATION_sRGB);
    if (in.bands() > 4)
        in = in.extract_band(0, VImage::option()->set("n", 4));
    // Any old profile stays in the metadata but is never written: every save strips it.
    return toUchar(in);
}

std::optional<FileFormat> formatOfPath(const std::string& path)
{
    const std::string extension = lowerExtension(path);
    if (extension == ".jpg" || extension == ".jpeg")
        return FileFormat::Jpeg;
    if (extension == ".png")
        return FileFormat::Png;
    if (extension == ".gif")
        return FileFormat::Gif;
    if (extension == ".bmp")
        return FileFormat::Bmp;
    if (extension == ".tif" || extension == ".tiff")
        return FileFormat::Tiff;
    if (extension == ".webp")
        return FileFormat::Webp;
    if (extension == ".avif")
        return FileFormat::Avif;
    return std::nullopt;
}

void save(const VImage& image, const std::string& path, const SaveOptions& options)
{
    VImage picture = image;
    if (picture.bands() == 4 && !keepsAlpha(options.format))
        picture = flattenOver(picture, Background{options.background, {}}, VIPS_KERNEL_CUBIC);
    const VImage pixels = picture.copy_memory(); // holds the memory bare() points at
    TempFile temp(path);
    writeFile(bare(pixels), temp.path(), options);
    if (!options.metadataFrom.empty())
        copyCameraMetadata(options.metadataFrom, temp.path(), options.format, sizeOf(picture));
    else if (options.format == FileFormat::Webp)
        removeMetadata(temp.path()); // libvips' WebP saver writes EXIF even when told to strip
    temp.commit(path);
}

} // namespace varnex
