// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/exiffields.h"

#include <algorithm>
#include <memory>

#include "images/exifreader.h"
#include "platform/imaging.h"
#include "platform/settings.h"
#include "platform/stringtable.h"

namespace exiffields
{

namespace
{

const QString kCaptionSection = QStringLiteral("UserFieldFormat");
const QString kToggleSection = QStringLiteral("Exif Dialog");

const std::array<RowInfo, RowCount> kRows = {{
    {1016, 1412, 1413, "Comment: ", "Description: "},
    {1015, 1410, 1411, "Date: ", "Date: "},
    {1023, 1420, 1421, "Time: ", "Time: "},
    {1035, 1430, 1431, "Camera: ", "Camera: "},
    {1036, 1440, 1441, "Focal length: ", "Focal length: "},
    {1087, 1450, 1451, "Shutter: ", "Shutter: "},
    {1088, 1460, 1461, "Flash: ", "Flash: "},
    {1089, 1470, 1471, "Aperture: ", "Aperture: "},
    {1090, 1480, 1481, "ISO: ", "ISO: "},
}};

QString key(int id)
{
    return QString::number(id);
}

// A stored toggle state, or NotStored.
int storedToggle(const Settings& settings, int id)
{
    return settings.getInt(kToggleSection, key(id), NotStored);
}

void loadFlag(const Settings& settings, int id, bool& flag)
{
    const int stored = storedToggle(settings, id);
    if (stored != NotStored)
        flag = stored != 0;
}

// Appends caption and text for each ticked row that has a text, each followed by end.
QString appendFields(QString text, const Texts& captions, const Flags& ticked, const Texts& fields,
                     const QString& end)
{
    for (int row = 0; row < RowCount; ++row) {
        if (ticked[row] && !fields[row].isEmpty())
            text += captions[row] + fields[row] + end;
    }
    return text;
}

} // namespace

const RowInfo& rowInfo(int row)
{
    return kRows.at(static_cast<size_t>(row));
}

Choice defaultChoice()
{
    Choice choice;
    for (int row = 0; row < RowCount; ++row)
        choice.captions[row] = QString::fromUtf8(kRows[row].captionDefault);
    choice.toDescription.fill(true);
    return choice;
}

Texts loadCaptions(const Settings& settings)
{
    Texts captions;
    for (int row = 0; row < RowCount; ++row) {
        captions[row] =
            settings.getString(kCaptionSection, QString::fromUtf8(kRows[row].captionKey),
                               QString::fromUtf8(kRows[row].captionDefault));
    }
    return captions;
}

void saveCaptions(Settings& settings, const Texts& captions)
{
    for (int row = 0; row < RowCount; ++row)
        settings.writeString(kCaptionSection, QString::fromUtf8(kRows[row].captionKey),
                             captions[row]);
}

void loadToggles(const Settings& settings, Choice& choice)
{
    loadFlag(settings, ApplyToAllId, choice.applyToAll);
    // "Add" and "Replace" exclude each other: a stored "Replace" decides, else a stored "Add".
    bool add = !choice.replace;
    loadFlag(settings, AddId, add);
    choice.replace = !add;
    loadFlag(settings, ReplaceId, choice.replace);
    for (int row = 0; row < RowCount; ++row) {
        loadFlag(settings, kRows[row].descriptionToggle, choice.toDescription[row]);
        loadFlag(settings, kRows[row].titleToggle, choice.toTitle[row]);
    }
}

void saveToggles(Settings& settings, const Choice& choice)
{
    settings.writeInt(kToggleSection, key(ApplyToAllId), choice.applyToAll ? 1 : 0);
    settings.writeInt(kToggleSection, key(AddId), choice.replace ? 0 : 1);
    settings.writeInt(kToggleSection, key(ReplaceId), choice.replace ? 1 : 0);
    for (int row = 0; row < RowCount; ++row) {
        settings.writeInt(kToggleSection, key(kRows[row].titleToggle), choice.toTitle[row] ? 1 : 0);
        settings.writeInt(kToggleSection, key(kRows[row].descriptionToggle),
                          choice.toDescription[row] ? 1 : 0);
    }
}

Texts readFields(const imaging::Image& image, bool& found)
{
    Texts fields;
    fields[Description] = exif::BuildExifDescription(image, found);
    fields[Date] = exif::FormatExifDate(image, found);
    fields[Time] = exif::FormatExifTime(image, found);
    fields[Camera] = exif::FormatExifCamera(image, found);
    fields[FocalLength] = exif::FormatExifFocalLength(image, found);
    fields[Shutter] = exif::FormatExifShutter(image, found);
    fields[Flash] = exif::FormatExifFlash(image, found);
    fields[Aperture] = exif::FormatExifAperture(image, found);
    fields[Iso] = exif::FormatExifIso(image, found);
    return fields;
}

QString buildDescription(const Choice& choice, const Texts& fields, const QString& existing)
{
    // With no row ticked for it, "Replace" would only erase what the user wrote.
    if (std::none_of(choice.toDescription.begin(), choice.toDescription.end(),
                     [](bool ticked) { return ticked; }))
        return existing;
    const QString start = choice.replace ? QString() : existing;
    return appendFields(start, choice.captions, choice.toDescription, fields,
                        QStringLiteral("\r\n"));
}

QString buildTitle(const Choice& choice, const Texts& fields, const QString& existing)
{
    const QString start = choice.replace ? QString() : existing;
    QString title =
        appendFields(start, choice.captions, choice.toTitle, fields, QStringLiteral(" "));
    // A title is one line.
    title.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    if (title.size() > MaxTitleLength)
        title.truncate(MaxTitleLength);
    return title;
}

Outcome applyToImage(const Choice& choice, const QString& path, ImageTexts& texts)
{
    const std::unique_ptr<imaging::Image> image = imaging::Image::open(path);
    if (!image) {
        texts.description = damagedText();
        return Outcome::Damaged;
    }
    bool found = false;
    const Texts fields = readFields(*image, found);
    if (!found)
        return Outcome::NoExif;
    texts.description = buildDescription(choice, fields, texts.description);
    const QString title = buildTitle(choice, fields, texts.title);
    if (!title.isEmpty())
        texts.title = title;
    return Outcome::Changed;
}

QString damagedText()
{
    return loadString(IDS_IMAGE_DAMAGED);
}

QString lacksExifText()
{
    return loadString(IDS_NO_EXIF_INFORMATION);
}

std::vector<int> rowsToVisit(bool applyToAll, int rowCount, std::vector<int> selected)
{
    if (applyToAll) {
        std::vector<int> all(static_cast<size_t>(std::max(rowCount, 0)));
        for (int row = 0; row < rowCount; ++row)
            all[static_cast<size_t>(row)] = row;
        return all;
    }
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    std::erase_if(selected, [rowCount](int row) { return row < 0 || row >= rowCount; });
    return selected;
}

bool applyToImages(const Choice& choice, const std::vector<QString>& paths,
                   std::vector<ImageTexts>& texts)
{
    bool lacking = false;
    const size_t count = std::min(paths.size(), texts.size());
    for (size_t i = 0; i < count; ++i) {
        if (applyToImage(choice, paths[i], texts[i]) != Outcome::Changed)
            lacking = true;
    }
    return lacking;
}

} // namespace exiffields
