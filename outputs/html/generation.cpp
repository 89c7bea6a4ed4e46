// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/generation.h"

#include <chrono>

#include <QDir>
#include <QFile>

#include "outputs/html/albumcontext.h"
#include "outputs/html/albumwriter.h"
#include "outputs/html/chosenfiles.h"
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
    for (const QString& file : pictures.files)
        QFile::remove(file);
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
    CAlbumPhotos photos;
    ResultCode result = photos.collect(m_host, maker, [this](double done) {
        return report(static_cast<int>(done * PreparedPercent), QStringLiteral("Reading photos"));
    });
    if (result == GV_OK)
        result = makePictures(photos, maker);
    if (result == GV_OK)
        result = writeAlbum(params, photos, maker);
    if (result == GV_OK && report(100, QStringLiteral("Done")))
        result = GV_CANCELLED;
    return result;
}

ResultCode CGeneration::writeAlbum(const CThemeParams& params, CAlbumPhotos& photos,
                                   const CPictureMaker& maker)
{
    CAlbumWriter writer(m_host);
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

ResultCode CGeneration::makePictures(CAlbumPhotos& photos, const CPictureMaker& maker)
{
    std::vector<PhotoPictures>& jobs = photos.pictures();
    const size_t total = jobs.size();
    CPicturePool pool(total, WorkerThreads, [&](size_t i) { maker.make(jobs[i]); });
    size_t done = 0;
    size_t unreadable = 0;
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
        const PhotoPictures& job = jobs[*finished];
        if (job.outcome == PhotoPictures::Outcome::WriteFailed) {
            pool.cancel();
            return GV_E_WRITEFILE;
        }
        if (job.outcome != PhotoPictures::Outcome::Made) {
            qWarning("HTML plug-in: %s cannot be read and is left out", qUtf8Printable(job.source));
            removeFiles(job);
            ++unreadable;
        }
        const int percent =
            PreparedPercent + static_cast<int>(done * (PicturesPercent - PreparedPercent) / total);
        if (report(percent, QStringLiteral("Photo %1 of %2").arg(done).arg(total))) {
            pool.cancel();
            return GV_CANCELLED;
        }
    }
    // An album whose every photo failed is no album: say so rather than write empty pages.
    if (total > 0 && unreadable == total)
        return GV_E_READFILE;
    photos.dropUnmade();
    return GV_OK;
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
