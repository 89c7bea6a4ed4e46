// SPDX-License-Identifier: GPL-2.0-or-later
// CGeneration: one run of Generate. It reads the parameters and photos through the host, sets
// the processor's JPEG quality and resize method from the host's parameters, makes the
// pictures on two worker threads while this thread reports progress after every photo (the
// host's progress report keeps the user interface alive and tells of a cancel), then copies
// the theme's files and writes the pages. A cancel stops with 1223 once the photos under way
// are done; pages are written only after every picture exists.
#pragma once

#include <memory>

#include <QString>
#include <QVariantMap>

#include "outputs/html/albumphotos.h"
#include "outputs/html/theme.h"
#include "sdk/igallivex.h"

class CAlbumWriter;
class CPictureMaker;
class CThemeParams;

class CGeneration
{
public:
    static constexpr int WorkerThreads = 2;

    CGeneration(html::ThemePtr theme, IGallivex& host);
    ResultCode run();

private:
    // Percent done and a text for the progress; true when the user cancelled.
    bool report(int percent, const QString& text = QString());
    ResultCode makePictures(CAlbumPhotos& photos, const CPictureMaker& maker);
    ResultCode writeAlbum(const CThemeParams& params, CAlbumPhotos& photos,
                          const CPictureMaker& maker);
    int photosPerSheet(const CThemeParams& params) const;
    ResultCode writePages(const CThemeParams& params, CAlbumPhotos& photos,
                          const CPictureMaker& maker, const QVariantMap& values,
                          CAlbumWriter& writer);
    QString albumTitle(const CThemeParams& params) const;

    html::ThemePtr m_theme;
    IGallivex& m_host;
    int m_percent = 0;
};
