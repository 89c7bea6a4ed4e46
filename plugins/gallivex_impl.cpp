// SPDX-License-Identifier: GPL-2.0-or-later
#include "plugins/gallivex_impl.h"

#include <algorithm>
#include <system_error>

#include "images/imagefingerprint.h"
#include "images/streamfactory.h"
#include "platform/stringtable.h"

namespace fs = std::filesystem;

namespace {

bool isSeparator(char c)
{
    return c == '/' || c == '\\';
}

// True when path is folder itself or lies below it; both are canonical.
bool isWithin(const fs::path& folder, const fs::path& path)
{
    return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first ==
           folder.end();
}

// Every existing symbolic link on the way from folder to folder / inside must resolve to a
// place within folder; a dangling one is refused too, since writing through it would create
// its target wherever it points.
bool linksStayWithin(const fs::path& folder, const fs::path& inside)
{
    std::error_code error;
    const fs::path root = fs::weakly_canonical(folder, error);
    if (error)
        return false;
    fs::path walk = folder;
    for (const fs::path& part : inside) {
        walk /= part;
        const fs::file_status status = fs::symlink_status(walk, error);
        if (status.type() == fs::file_type::not_found)
            return true; // nothing below a missing entry exists either
        if (error)
            return false;
        if (!fs::is_symlink(status))
            continue;
        const fs::path target = fs::canonical(walk, error);
        if (error || !isWithin(root, target))
            return false;
    }
    return true;
}

// A folder opens as a file on some systems, and every read of it then fails: it is no file.
IStream* openStream(const std::string& path, bool forWriting)
{
    std::error_code error;
    if (path.empty() || fs::is_directory(path, error))
        return nullptr;
    IStream* stream = nullptr;
    if (OpenFileStream(path.c_str(), forWriting, &stream) != 0)
        return nullptr;
    return stream;
}

} // namespace

CGallivexImpl::CGallivexImpl() = default;

CGallivexImpl::~CGallivexImpl() = default;

std::optional<fs::path> CGallivexImpl::ResolveBelow(const std::string& folder,
                                                    const char* relative)
{
    if (folder.empty() || relative == nullptr || *relative == '\0')
        return std::nullopt;
    std::string text(relative);
    if (isSeparator(text.back()))
        return std::nullopt;
    std::replace(text.begin(), text.end(), '\\', '/');
    const fs::path given(text);
    if (given.has_root_path())
        return std::nullopt;
    fs::path inside;
    for (const fs::path& part : given) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (inside.empty())
                return std::nullopt;
            inside = inside.parent_path();
            continue;
        }
        inside /= part;
    }
    if (inside.empty() || !linksStayWithin(folder, inside))
        return std::nullopt;
    return fs::path(folder) / inside;
}

std::optional<std::string> CGallivexImpl::ExtensionOf(const char* path)
{
    if (path == nullptr)
        return std::nullopt;
    // Only the file name counts: a dot in a folder name is no extension.
    const std::string text(path);
    const size_t nameStart = text.find_last_of("/\\");
    const size_t dot = text.rfind('.');
    if (dot == std::string::npos || (nameStart != std::string::npos && dot < nameStart))
        return std::nullopt;
    return text.substr(dot + 1);
}

const AlbumImage* CGallivexImpl::photo(int32_t index) const
{
    const std::vector<AlbumImage>& images = m_album.Images();
    if (index < 0 || static_cast<size_t>(index) >= images.size())
        return nullptr;
    return &images[static_cast<size_t>(index)];
}

std::optional<fs::path> CGallivexImpl::destinationFile(const gv_string& relative) const
{
    return ResolveBelow(m_album.Destination().c_str(), relative.c_str());
}

ResultCode CGallivexImpl::copyIntoDestination(const std::string& source,
                                              const gv_string& relative)
{
    const std::optional<fs::path> target = destinationFile(relative);
    if (!target || source.empty())
        return GV_E_CREATEFILE;
    AlbumProject::CreateFoldersForPath(target->string().c_str());
    std::error_code error;
    fs::copy_file(source, *target, fs::copy_options::overwrite_existing, error);
    return error ? GV_E_CREATEFILE : GV_OK;
}

ResultCode CGallivexImpl::Generate()
{
    const CPluginInfo* chosen = m_album.ChosenPlugin();
    if (chosen == nullptr)
        return GV_E_PLUGINID;
    if (m_album.TemplateId() < 0)
        return GV_E_TEMPLATE;
    if (chosen->plugin == nullptr)
        return GV_E_PLUGINNOTINSTALLED;
    // A progress already shown belongs to an operation still under way (its report pumps
    // events); replacing it would pull the window from under that operation.
    if (m_album.ActiveProgress() != nullptr)
        return GV_E_UNEXPECTED;

    IOutputPlugin* plugin = chosen->plugin;
    ResultCode result = GV_E_UNEXPECTED;
    {
        ProgressScope progress(m_album, loadString(IDS_GENERATING_ALBUM));
        try {
            result = plugin->Generate(m_album.TemplateId(), this);
        } catch (...) {
            result = GV_E_UNEXPECTED;
        }
    }
    if (result == GV_OK)
        m_album.MarkGenerated();
    return result;
}

IStream* CGallivexImpl::OpenAlbumFile(gv_string& relativePath)
{
    const std::optional<fs::path> file = destinationFile(relativePath);
    return file ? openStream(file->string(), false) : nullptr;
}

IStream* CGallivexImpl::CreateAlbumFile(gv_string& relativePath)
{
    const std::optional<fs::path> file = destinationFile(relativePath);
    if (!file)
        return nullptr;
    AlbumProject::CreateFoldersForPath(file->string().c_str());
    return openStream(file->string(), true);
}

bool CGallivexImpl::ReleaseStream(IUnknown* stream)
{
    return stream != nullptr && stream->Release() == 0;
}

IStream* CGallivexImpl::OpenImage(int32_t index, gv_string& extension, gv_string& path)
{
    const AlbumImage* image = photo(index);
    if (image == nullptr)
        return nullptr;
    if (const std::optional<std::string> found = ExtensionOf(image->path.c_str()))
        extension = found->c_str();
    path = image->path;
    return openStream(image->path.c_str(), false);
}

IStream* CGallivexImpl::OpenFile(gv_string fullPath)
{
    return openStream(fullPath.c_str(), false);
}

gv_string* CGallivexImpl::GetImagePath(int32_t index)
{
    m_imagePath = "";
    const AlbumImage* image = photo(index);
    std::error_code error;
    if (image != nullptr && fs::is_regular_file(image->path.c_str(), error))
        m_imagePath = image->path;
    return &m_imagePath;
}

IGraphicProcessor* CGallivexImpl::GetImageProcessor()
{
    return m_album.ImageProcessor();
}

ResultCode CGallivexImpl::CopyImage(int32_t index, gv_string relativeDestination)
{
    const AlbumImage* image = photo(index);
    if (image == nullptr)
        return GV_E_CREATEFILE;
    return copyIntoDestination(image->path.c_str(), relativeDestination);
}

ResultCode CGallivexImpl::CopyFile(gv_string sourcePath, gv_string relativeDestination)
{
    return copyIntoDestination(sourcePath.c_str(), relativeDestination);
}

gv_string* CGallivexImpl::GetImageExtension(int32_t index)
{
    const AlbumImage* image = photo(index);
    if (image == nullptr) {
        m_extension = ""; // no photo: nothing to remember either
        return &m_extension;
    }
    if (const std::optional<std::string> found = ExtensionOf(image->path.c_str()))
        m_lastExtension = found->c_str();
    m_extension = m_lastExtension;
    return &m_extension;
}

gv_string* CGallivexImpl::GetAlbumFilePath(gv_string& relativePath)
{
    // Plug-ins hand such paths to the image processor as output targets, so a path that
    // would leave the destination, or a missing destination, gives "" rather than a place
    // elsewhere on the disk.
    const bool folderItself = relativePath.empty() && !m_album.Destination().empty();
    if (folderItself || destinationFile(relativePath))
        m_albumFilePath = m_album.Destination() + "/" + relativePath;
    else
        m_albumFilePath = "";
    return &m_albumFilePath;
}

int32_t CGallivexImpl::GetParams(gv_vector<GVParamInfo>* params)
{
    return m_album.Parameters(params);
}

int32_t CGallivexImpl::GetImages(gv_vector<AlbumImageInfo>& images)
{
    m_album.ImagesForPlugins(images);
    return 0;
}

bool CGallivexImpl::ReportProgress(int32_t percent, const char* text)
{
    Progress* progress = m_album.ActiveProgress();
    if (progress == nullptr)
        return false;
    progress->setPosition(percent);
    if (text != nullptr && *text != '\0')
        progress->setText(QString::fromUtf8(text));
    return progress->pump();
}

bool CGallivexImpl::Reserved14()
{
    return false;
}

const char* CGallivexImpl::GetImageFingerprint(int32_t index)
{
    if (index < 0) {
        m_fingerprint = "negative_image_id";
        return m_fingerprint.c_str();
    }
    const AlbumImage* image = photo(index);
    const std::optional<std::string> fingerprint =
        image != nullptr ? ImageFingerprint(std::string(image->path.c_str())) : std::nullopt;
    m_fingerprint = fingerprint.value_or("error_creating_id");
    return m_fingerprint.c_str();
}
