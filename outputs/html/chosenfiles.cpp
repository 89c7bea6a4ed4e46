// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/chosenfiles.h"

#include <filesystem>
#include <mutex>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <exiv2/exiv2.hpp>

#include "outputs/html/albumwriter.h"
#include "outputs/html/themefiles.h"
#include "outputs/html/themeparams.h"
#include "sdk/gvparaminfo.h"
#include "sdk/igraphicprocessor.h"

using namespace html;

namespace
{

// Picture formats the processor writes and browsers show.
const QStringList PictureSuffixes = {QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                     QStringLiteral("png"), QStringLiteral("gif"),
                                     QStringLiteral("webp")};

// target with an extension of a picture format: its own, or ".jpg".
QString pictureName(const QString& target)
{
    const QFileInfo info(target);
    if (PictureSuffixes.contains(info.suffix().toLower()))
        return target;
    const QString folder = info.path() == QStringLiteral(".") ? QString() : info.path() + u'/';
    return folder + info.completeBaseName() + QStringLiteral(".jpg");
}

// A plain file of its own (no link, device, pipe or socket) that is not hidden.
bool isPlainVisibleFile(const QFileInfo& entry)
{
    if (entry.fileName().startsWith(u'.'))
        return false;
    std::error_code error;
    const auto status = std::filesystem::symlink_status(
        std::filesystem::path(QFile::encodeName(entry.absoluteFilePath()).toStdString()), error);
    return !error && std::filesystem::is_regular_file(status);
}

template <typename Data, typename IsLocation> bool eraseWhere(Data& data, IsLocation isLocation)
{
    bool erased = false;
    for (auto item = data.begin(); item != data.end();) {
        if (isLocation(*item)) {
            item = data.erase(item);
            erased = true;
        } else {
            ++item;
        }
    }
    return erased;
}

} // namespace

CChosenFiles::CChosenFiles(const Theme& theme, const CThemeParams& params, IGallivex& host,
                           CAlbumWriter& writer)
    : m_theme(theme), m_params(params), m_host(host), m_writer(writer)
{
}

ResultCode CChosenFiles::publish(QVariantMap& values)
{
    for (const ThemeParam& declared : m_theme.params) {
        const QString chosen = m_params.chosenFile(declared.name);
        if (declared.type == PT_FOLDER) {
            QVariantList files;
            const ResultCode result = chosen.isEmpty() ? GV_OK : publishFolder(chosen, files);
            if (result != GV_OK)
                return result;
            values[declared.name] = files;
            continue;
        }
        if (declared.type != PT_FILE && declared.type != PT_FILE_2)
            continue;
        values[declared.name] = QString();
        const QString target = m_params.albumFileName(declared.name);
        if (chosen.isEmpty() || !QFileInfo(chosen).isFile())
            continue;
        if (!isSafeRelativePath(target)) {
            qWarning("HTML plug-in: \"%s\" is no name inside the album", qUtf8Printable(target));
            continue;
        }
        ResultCode result = GV_OK;
        values[declared.name] = publishPicture(chosen, target, result);
        if (result != GV_OK)
            return result;
    }
    return GV_OK;
}

QString CChosenFiles::publishPicture(const QString& chosen, QString target, ResultCode& result)
{
    IGraphicProcessor* processor = m_host.GetImageProcessor();
    if (processor == nullptr) {
        result = GV_E_UNEXPECTED;
        return QString();
    }
    GVImageStream input(chosen.toUtf8().constData());
    IPlainImage* image = processor->OpenImage(&input);
    if (image == nullptr) {
        qWarning("HTML plug-in: %s is no picture and is left out", qUtf8Printable(chosen));
        return QString();
    }
    target = pictureName(target);
    const QString file = m_writer.fullPath(target);
    if (file.isEmpty() || !QDir().mkpath(QFileInfo(file).absolutePath())) {
        processor->ReleaseImage(image);
        result = GV_E_CREATEFILE;
        return QString();
    }
    // No script: the picture is only decoded and encoded again, which leaves every tag of
    // the chosen file behind but the camera data the album keeps.
    gv_vector<GVCommand> none;
    GVImageStream output(file.toUtf8().constData(), m_params.keepsCameraData() ? 1 : 0);
    if (const HRESULT made = processor->ProcessImage(image, none, output); made != S_OK) {
        processor->ReleaseImage(image);
        result = made == STG_E_CANTSAVE ? GV_E_WRITEFILE : GV_E_READFILE;
        return QString();
    }
    m_writer.claim(target); // the album's own file from now on, listed in its manifest
    return target;
}

ResultCode CChosenFiles::publishFolder(const QString& folder, QVariantList& files)
{
    const bool originals = m_params.keepsFolderOriginals();
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        // Only plain files of the folder itself: never what a link points to elsewhere, nor
        // the hidden files that hold settings and keys.
        if (!isPlainVisibleFile(entry) || !isSafeRelativePath(entry.fileName()) ||
            files.size() >= MaxFolderFiles)
            continue;
        const QString target = QStringLiteral("files/") + entry.fileName();
        if (m_writer.copy(entry.absoluteFilePath(), target) != GV_OK)
            return GV_E_CREATEFILE;
        if (!originals && !stripLocation(m_writer.fullPath(target))) {
            qWarning("HTML plug-in: the location of %s cannot be removed; it is left out",
                     qUtf8Printable(entry.absoluteFilePath()));
            QFile::remove(m_writer.fullPath(target));
            continue;
        }
        files << QVariantMap{{"name", entry.fileName()},
                             {"url", target},
                             {"size", QLocale::c().formattedDataSize(
                                          entry.size(), 1, QLocale::DataSizeTraditionalFormat)}};
    }
    return GV_OK;
}

bool CChosenFiles::stripLocation(const QString& path)
{
    static std::once_flag started;
    std::call_once(started, [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize();
    });
    const std::string file = QFile::encodeName(path).toStdString();
    Exiv2::Image::AutoPtr image;
    try {
        image = Exiv2::ImageFactory::open(file);
        image->readMetadata();
    } catch (const std::exception&) {
        return true; // nothing exiv2 can read: no position it could find either
    }
    try {
        Exiv2::ExifData exif = image->exifData();
        Exiv2::XmpData xmp = image->xmpData();
        bool changed = eraseWhere(exif, [](const Exiv2::Exifdatum& item) {
            return item.groupName() == "GPSInfo" || item.key() == "Exif.Image.GPSTag";
        });
        changed = eraseWhere(xmp,
                             [](const Exiv2::Xmpdatum& item) {
                                 return item.key().rfind("Xmp.exif.GPS", 0) == 0;
                             }) ||
                  changed;
        if (!changed)
            return true;
        image->setExifData(exif);
        image->setXmpData(xmp);
        image->writeMetadata();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}
