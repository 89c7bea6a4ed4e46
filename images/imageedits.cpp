// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/imageedits.h"

#include <algorithm>
#include <filesystem>

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include "platform/displaytransform.h"
#include "platform/imaging.h"

namespace
{

// The formats whose files are written back by the edits, the encoder that writes each and
// whether the file itself carries the turn and the levels; every other photo keeps them in a
// side file. A TIFF's ReferenceBlackWhite describes its pixel data, and the metadata writer
// will not replace it.
struct FormatEntry {
    imaging::RawFormat format;
    const char* mimeType;
    bool turnInFile;
    bool levelsInFile;
};
constexpr FormatEntry ImageFormatTable[] = {
    {imaging::RawFormat::MemoryBmp, "image/bmp", false, false},
    {imaging::RawFormat::Bmp, "image/bmp", false, false},
    {imaging::RawFormat::Jpeg, "image/jpeg", true, true},
    {imaging::RawFormat::Png, "image/png", false, false},
    {imaging::RawFormat::Gif, "image/gif", false, false},
    {imaging::RawFormat::Tiff, "image/tiff", true, false},
    {imaging::RawFormat::Exif, "image/jpeg", true, true},
};

const FormatEntry* formatEntry(imaging::RawFormat format)
{
    for (const FormatEntry& entry : ImageFormatTable)
        if (entry.format == format)
            return &entry;
    return nullptr;
}

// Where one photo's tags are edited: the photo itself or its side file.
struct EditTarget {
    std::unique_ptr<imaging::Image> image;
    QString path;
    QString mimeType;
};

// A side file, once there, holds every edit: the preview reads the side file alone then.
EditTarget openTarget(const QString& photo, uint32_t tag)
{
    const QString side = imaging::sideFilePath(photo);
    if (auto sideImage = imaging::Image::open(side))
        return {std::move(sideImage), side, QStringLiteral("image/jpeg")};
    auto image = imaging::Image::open(photo);
    if (!image)
        return {};
    const FormatEntry* entry = formatEntry(image->rawFormat());
    const bool inFile = entry != nullptr &&
                        (tag == imaging::TagOrientation ? entry->turnInFile : entry->levelsInFile);
    if (inFile)
        return {std::move(image), photo, QString::fromLatin1(entry->mimeType)};
    QImage pixel(1, 1, QImage::Format_ARGB32);
    pixel.fill(Qt::black);
    auto made = imaging::Image::fromQImage(pixel);
    // The new side file takes over the turn the photo has.
    if (const auto turn = image->property(imaging::TagOrientation); turn && made)
        made->setProperty(*turn);
    return {std::move(made), side, QStringLiteral("image/jpeg")};
}

// Saves the edited tag and reads it back: a writer that keeps the old value must not pass
// for a success.
bool saveEdit(EditTarget target, uint32_t tag)
{
    const auto wanted = target.image->property(tag);
    if (!CImageEdits::SaveImageInPlace(target.path, std::move(target.image), target.mimeType))
        return false;
    const auto saved = imaging::Image::open(target.path);
    const auto found = saved ? saved->property(tag) : std::nullopt;
    return wanted && found && found->value == wanted->value;
}

int orientationOf(const imaging::Image& image)
{
    const auto item = image.property(imaging::TagOrientation);
    if (!item || item->value.size() < 2)
        return 1;
    return qFromLittleEndian<uint16_t>(item->value.constData());
}

QByteArray shortValue(uint16_t value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian<uint16_t>(value, bytes.data());
    return bytes;
}

QByteArray levelsValue(const CImageEdits::Levels& levels)
{
    QByteArray bytes(48, '\0');
    for (size_t i = 0; i < levels.size(); ++i) {
        qToLittleEndian<uint32_t>(levels[i], bytes.data() + i * 8);
        qToLittleEndian<uint32_t>(1, bytes.data() + i * 8 + 4);
    }
    return bytes;
}

bool replaceFile(const QString& source, const QString& target)
{
    std::error_code error;
    std::filesystem::rename(source.toStdString(), target.toStdString(), error);
    return !error;
}

} // namespace

CImageEdits::CImageEdits(QString backupFolder) : m_folder(std::move(backupFolder)) {}

CImageEdits::~CImageEdits()
{
    DropBackups();
}

uint16_t CImageEdits::NewOrientation(int angle, int current)
{
    // Only quarter turns are recorded; any other angle has always meant a right turn of an
    // upright photo. A mirrored photo stays mirrored: turning a 5 right gives a 2.
    if (angle != 90 && angle != 180 && angle != 270)
        return 6;
    return static_cast<uint16_t>(imaging::turnedOrientation(current, angle));
}

QImage CImageEdits::LevelsSample(const imaging::Image& image)
{
    int width = image.width();
    int height = image.height();
    constexpr int Longest = 480;
    if (width > Longest || height > Longest) {
        if (width >= height) {
            height = std::max(1, height * Longest / width);
            width = Longest;
        } else {
            width = std::max(1, width * Longest / height);
            height = Longest;
        }
    }
    if (width <= 0 || height <= 0)
        return {};
    return image.draw(QSize(width, height)).convertToFormat(QImage::Format_ARGB32);
}

CImageEdits::Levels CImageEdits::AutoLevels(const QImage& picture)
{
    std::array<std::array<uint64_t, 256>, 3> bins{};
    const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            ++bins[0][qRed(line[x])];
            ++bins[1][qGreen(line[x])];
            ++bins[2][qBlue(line[x])];
        }
    }
    // Thresholds in percent of all pixels: a level counts only when its own bin is above.
    static constexpr double Threshold[3] = {0.057, 0.059, 0.058};
    const double total = double(pixels.width()) * pixels.height();
    Levels levels{};
    for (int channel = 0; channel < 3; ++channel) {
        const auto counts = [&](int level) {
            return total > 0 && bins[channel][level] * 100.0 / total > Threshold[channel];
        };
        uint32_t black = 256;
        for (int level = 0; level < 256 && black == 256; ++level)
            if (counts(level))
                black = level;
        uint32_t white = 0;
        for (int level = 255; level >= 0 && white == 0; --level)
            if (counts(level))
                white = level;
        levels[channel * 2] = black;
        levels[channel * 2 + 1] = white;
    }
    return levels;
}

bool CImageEdits::SaveImageInPlace(const QString& target, std::unique_ptr<imaging::Image> image,
                                   const QString& mimeType)
{
    if (!image)
        return false;
    const QString work = target + QStringLiteral("_tmp");
    const bool saved = image->save(work, mimeType);
    image.reset();
    const bool replaced = saved && replaceFile(work, target);
    QFile::remove(work);
    return replaced;
}

bool CImageEdits::RotateImage(const QString& path, int angle)
{
    EditTarget target = openTarget(path, imaging::TagOrientation);
    if (!target.image)
        return false;
    const uint16_t orientation = NewOrientation(angle, orientationOf(*target.image));
    target.image->setProperty(
        {imaging::TagOrientation, imaging::PropertyShort, shortValue(orientation)});
    return saveEdit(std::move(target), imaging::TagOrientation);
}

bool CImageEdits::AutoLevelsImage(const QString& path)
{
    const auto photo = imaging::Image::open(path);
    EditTarget target = openTarget(path, imaging::TagReferenceBlackWhite);
    if (!photo || !target.image)
        return false;
    const QImage sample = LevelsSample(*photo);
    if (sample.isNull())
        return false;
    target.image->removeProperty(imaging::TagReferenceBlackWhite);
    target.image->setProperty({imaging::TagReferenceBlackWhite, imaging::PropertyRational,
                               levelsValue(AutoLevels(sample))});
    return saveEdit(std::move(target), imaging::TagReferenceBlackWhite);
}

bool CImageEdits::CanEdit(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isReadable() && info.isWritable();
}

bool CImageEdits::CanEdit(const QStringList& paths)
{
    for (const QString& path : paths)
        if (!CanEdit(path))
            return false;
    return true;
}

int CImageEdits::RotateSelection(const std::vector<Selected>& selection, int angle)
{
    BackUpSelection(selection);
    int changed = 0;
    for (const Selected& photo : selection)
        changed += RotateImage(photo.path, angle) ? 1 : 0;
    return changed;
}

int CImageEdits::AutoLevelsSelection(const std::vector<Selected>& selection)
{
    BackUpSelection(selection);
    int changed = 0;
    for (const Selected& photo : selection)
        changed += AutoLevelsImage(photo.path) ? 1 : 0;
    return changed;
}

void CImageEdits::BackUpSelection(const std::vector<Selected>& selection)
{
    DropBackups();
    for (const Selected& photo : selection) {
        const QString backup = m_folder + QStringLiteral("/Bckp_") + QString::number(photo.row);
        if (QFileInfo::exists(photo.path))
            backUpFile(photo.path, backup);
        // The side file is what an edit of most formats changes, or creates.
        backUpFile(imaging::sideFilePath(photo.path), backup + QStringLiteral(".exif"));
    }
}

void CImageEdits::backUpFile(const QString& original, const QString& backup)
{
    if (!QFileInfo::exists(original)) {
        m_backups.push_back({QString(), original});
        return;
    }
    QFile::remove(backup);
    if (QFile::copy(original, backup))
        m_backups.push_back({backup, original});
}

bool CImageEdits::UndoLastEdit()
{
    std::vector<BackUpItem> failed;
    for (const BackUpItem& item : m_backups) {
        bool restored = false;
        if (item.backup.isEmpty()) {
            restored = !QFileInfo::exists(item.original) || QFile::remove(item.original);
        } else {
            // Copied beside the original first, so a failed copy never damages it.
            const QString work = item.original + QStringLiteral("_undo");
            QFile::remove(work);
            restored = QFile::copy(item.backup, work) && replaceFile(work, item.original);
            QFile::remove(work);
        }
        if (!restored)
            failed.push_back(item);
    }
    // Restored files need their copies no more; a copy that could not be put back is kept.
    for (const BackUpItem& item : m_backups)
        if (!item.backup.isEmpty() && std::find_if(failed.begin(), failed.end(), [&](auto& f) {
                                          return f.backup == item.backup;
                                      }) == failed.end())
            QFile::remove(item.backup);
    m_backups = std::move(failed);
    return m_backups.empty();
}

void CImageEdits::DropBackups()
{
    for (const BackUpItem& item : m_backups)
        if (!item.backup.isEmpty())
            QFile::remove(item.backup);
    m_backups.clear();
}
