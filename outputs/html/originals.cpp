// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/originals.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include "outputs/html/albumwriter.h"
#include "outputs/html/themeparams.h"
#include "platform/cameradata.h"
#include "platform/filemodes.h"

using imaging::metadata::Published;

namespace
{

// Changes whenever the same bytes would be published differently; a new rule gets a new
// number so that copies made under the old one are never taken for current.
QString variantOf(COriginals::Offer offer, bool keepCameraData)
{
    if (offer == COriginals::Offer::Untouched)
        return QStringLiteral("u");
    return keepCameraData ? QStringLiteral("k1") : QStringLiteral("r1");
}

QByteArray readWhole(const QString& path, bool& ok)
{
    QFile file(path);
    ok = file.open(QIODevice::ReadOnly);
    const QByteArray bytes = ok ? file.readAll() : QByteArray();
    ok = ok && bytes.size() == file.size();
    return bytes;
}

} // namespace

COriginals::Offer COriginals::OfferOf(const CThemeParams& params)
{
    const QString choice = params.text(QLatin1String(Parameter));
    if (choice == QLatin1String("Yes"))
        return Offer::Reduced;
    if (choice == QLatin1String("Yes, untouched originals"))
        return Offer::Untouched;
    return Offer::None;
}

COriginals::COriginals(Offer offer, bool keepCameraData, CAlbumWriter& writer)
    : m_offer(offer), m_keepCameraData(keepCameraData), m_writer(writer)
{
}

QString COriginals::albumName(const QByteArray& bytes, const QString& sourceName) const
{
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(32));
    const QString suffix = QFileInfo(sourceName).suffix().toLower();
    return QStringLiteral("%1/%2-%3%4")
        .arg(QLatin1String(Folder), hash, variantOf(m_offer, m_keepCameraData),
             suffix.isEmpty() ? QString() : u'.' + suffix);
}

ResultCode COriginals::publish(std::vector<html::AlbumPhoto>& photos,
                               const std::vector<html::PhotoPictures>& pictures)
{
    ResultCode result = GV_OK;
    for (html::AlbumPhoto& photo : photos) {
        photo.originalUrl.clear();
        photo.originalName.clear();
        if (m_offer == Offer::None || photo.pictures >= pictures.size())
            continue;
        const QString source = pictures[photo.pictures].source;
        auto known = m_published.find(source);
        if (known == m_published.end())
            known = m_published.emplace(source, publishOne(source, result)).first;
        if (result != GV_OK)
            return result;
        photo.originalUrl = known->second;
        photo.originalName = known->second.isEmpty() ? QString() : QFileInfo(source).fileName();
    }
    return result;
}

QString COriginals::publishOne(const QString& source, ResultCode& result)
{
    bool read = false;
    const QByteArray bytes = readWhole(source, read);
    if (!read) {
        qWarning("HTML plug-in: %s cannot be read; it is not offered for download",
                 qUtf8Printable(source));
        return QString();
    }
    const QString relative = albumName(bytes, QFileInfo(source).fileName());
    const QString target = m_writer.fullPath(relative);
    if (target.isEmpty()) {
        result = GV_E_CREATEFILE;
        return QString();
    }
    if (QFileInfo(target).isFile())
        return relative; // the same bytes, published the same way by an earlier generation
    // Copied under a scratch name and renamed when complete, so no half-made or unreduced
    // file ever stands under the published name.
    const QString scratch =
        QStringLiteral("%1/.%2.part").arg(QLatin1String(Folder), QFileInfo(relative).fileName());
    const QString work = m_writer.fullPath(scratch);
    if (m_writer.copy(source, scratch) != GV_OK || work.isEmpty()) {
        result = GV_E_CREATEFILE;
        return QString();
    }
    QFile::setPermissions(work, QFile::ReadOwner | QFile::WriteOwner);
    const Published rule =
        m_keepCameraData ? Published::WithoutPrivateData : Published::OrientationAndProfile;
    if (m_offer == Offer::Reduced && !imaging::metadata::reduceInPlace(work, rule)) {
        qWarning("HTML plug-in: the camera data of %s cannot be removed from its file; it is "
                 "not offered for download",
                 qUtf8Printable(source));
        QFile::remove(work);
        return QString();
    }
    platform::giveUsualPermissions(work, target);
    if (!QFile::rename(work, target)) {
        QFile::remove(work);
        result = GV_E_CREATEFILE;
        return QString();
    }
    return relative;
}
