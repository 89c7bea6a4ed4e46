// SPDX-License-Identifier: GPL-2.0-or-later
// CPictureMaker: makes the pictures a theme declares (big pictures, thumbnails, their smaller
// widths and their WebP and AVIF copies) for one photo at a time through the host's image
// processor. Each picture comes from the photo or from an earlier, larger picture, so a photo
// is decoded once and the smaller pictures are made from a small file; a picture's own widths
// and formats are then made from it in memory, resized one from the next. The processor is
// safe for different photos on different threads, so make() runs on the generation's workers.
//
// A theme picture becomes several outputs: the picture itself (its "main" output, first),
// then its smaller widths, then the WebP and AVIF copies of each of those widths. A smaller
// width that would come out as large as the next larger one (a small photo) is not written:
// it stands for that larger one, under its name.
#pragma once

#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include "outputs/html/theme.h"
#include "sdk/igraphicprocessor.h"

class CThemeParams;

namespace html
{

struct MadePicture {
    QString url; // relative to the album
    int width = 0;
    int height = 0;
};

// One photo's pictures: where they come from and go, and how it went.
struct PhotoPictures {
    enum class Outcome { Pending, Made, Unreadable, WriteFailed };
    QString source;             // the photo, for the processor
    QString root;               // the album's folder, ending in "/"
    std::vector<QString> urls;  // per output of the maker, relative to the album; "" for none
    // Where output i goes on this computer: the album's folder and its url.
    QString file(size_t i) const { return urls[i].isEmpty() ? QString() : root + urls[i]; }
    std::vector<MadePicture> made; // url "" for pictures made for the first photo alone
    bool first = false;            // the album's first photo, which gets those too
    QString placeholder;    // the photo's average colour, "#rrggbb", or ""
    QString placeholderUrl; // a tiny blurred copy as a data: URI, or ""
    Outcome outcome = Outcome::Pending;
};

// The choice that decides which formats are made beside JPEG for "modern" pictures.
struct ModernFormats {
    static constexpr const char* Parameter = "ModernFormats";
    static constexpr const char* WebpAndAvif = "WebP and AVIF";
    static constexpr const char* JpegOnly = "JPEG only";
};

} // namespace html

class CPictureMaker
{
public:
    CPictureMaker(const html::Theme& theme, const CThemeParams& params,
                  IGraphicProcessor& processor);

    // Resolves sizes and parameter values and checks every command against the processor's
    // table; false with *error when a script could never run.
    bool prepare(QString* error);
    // Outputs, in the order they are made.
    int count() const { return static_cast<int>(m_pictures.size()); }
    // The theme picture an output belongs to; its first output is the picture itself.
    const QString& name(int output) const { return m_pictures[output].name; }
    bool isMain(int output) const { return m_pictures[output].main; }
    const QString& format(int output) const { return m_pictures[output].format; }
    // Changes whenever the output would come out different for the same photo; part of its
    // file name, so a changed setting never leaves an old picture under a known name.
    const QString& recipe(int output) const { return m_pictures[output].recipe; }

    // Makes every output of the photo; on any failure it stops and sets the outcome.
    void make(html::PhotoPictures& photo) const;

private:
    struct Step {
        QByteArray command;
        QVariantList arguments; // ints, texts, or "{width}"-like names of per-photo sizes
        std::vector<int32_t> kinds;
    };
    struct Prepared {
        QString name;
        QString format;
        bool main = false;
        int from = -1;      // earlier output, or -1 for the photo
        int larger = -1;    // smaller widths: the same picture and format one width larger
        int sameWidth = -1; // WebP and AVIF copies: the JPEG of their width
        int boxWidth = 0;
        int boxHeight = 0;
        bool crop = false;
        bool attention = false;
        bool keepCameraData = false;
        bool firstPhoto = false;
        std::vector<Step> steps;
        QString recipe;
    };

    bool prepareStep(const html::ScriptStep& step, Prepared& picture, QString* error);
    bool preparePicture(const html::PictureSpec& spec, const QStringList& formats,
                        const QString& settings, QString* error);
    void setRecipe(Prepared& picture, const QString& settings) const;
    QStringList modernFormats() const;
    // The commands of one output with the photo's sizes filled in.
    static gv_vector<GVCommand> scriptFor(const Prepared& picture, const QVariantMap& sizes);
    // Writes a main output through the processor and returns it opened, or null (with the
    // outcome set when writing failed).
    IPlainImage* makeMain(const Prepared& picture, html::PhotoPictures& photo,
                          size_t index) const;
    bool makeFamily(size_t main, IPlainImage& image, html::PhotoPictures& photo) const;
    // Writes output as image is now; false (the outcome set) when the file cannot be written.
    bool saveOutput(size_t output, IPlainImage& image, html::PhotoPictures& photo) const;
    // Writes the copies in other formats of the output width, as image is now.
    bool saveCopies(size_t width, IPlainImage& image, html::PhotoPictures& photo) const;
    void standForLarger(size_t width, html::PhotoPictures& photo) const;
    void makePlaceholder(html::PhotoPictures& photo) const;

    const html::Theme& m_theme;
    const CThemeParams& m_params;
    IGraphicProcessor& m_processor;
    bool m_keepCameraData = false;
    std::vector<Prepared> m_pictures;
};
