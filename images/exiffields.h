// SPDX-License-Identifier: GPL-2.0-or-later
// The rules of the EXIF information dialog without its window: which fields it offers, the
// captions written before them, the toggles it remembers, and how the chosen field texts are
// added to or replace an image's title and description.
#pragma once

#include <array>
#include <vector>

#include <QString>

class Settings;
namespace imaging
{
class Image;
}

namespace exiffields
{

// The nine fields, in the order the dialog shows them and texts are built.
enum Row { Description, Date, Time, Camera, FocalLength, Shutter, Flash, Aperture, Iso };
constexpr int RowCount = 9;
// Titles longer than this are cut.
constexpr int MaxTitleLength = 256;
// What a toggle reads as when "Exif Dialog" holds no value for it.
constexpr int NotStored = -123;

// Control ids of the toggles that are not field toggles; they name the stored values too.
enum ToggleId { ApplyToAllId = 1496, AddId = 1495, ReplaceId = 1494 };

struct RowInfo {
    int captionBox;        // control id of the caption's edit box
    int descriptionToggle; // control id of the description column's toggle
    int titleToggle;       // control id of the title column's toggle
    const char* captionKey;
    const char* captionDefault;
};
const RowInfo& rowInfo(int row);

using Texts = std::array<QString, RowCount>;
using Flags = std::array<bool, RowCount>;

// What the user chose in the dialog.
struct Choice {
    Texts captions;
    Flags toDescription{};
    Flags toTitle{};
    bool replace = false; // "Replace" when true, "Add" otherwise
    bool applyToAll = false;
};

// The toggle states shown before anything was stored: every field goes into the description,
// nothing into the title, texts are added, only the selected images change.
Choice defaultChoice();

// Captions from "UserFieldFormat", each with its default when absent.
Texts loadCaptions(const Settings& settings);
void saveCaptions(Settings& settings, const Texts& captions);
// Toggle states from "Exif Dialog"; a toggle without a stored value keeps its state in choice.
void loadToggles(const Settings& settings, Choice& choice);
// Writes all 21 toggle states under their decimal control ids.
void saveToggles(Settings& settings, const Choice& choice);

// The nine field texts of an image; found is raised when any field produced a value.
Texts readFields(const imaging::Image& image, bool& found);

// The texts of one image in the list.
struct ImageTexts {
    QString title;
    QString description;
};

// Builds the new description and title from the field texts (both steps of applying).
QString buildDescription(const Choice& choice, const Texts& fields, const QString& existing);
QString buildTitle(const Choice& choice, const Texts& fields, const QString& existing);

enum class Outcome { Changed, NoExif, Damaged };
// Applies the choice to the image file at path, changing texts as the dialog's rules say.
Outcome applyToImage(const Choice& choice, const QString& path, ImageTexts& texts);
// The description an image gets when its file cannot be opened.
QString damagedText();

// The rows applying visits: every row with "Apply to all images", else the selected ones, in
// row order.
std::vector<int> rowsToVisit(bool applyToAll, int rowCount, std::vector<int> selected);
// Applies the choice to each file; true when any of them lacked EXIF data, which the page
// reports once (message 32814 through lacksExifText()).
bool applyToImages(const Choice& choice, const std::vector<QString>& paths,
                   std::vector<ImageTexts>& texts);
QString lacksExifText();

} // namespace exiffields
