// SPDX-License-Identifier: GPL-2.0-or-later
#include "album/projectwriter.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <tinyxml2.h>

#include "album/albumproject.h"
#include "album/projectpaths.h"
#include "album/projectxmlbuilder.h"
#include "platform/displaytransform.h"
#include "platform/filemodes.h"
#include "platform/imaging.h"
#include "platform/safefile.h"
#include "tolvane/pluginmanager.h"

namespace fs = std::filesystem;

namespace
{

// Lets the progress window be seen between the steps, as it always was.
void letProgressShow()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

const QString ScratchPattern = QStringLiteral(".gvthumb-XXXXXX.jpg");

// A save killed while it wrote its thumbnail leaves the scratch file behind; one this old
// belongs to no save that is still running.
void removeLeftoverScratchFiles(const QString& folder)
{
    constexpr int StaleAfterSeconds = 60 * 60;
    const QDateTime staleBefore = QDateTime::currentDateTime().addSecs(-StaleAfterSeconds);
    const QFileInfoList leftovers = QDir(folder).entryInfoList(
        {QString(ScratchPattern).replace(QStringLiteral("XXXXXX"), QStringLiteral("*"))},
        QDir::Files | QDir::Hidden);
    for (const QFileInfo& leftover : leftovers)
        if (leftover.lastModified() < staleBefore)
            QFile::remove(leftover.absoluteFilePath());
}

// A file name beside target that nobody else uses, for writing before renaming.
std::unique_ptr<QTemporaryFile> scratchFileBeside(const QString& target)
{
    auto file =
        std::make_unique<QTemporaryFile>(QFileInfo(target).absolutePath() + u'/' + ScratchPattern);
    if (!file->open())
        return nullptr;
    file->close();
    return file;
}

} // namespace

ProjectWriter::ProjectWriter(AlbumProject& album) : m_album(album) {}

bool ProjectWriter::cancelled(int percent)
{
    Progress* progress = m_album.ActiveProgress();
    if (progress == nullptr)
        return false;
    progress->setPosition(percent);
    return progress->pump();
}

ResultCode ProjectWriter::Write(const char* path)
{
    if (cancelled(0))
        return GV_CANCELLED;
    const QString target = QString::fromStdString(projectpaths::nativePath(path ? path : ""));
    QSaveFile file(target);
    if (target.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return GV_E_CREATEFILE;
    const QString fullPath = QFileInfo(target).absoluteFilePath();
    tinyxml2::XMLDocument document;
    ProjectXmlBuilder builder(m_album, document);
    Parts parts;
    parts.project = builder.Project();
    parts.images = builder.Images();
    if (cancelled(10))
        return GV_CANCELLED;
    if (const ResultCode result = describePlugin(builder, parts); result != GV_OK)
        return result;
    parts.settings = builder.Settings();
    builder.AddImages(*parts.images, fullPath.toStdString());
    if (cancelled(90))
        return GV_CANCELLED;

    const QString thumbnailPath = fullPath + QStringLiteral(".jpg");
    removeLeftoverScratchFiles(QFileInfo(fullPath).absolutePath());
    std::unique_ptr<QTemporaryFile> thumbnail = writeThumbnail(thumbnailPath);
    if (thumbnail)
        parts.thumbnail = builder.Thumbnail(thumbnailPath.toStdString());
    assemble(document, parts);
    if (!commit(file, document))
        return GV_E_WRITEFILE;
    placeThumbnail(thumbnail.get(), thumbnailPath);
    m_album.SetModified(false);
    return GV_OK;
}

ResultCode ProjectWriter::describePlugin(ProjectXmlBuilder& builder, Parts& parts)
{
    const CPluginInfo* plugin = m_album.ChosenPlugin();
    if (plugin == nullptr)
        return GV_E_NOTFOUND;
    // A library without a version record is saved as version 0.0.0.0; the version is stored
    // for information and opening the album does not need it.
    uint32_t versionMS = 0, versionLS = 0;
    ReadPluginVersion(plugin->libraryPath, versionMS, versionLS); // leaves both 0 without one
    letProgressShow();
    if (cancelled(30)) {
        letProgressShow();
        return GV_CANCELLED;
    }
    parts.plugin = builder.Plugin(versionLS);
    return cancelled(40) ? GV_CANCELLED : GV_OK;
}

void ProjectWriter::assemble(tinyxml2::XMLDocument& document, const Parts& parts)
{
    if (parts.thumbnail != nullptr)
        parts.project->InsertEndChild(parts.thumbnail);
    parts.project->InsertEndChild(parts.images);
    parts.project->InsertEndChild(parts.settings);
    parts.project->InsertEndChild(parts.plugin);
    document.InsertEndChild(parts.project);
}

bool ProjectWriter::commit(QSaveFile& file, const tinyxml2::XMLDocument& document)
{
    const std::string text = ProjectXmlBuilder::Print(document);
    return platform::commitSafely(file, QByteArrayView(text.data(), qsizetype(text.size())));
}

void ProjectWriter::placeThumbnail(QTemporaryFile* written, const QString& thumbnailPath)
{
    // Without a thumbnail of its own the project must not show an older one of other photos.
    std::error_code error;
    const fs::path target = projectpaths::toPath(thumbnailPath.toStdString());
    if (written == nullptr) {
        fs::remove(target, error);
        return;
    }
    // The scratch file was made for the owner alone; the thumbnail is the user's like the
    // project beside it.
    platform::giveUsualPermissions(written->fileName(), thumbnailPath);
    fs::rename(projectpaths::toPath(written->fileName().toStdString()), target, error);
    if (!error)
        written->setAutoRemove(false);
}

std::unique_ptr<QTemporaryFile> ProjectWriter::writeThumbnail(const QString& thumbnailPath) const
{
    std::unique_ptr<QTemporaryFile> file = scratchFileBeside(thumbnailPath);
    if (!file || !makeThumbnail(file->fileName()))
        return nullptr;
    return file;
}

bool ProjectWriter::makeThumbnail(const QString& target) const
{
    if (m_album.Images().empty())
        return false;
    const std::string photo = projectpaths::nativePath(m_album.Images().front().path.c_str());
    const QString file = QString::fromStdString(photo);
    const std::unique_ptr<imaging::Image> image = imaging::Image::open(file);
    if (!image)
        return false;
    // The photo as the album shows it, its longer side taking the whole thumbnail.
    const QImage picture = imaging::drawShown(*image, imaging::readDisplayTransform(file),
                                              QSize(ThumbnailSide, ThumbnailSide));
    if (picture.isNull())
        return false;
    const std::unique_ptr<imaging::Image> small =
        imaging::Image::fromQImage(picture.convertToFormat(QImage::Format_ARGB32));
    return small && small->save(target, QStringLiteral("image/jpeg"));
}
