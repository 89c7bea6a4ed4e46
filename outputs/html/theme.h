// SPDX-License-Identifier: GPL-2.0-or-later
// A theme (template) of the HTML plug-in as its manifest describes it: who it is, the
// parameters it offers, the pictures it makes of every photo and the pages it writes. Themes
// are data: a folder with theme.json, page templates, assets and a preview picture.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class CPageTemplate;

namespace html
{

// One parameter the theme offers on the properties page.
struct ThemeParam {
    QString name;        // internal name, as project files keep it
    QString caption;     // friendly name
    QString description; // tooltip
    int32_t type = 0;    // ParamType
    QVariant value;      // default: number, text, "#rrggbb" or a font map
    int32_t minimum = 0; // numbers and sliders
    int32_t maximum = 0;
    QStringList options; // choices
    QString fileName;    // files: where the album keeps the chosen file (entry 1)
    QString fileFilter;  // files: the file dialog's filter (entry 2)
};

// One step of a picture script; when whenParam is set it runs only while that parameter's
// value is whenValue.
struct ScriptStep {
    QString command;
    QVariantList arguments; // numbers, texts, or "{variable}"
    QString whenParam;
    QString whenValue;
};

// One picture made of every photo, from the photo itself or from an earlier picture.
struct PictureSpec {
    QString name;     // the key pages use: photo.<name>.url
    QString from;     // "photo" or the name of an earlier picture
    QString boxWidth; // size expressions: a number, a parameter, "Name*2", "Name/2"
    QString boxHeight;
    bool crop = false;      // cover the box and cut it to the box rather than fit inside
    bool attention = false; // cut around the photo's centre of interest ({placement} is 9)
    QString format = "jpg"; // jpg, png or webp
    QList<ScriptStep> script;
    // Smaller copies for srcset, largest first: below 1 a share of the box, else a width in
    // pixels. Each is made from the next larger one.
    QList<double> widths;
    bool modern = false;    // also made as WebP (and AVIF) when the ModernFormats choice says so
    bool thumbnail = false; // never carries camera data, whatever the camera-data choice
    bool firstPhoto = false; // made for the album's first photo alone (its icon, its cover)
};

// One kind of page: a single page, one per photo, or one per index sheet.
struct PageSpec {
    enum class Each { Album, Photo, Sheet };
    Each each = Each::Album;
    QString templateName; // file in the theme folder
    QString output;       // may hold {number}
    QString firstOutput;  // sheets: the first sheet's file name
    QString perSheet;     // sheets: photos per sheet, a size expression
};

struct Theme {
    int32_t id = -1;
    QString name;
    QString description;
    int order = 0;
    bool groupsBySubfolder = false;
    bool userInstalled = false;
    QString folder;      // absolute path of the theme folder
    QString preview;     // file in the folder
    QString startPage;   // the album's first page
    QString cameraParam; // the choice that keeps camera data...
    QString cameraKeep;  // ...when it holds this option
    QString originalsParam; // the choice that publishes the photos of folders as they are...
    QString originalsKeep;  // ...when it holds this option (else without their location)
    QStringList assets;  // files copied into the album under the same relative names
    QList<ThemeParam> params;
    QList<PictureSpec> pictures;
    QList<PageSpec> pages;
    std::map<QString, std::shared_ptr<const CPageTemplate>> templates; // parsed pages by name

    const ThemeParam* param(const QString& paramName) const
    {
        for (const ThemeParam& p : params)
            if (p.name.compare(paramName, Qt::CaseInsensitive) == 0)
                return &p;
        return nullptr;
    }
};

using ThemePtr = std::shared_ptr<const Theme>;

} // namespace html
