// SPDX-License-Identifier: GPL-2.0-or-later
// CPictureMaker: makes the pictures a theme declares (big pictures, thumbnails and their 2x
// versions...) for one photo at a time through the host's image processor. Each picture comes
// from the photo or from an earlier, larger picture, so a photo is decoded once and the
// smaller pictures are made from a small file; the processor is safe for different photos on
// different threads, so make() runs on the generation's workers.
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
    std::vector<QString> urls;  // per picture of the theme, relative to the album
    std::vector<QString> files; // the same as full paths
    std::vector<MadePicture> made;
    Outcome outcome = Outcome::Pending;
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
    int count() const { return static_cast<int>(m_pictures.size()); }
    const QString& name(int picture) const { return m_pictures[picture].name; }
    const QString& format(int picture) const { return m_pictures[picture].format; }
    // Changes whenever the picture would come out different for the same photo; part of its
    // file name, so a changed setting never leaves an old picture under a known name.
    const QString& recipe(int picture) const { return m_pictures[picture].recipe; }

    // Makes every picture of the photo; on any failure it stops and sets the outcome.
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
        int from = -1; // earlier picture, or -1 for the photo
        int boxWidth = 0;
        int boxHeight = 0;
        bool crop = false;
        std::vector<Step> steps;
        QString recipe;
    };

    bool prepareStep(const html::ScriptStep& step, Prepared& picture, QString* error);
    // The commands of one picture with the photo's sizes filled in.
    static gv_vector<GVCommand> scriptFor(const Prepared& picture, const QVariantMap& sizes);
    bool makeOne(const Prepared& picture, html::PhotoPictures& photo, size_t index) const;

    const html::Theme& m_theme;
    const CThemeParams& m_params;
    IGraphicProcessor& m_processor;
    bool m_keepCameraData = false;
    std::vector<Prepared> m_pictures;
};
