// SPDX-License-Identifier: GPL-2.0-or-later
// ProjectLoader: puts a project file into the album. The readers parse the file first; the
// loader then chooses the plug-in and template the file names (asking the user when they
// are not installed), restores the parameter values over the template's defaults, looks for
// photos that have moved, and makes the album's thumbnail.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QByteArray>
#include <QImage>

#include "album/savedproject.h"
#include "sdk/gvparaminfo.h"
#include "sdk/resultcode.h"

namespace imaging {
class Image;
struct DisplayTransform;
} // namespace imaging

class AlbumProject;
class Choosers;
class ImageSearch;
class Prompter;

class ProjectLoader
{
public:
    // Larger files are no project files; they are refused before they are read.
    static constexpr qint64 MaxFileSize = qint64(256) << 20;

    // thumbnailSide: the album list's thumbnail size S; thumbnails are S by S - 28.
    ProjectLoader(AlbumProject& album, Prompter& prompter, Choosers& choosers, ImageSearch& search,
                  int thumbnailSide);

    // Resets the album and reads path as an XML project; false when it is none, lacks a
    // required part, or the user declined to open it without its plug-in or template.
    // ask: questions may be put to the user.
    bool ReadXmlProject(const char* path, bool ask);
    // Reads path in the older binary format into an album that was just reset: 0, or -1004
    // (unreadable, damaged, or declined), -1010 (another format or a later version), -1000.
    ResultCode ReadLegacyProject(const char* path, bool ask);

    // The file's bytes, or nothing when it cannot be read or is too large to be a project.
    static std::optional<QByteArray> ReadFile(const char* path);
    // Restores a saved value over a template parameter: a choice selects the option of the
    // saved text; other types fill the value in force (appending one when there is none).
    static void ApplySaved(GVParamInfo& param, const SavedParam& saved);

private:
    // Chooses the plug-in and template named in a file; false when the user declined.
    bool chooseTemplate(const std::string& pluginName, const std::string& templateName, bool ask);
    int32_t findPlugin(const std::string& name, bool ask, bool& declined);
    int32_t findTemplate(int32_t pluginIndex, const std::string& name, bool ask, bool& declined);
    void applySettings(const SavedProject& project);
    static void applyChoice(GVParamInfo& param, const SavedParam& saved);
    // Fills the album's image list; photos that are missing go through the photo search.
    void addImages(const std::vector<SavedImage>& images, bool ask);
    // The picture at the album list's thumbnail size, or a null image.
    QImage listThumbnail(const QImage& picture) const;
    QImage listThumbnailOfFile(const std::string& path) const;
    QImage listPicture(const imaging::Image& image, const imaging::DisplayTransform& transform) const;

    AlbumProject& m_album;
    Prompter& m_prompter;
    Choosers& m_choosers;
    ImageSearch& m_search;
    int m_thumbnailSide;
};
