// SPDX-License-Identifier: GPL-2.0-or-later
// CGeneration: one run of Generate. It reads the parameters and photos through the host, sets
// the processor's JPEG quality and resize method from the host's parameters, makes the
// pictures on two worker threads while this thread reports progress after every photo (the
// host's progress report keeps the user interface alive and tells of a cancel), then copies
// the theme's files and writes the pages. A cancel stops with 1223 once the photos under way
// are done; pages are written only after every picture exists.
//
// Generating again into the album's folder updates it: pictures whose names are still wanted
// and whose files are whole are kept, pages and theme files are written only when their bytes
// change, and the files the last run wrote that this one no longer uses are removed at the
// very end, just before the manifest, so a cancel or failure leaves the earlier album whole.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <QString>
#include <QVariantMap>

#include "outputs/html/albummanifest.h"
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
    // Marks the photos whose pictures the last run left whole as made, with their sizes.
    void keepPictures(CAlbumPhotos& photos, CAlbumWriter& writer);
    bool keepable(const html::PhotoPictures& job, const CAlbumManifest::Pictures& stored) const;
    ResultCode makePictures(CAlbumPhotos& photos, const CPictureMaker& maker,
                            CAlbumWriter& writer);
    // Makes the pictures of the photos todo names on the workers; whenMade(k) runs on the
    // worker once the photo todo[k] has its pictures.
    ResultCode runPool(std::vector<html::PhotoPictures>& jobs, const std::vector<size_t>& todo,
                       const CPictureMaker& maker, const std::function<void(size_t)>& whenMade);
    ResultCode writeAlbum(const CThemeParams& params, CAlbumPhotos& photos,
                          const CPictureMaker& maker, CAlbumWriter& writer);
    // Removes what the last run wrote and this one does not use (after a whole run only) and
    // writes the manifest; result is how the run went so far.
    ResultCode finish(ResultCode result, const CAlbumPhotos& photos, CAlbumWriter& writer);
    void removeUnused(const CAlbumManifest& manifest, CAlbumWriter& writer) const;
    int photosPerSheet(const CThemeParams& params) const;
    ResultCode writePages(const CThemeParams& params, CAlbumPhotos& photos,
                          const CPictureMaker& maker, const QVariantMap& values,
                          CAlbumWriter& writer);
    QString albumTitle(const CThemeParams& params) const;

    html::ThemePtr m_theme;
    IGallivex& m_host;
    int m_percent = 0;
    QString m_folder; // the album's folder, "" when it has none
    std::optional<CAlbumManifest> m_previous;
    std::map<QString, CAlbumManifest::Pictures> m_records; // for the next manifest
};
