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
#include "outputs/html/originals.h"
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
    for (size_t i = 0; i < pictures.urls.size(); ++i)
        if (!pictures.urls[i].isEmpty())
            QFile::remove(pictures.file(i));
}

// What the manifest keeps of a photo's pictures just made, and the files they were made into.
struct Described {
    CAlbumManifest::Pictures record;
    std::vector<std::pair<QString, CAlbumManifest::File>> files;
};

Described describe(const PhotoPictures& job)
{
    Described described;
    described.record.first = job.first;
    described.record.placeholder = job.placeholder;
    described.record.placeholderUrl = job.placeholderUrl;
    for (size_t i = 0; i < job.urls.size() && i < job.made.size(); ++i) {
        CAlbumManifest::Output output{job.made[i].width, job.made[i].height, -1};
        if (!job.urls[i].isEmpty()) {
            // An output that stands for a larger one carries its url; the first owns the file.
            const auto owner = std::find(job.urls.begin(), job.urls.begin() + i + 1, job.urls[i]);
            output.from = static_cast<int>(owner - job.urls.begin());
            if (static_cast<size_t>(output.from) == i)
                described.files.push_back(
                    {job.urls[i],
                     {QFileInfo(job.file(i)).size(), contenthash::ofFile(job.file(i))}});
        }
        described.record.outputs.push_back(output);
    }
    return described;
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
    ResultCode result =
        photos.collect(m_host, maker, m_previous ? &*m_previous : nullptr, [this](double done) {
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
    if (result == GV_OK)
        result = COriginals(COriginals::OfferOf(params), params.keepsCameraData(), writer)
                     .publish(photos.photos(), photos.pictures());
    for (const QString& asset : m_theme->assets)
        if (result == GV_OK)
            result = writer.copy(QDir(m_theme->folder).filePath(asset), asset);
    return result == GV_OK ? writePages(params, photos, maker, values, writer) : result;
}

bool CGeneration::keepable(const PhotoPictures& job, const CAlbumManifest::Pictures& stored) const
{
    if (stored.first != job.first || stored.outputs.size() != job.urls.size())
        return false;
    for (size_t i = 0; i < job.urls.size(); ++i) {
        if (stored.outputs[i].from != static_cast<int>(i))
            continue;
        // A picture cut short (a full disk, a crash) has another size than it was made with.
        const CAlbumManifest::File* file = m_previous->file(job.urls[i]);
        if (file == nullptr || QFileInfo(job.file(i)).size() != file->size)
            return false;
    }
    return true;
}

void CGeneration::keepPictures(CAlbumPhotos& photos, CAlbumWriter& writer)
{
    if (!m_previous)
        return;
    std::vector<PhotoPictures>& jobs = photos.pictures();
    for (size_t j = 0; j < jobs.size(); ++j) {
        const QString& key = photos.pictureKeys()[j];
        const CAlbumManifest::Pictures* stored = m_previous->picturesOf(key);
        PhotoPictures& job = jobs[j];
        if (stored == nullptr || !keepable(job, *stored))
            continue;
        job.made.assign(job.urls.size(), MadePicture());
        for (size_t i = 0; i < job.urls.size(); ++i) {
            const CAlbumManifest::Output& output = stored->outputs[i];
            if (output.from < 0) {
                job.urls[i].clear();
                continue;
            }
            if (static_cast<size_t>(output.from) == i) {
                writer.claim(job.urls[i], *m_previous->file(job.urls[i]));
            } else {
                job.urls[i] = job.urls[output.from];
            }
            job.made[i] = {job.urls[i], output.width, output.height};
        }
        job.placeholder = stored->placeholder;
        job.placeholderUrl = stored->placeholderUrl;
        job.outcome = PhotoPictures::Outcome::Made;
        m_records[key] = *stored;
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
    // What the manifest keeps of the new pictures, taken on the workers while they are fresh.
    std::vector<Described> made(todo.size());
    const ResultCode result =
        runPool(jobs, todo, maker, [&](size_t k) { made[k] = describe(jobs[todo[k]]); });
    for (size_t k = 0; k < todo.size(); ++k) {
        const PhotoPictures& job = jobs[todo[k]];
        if (job.outcome == PhotoPictures::Outcome::Made) {
            for (const auto& [url, file] : made[k].files)
                writer.claim(url, file);
            m_records[photos.pictureKeys()[todo[k]]] = std::move(made[k].record);
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
                                const CPictureMaker& maker,
                                const std::function<void(size_t)>& whenMade)
{
    const size_t total = todo.size();
    CPicturePool pool(total, WorkerThreads, [&](size_t k) {
        PhotoPictures& job = jobs[todo[k]];
        maker.make(job);
        if (job.outcome == PhotoPictures::Outcome::Made)
            whenMade(k);
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

ResultCode CGeneration::finish(ResultCode result, const CAlbumPhotos& photos, CAlbumWriter& writer)
{
    // A first run that did not end leaves no manifest: the folder is nobody's album yet.
    if (m_folder.isEmpty() || (result != GV_OK && !m_previous))
        return result;
    CAlbumManifest manifest;
    manifest.theme = m_theme->id;
    manifest.files = writer.files();
    manifest.photos = photos.photoHashes();
    manifest.pictures = m_records;
    if (m_previous && result == GV_OK) {
        removeUnused(manifest, writer);
    } else if (m_previous) {
        // Cut short: the earlier album's files are all still there beside the new ones.
        for (const auto& [relative, file] : m_previous->files)
            if (QFileInfo::exists(writer.fullPath(relative)))
                manifest.files.emplace(relative, file);
        manifest.photos.insert(m_previous->photos.begin(), m_previous->photos.end());
        manifest.pictures.insert(m_previous->pictures.begin(), m_previous->pictures.end());
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
