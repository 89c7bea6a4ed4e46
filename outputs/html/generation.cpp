// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/generation.h"

#include <algorithm>
#include <chrono>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "outputs/html/albumcontext.h"
#include "outputs/html/albumwriter.h"
#include "outputs/html/chosenfiles.h"
#include "outputs/html/contenthash.h"
#include "outputs/html/pagetemplate.h"
#include "outputs/html/picturemaker.h"
#include "outputs/html/picturepool.h"
#include "outputs/html/sizeexpr.h"
#include "outputs/html/themeparams.h"
#include "sdk/gvparaminfo.h"

using namespace html;

namespace
{

constexpr int PreparedPercent = 5; // reading the photos' fingerprints
constexpr int PicturesPercent = 90;
constexpr auto PumpInterval = std::chrono::milliseconds(100);

void removeFiles(const PhotoPictures& pictures)
{
    for (const QString& file : pictures.files)
        QFile::remove(file);
}

std::vector<CAlbumManifest::File> describe(const PhotoPictures& job)
{
    std::vector<CAlbumManifest::File> files;
    for (size_t i = 0; i < job.files.size() && i < job.made.size(); ++i)
        files.push_back({QFileInfo(job.files[i]).size(), contenthash::ofFile(job.files[i]),
                         job.made[i].width, job.made[i].height});
    return files;
}

} // namespace

CGeneration::CGeneration(ThemePtr theme, IGallivex& host) : m_theme(std::move(theme)), m_host(host)
{
}

bool CGeneration::report(int percent, const QString& text)
{
    m_percent = percent;
    return m_host.ReportProgress(percent, text.toUtf8().constData());
}

ResultCode CGeneration::run()
{
    gv_vector<GVParamInfo> values;
    if (m_host.GetParams(&values) != 0)
        return GV_E_INVALIDPARAM;
    IGraphicProcessor* processor = m_host.GetImageProcessor();
    if (processor == nullptr)
        return GV_E_UNEXPECTED;
    const CThemeParams params(*m_theme, values);
    processor->SetJpegQuality(params.jpegQuality());
    processor->SetInterpolationMode(params.interpolationMode());
    CPictureMaker maker(*m_theme, params, *processor);
    QString fault;
    if (!maker.prepare(&fault)) {
        qWarning("HTML plug-in: theme \"%s\": %s", qUtf8Printable(m_theme->name),
                 qUtf8Printable(fault));
        return GV_E_TEMPLATE;
    }
    CAlbumWriter writer(m_host);
    m_folder = writer.fullPath(QString());
    if (!m_folder.isEmpty())
        m_previous = CAlbumManifest::Load(m_folder);
    CAlbumPhotos photos;
    ResultCode result = photos.collect(m_host, maker, m_previous ? &*m_previous : nullptr,
                                       [this](double done) {
                                           return report(static_cast<int>(done * PreparedPercent),
                                                         QStringLiteral("Reading photos"));
                                       });
    if (result == GV_OK) {
        keepPictures(photos, writer);
        result = makePictures(photos, maker, writer);
    }
    if (result == GV_OK)
        result = writeAlbum(params, photos, maker, writer);
    result = finish(result, photos, writer);
    if (result == GV_OK && report(100, QStringLiteral("Done")))
        result = GV_CANCELLED;
    return result;
}

ResultCode CGeneration::writeAlbum(const CThemeParams& params, CAlbumPhotos& photos,
                                   const CPictureMaker& maker, CAlbumWriter& writer)
{
    QVariantMap values = params.forPages();
    ResultCode result = CChosenFiles(*m_theme, params, m_host, writer).publish(values);
    for (const QString& asset : m_theme->assets)
        if (result == GV_OK)
            result = writer.copy(QDir(m_theme->folder).filePath(asset), asset);
    return result == GV_OK ? writePages(params, photos, maker, values, writer) : result;
}

void CGeneration::keepPictures(CAlbumPhotos& photos, CAlbumWriter& writer) const
{
    if (!m_previous)
        return;
    for (PhotoPictures& job : photos.pictures()) {
        std::vector<const CAlbumManifest::File*> known;
        for (size_t i = 0; i < job.urls.size(); ++i) {
            const CAlbumManifest::File* file = m_previous->file(job.urls[i]);
            // A picture cut short (a full disk, a crash) has another size than it was made with.
            if (file == nullptr || file->width <= 0 || file->height <= 0 ||
                QFileInfo(job.files[i]).size() != file->size)
                break;
            known.push_back(file);
        }
        if (known.size() != job.urls.size())
            continue;
        job.made.clear();
        for (size_t i = 0; i < known.size(); ++i) {
            job.made.push_back({job.urls[i], known[i]->width, known[i]->height});
            writer.claim(job.urls[i], *known[i]);
        }
        job.outcome = PhotoPictures::Outcome::Made;
    }
}

ResultCode CGeneration::makePictures(CAlbumPhotos& photos, const CPictureMaker& maker,
                                     CAlbumWriter& writer)
{
    std::vector<PhotoPictures>& jobs = photos.pictures();
    std::vector<size_t> todo;
    for (size_t i = 0; i < jobs.size(); ++i)
        if (jobs[i].outcome == PhotoPictures::Outcome::Pending)
            todo.push_back(i);
    // Sizes and hashes of the new pictures, taken on the workers while the files are fresh.
    std::vector<std::vector<CAlbumManifest::File>> made(todo.size());
    const ResultCode result = runPool(jobs, todo, made, maker);
    for (size_t k = 0; k < todo.size(); ++k) {
        const PhotoPictures& job = jobs[todo[k]];
        if (job.outcome == PhotoPictures::Outcome::Made) {
            for (size_t i = 0; i < job.urls.size() && i < made[k].size(); ++i)
                writer.claim(job.urls[i], made[k][i]);
        } else if (job.outcome != PhotoPictures::Outcome::Pending) {
            removeFiles(job);
        }
    }
    if (result != GV_OK)
        return result;
    // An album whose every photo failed is no album: say so rather than write empty pages.
    const bool none = std::none_of(jobs.begin(), jobs.end(), [](const PhotoPictures& job) {
        return job.outcome == PhotoPictures::Outcome::Made;
    });
    if (!jobs.empty() && none)
        return GV_E_READFILE;
    photos.dropUnmade();
    return GV_OK;
}

ResultCode CGeneration::runPool(std::vector<PhotoPictures>& jobs, const std::vector<size_t>& todo,
                                std::vector<std::vector<CAlbumManifest::File>>& made,
                                const CPictureMaker& maker)
{
    const size_t total = todo.size();
    CPicturePool pool(total, WorkerThreads, [&](size_t k) {
        PhotoPictures& job = jobs[todo[k]];
        maker.make(job);
        if (job.outcome == PhotoPictures::Outcome::Made)
            made[k] = describe(job);
    });
    size_t done = 0;
    while (done < total) {
        const std::optional<size_t> finished = pool.waitNext(PumpInterval);
        if (!finished) {
            if (report(m_percent)) { // keeps the window painted while a big photo is made
                pool.cancel();
                return GV_CANCELLED;
            }
            continue;
        }
        ++done;
        const PhotoPictures& job = jobs[todo[*finished]];
        if (job.outcome == PhotoPictures::Outcome::WriteFailed) {
            pool.cancel();
            return GV_E_WRITEFILE;
        }
        if (job.outcome != PhotoPictures::Outcome::Made)
            qWarning("HTML plug-in: %s cannot be read and is left out", qUtf8Printable(job.source));
        const int percent =
            PreparedPercent + static_cast<int>(done * (PicturesPercent - PreparedPercent) / total);
        if (report(percent, QStringLiteral("Photo %1 of %2").arg(done).arg(total))) {
            pool.cancel();
            return GV_CANCELLED;
        }
    }
    return GV_OK;
}

ResultCode CGeneration::finish(ResultCode result, const CAlbumPhotos& photos,
                               CAlbumWriter& writer)
{
    // A first run that did not end leaves no manifest: the folder is nobody's album yet.
    if (m_folder.isEmpty() || (result != GV_OK && !m_previous))
        return result;
    CAlbumManifest manifest;
    manifest.theme = m_theme->id;
    manifest.files = writer.files();
    manifest.photos = photos.photoHashes();
    if (m_previous && result == GV_OK) {
        removeUnused(manifest, writer);
    } else if (m_previous) {
        // Cut short: the earlier album's files are all still there beside the new ones.
        for (const auto& [relative, file] : m_previous->files)
            if (QFileInfo::exists(writer.fullPath(relative)))
                manifest.files.emplace(relative, file);
        manifest.photos.insert(m_previous->photos.begin(), m_previous->photos.end());
    }
    if (manifest.Save(m_folder))
        return result;
    // Better no manifest than one that lists what the folder no longer holds.
    QFile::remove(QDir(m_folder).filePath(CAlbumManifest::FileName()));
    qWarning("HTML plug-in: the album's manifest cannot be written into %s",
             qUtf8Printable(m_folder));
    return result == GV_OK ? GV_E_WRITEFILE : result;
}

void CGeneration::removeUnused(const CAlbumManifest& manifest, CAlbumWriter& writer) const
{
    const QDir root(m_folder);
    for (const auto& [relative, file] : m_previous->files) {
        if (manifest.files.contains(relative))
            continue;
        const QString path = writer.fullPath(relative);
        if (path.isEmpty() || !QFile::remove(path))
            continue;
        // Folders the album made and no longer fills go too; rmdir leaves any that hold more.
        for (QString folder = QFileInfo(relative).path();
             folder != QLatin1String(".") && root.rmdir(folder);
             folder = QFileInfo(folder).path()) {
        }
    }
}

QString CGeneration::albumTitle(const CThemeParams& params) const
{
    const QString title = params.text(QStringLiteral("Title")).trimmed();
    return title.isEmpty() ? m_theme->name : title;
}

int CGeneration::photosPerSheet(const CThemeParams& params) const
{
    for (const PageSpec& spec : m_theme->pages)
        if (spec.each == PageSpec::Each::Sheet)
            return std::max(1, evaluateSize(spec.perSheet, [&](const QString& name) {
                                   return params.number(name);
                               }).value_or(1));
    return 0;
}

ResultCode CGeneration::writePages(const CThemeParams& params, CAlbumPhotos& photos,
                                   const CPictureMaker& maker, const QVariantMap& values,
                                   CAlbumWriter& writer)
{
    std::vector<QString> names;
    for (int i = 0; i < maker.count(); ++i)
        names.push_back(maker.name(i));
    const CAlbumContext context(*m_theme, albumTitle(params), values, photos.photos(),
                                photos.pictures(), names, photosPerSheet(params));
    int total = 0;
    for (const PageSpec& spec : m_theme->pages)
        total += context.pageCount(spec);
    int written = 0;
    for (const PageSpec& spec : m_theme->pages) {
        const CPageTemplate& page = *m_theme->templates.at(spec.templateName);
        for (int n = 1; n <= context.pageCount(spec); ++n) {
            QString fault;
            const std::optional<QString> text = page.render(context.page(spec, n), &fault);
            if (!text) {
                qWarning("HTML plug-in: theme \"%s\", %s: %s", qUtf8Printable(m_theme->name),
                         qUtf8Printable(context.pageFile(spec, n)), qUtf8Printable(fault));
                return GV_E_TEMPLATE;
            }
            const ResultCode result = writer.writeText(context.pageFile(spec, n), *text);
            if (result != GV_OK)
                return result;
            if (report(PicturesPercent + (99 - PicturesPercent) * ++written / total))
                return GV_CANCELLED;
        }
    }
    return GV_OK;
}
