// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/albumphotos.h"

#include <map>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "outputs/html/contenthash.h"

using namespace html;

namespace
{

constexpr ULONG SideFileLimit = 256 * 1024; // EXIF side files are tiny JPEGs
constexpr int ReportEvery = 16;

QString fromUtf8(const gv_string& text)
{
    return QString::fromUtf8(text.c_str());
}

QByteArray readStream(IStream& stream, ULONG limit)
{
    QByteArray bytes;
    char buffer[4096];
    ULONG got = 0;
    while (static_cast<ULONG>(bytes.size()) < limit &&
           SUCCEEDED(stream.Read(buffer, sizeof buffer, &got)) && got > 0)
        bytes.append(buffer, static_cast<qsizetype>(got));
    return bytes;
}

QString hexHash(const QByteArray& data, int length)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex().left(length));
}

} // namespace

QString CAlbumPhotos::contentKey(IGallivex& host, const QString& path,
                                 const CAlbumManifest* previous)
{
    const QFileInfo info(path);
    const qint64 size = info.size();
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    QString hash = previous ? previous->knownPhotoHash(path, size, modified) : QString();
    if (hash.isEmpty())
        hash = contenthash::ofFile(path);
    if (hash.isEmpty())
        return QString();
    m_hashes[path] = {size, modified, hash};
    QByteArray key = "photo|" + hash.toLatin1();
    // Turns and levels set in the album live in the side file, not in the photo.
    if (IStream* side =
            host.OpenFile(gv_string((path + QStringLiteral(".exif")).toUtf8().constData()))) {
        key += "|" + contenthash::ofBytes(readStream(*side, SideFileLimit)).toLatin1();
        host.ReleaseStream(side);
    }
    return hexHash(key, 40);
}

ResultCode CAlbumPhotos::collect(IGallivex& host, const CPictureMaker& maker,
                                 const CAlbumManifest* previous, const Progress& progress)
{
    gv_vector<AlbumImageInfo> images;
    host.GetImages(images);
    gv_string folder;
    const QString root = fromUtf8(*host.GetAlbumFilePath(folder));
    std::map<QString, size_t> byKey;
    for (int i = 0; i < images.size(); ++i) {
        if (i % ReportEvery == 0 && progress(static_cast<double>(i) / images.size()))
            return GV_CANCELLED;
        const QString path = fromUtf8(*host.GetImagePath(i));
        if (path.isEmpty()) {
            qWarning("HTML plug-in: photo %d is missing and left out", i + 1);
            continue;
        }
        AlbumPhoto photo{i, fromUtf8(images[i].name), fromUtf8(images[i].description),
                         fromUtf8(images[i].subfolder), 0};
        const QString key = contentKey(host, path, previous);
        if (key.isEmpty()) {
            qWarning("HTML plug-in: %s cannot be read and is left out", qUtf8Printable(path));
            continue;
        }
        const auto known = byKey.find(key);
        if (known != byKey.end()) {
            photo.pictures = known->second;
            m_photos.push_back(photo);
            continue;
        }
        PhotoPictures pictures;
        pictures.source = path;
        pictures.first = m_pictures.empty();
        pictures.root = root; // shared by every photo: one copy however many photos
        for (int p = 0; p < maker.count(); ++p) {
            const QString url = QStringLiteral("pictures/%1-%2.%3")
                                    .arg(hexHash((key + maker.recipe(p)).toUtf8(), 16),
                                         maker.name(p), maker.format(p));
            gv_string relative(url.toUtf8().constData());
            // The host says where each file goes; it must be the place the photo will use.
            if (root.isEmpty() || fromUtf8(*host.GetAlbumFilePath(relative)) != root + url)
                return GV_E_CREATEFILE;
            pictures.urls.push_back(url);
        }
        if (!pictures.urls.empty() && !QDir().mkpath(QFileInfo(pictures.file(0)).absolutePath()))
            return GV_E_CREATEFOLDER;
        photo.pictures = m_pictures.size();
        byKey.emplace(key, m_pictures.size());
        QByteArray outputs = key.toLatin1();
        for (const QString& url : pictures.urls)
            outputs += '|' + url.toUtf8();
        m_keys.push_back(hexHash(outputs, 40));
        m_pictures.push_back(std::move(pictures));
        m_photos.push_back(photo);
    }
    return GV_OK;
}

void CAlbumPhotos::dropUnmade()
{
    std::erase_if(m_photos, [this](const AlbumPhoto& photo) {
        return m_pictures[photo.pictures].outcome != PhotoPictures::Outcome::Made;
    });
}
