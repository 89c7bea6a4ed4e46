// SPDX-License-Identifier: GPL-2.0-or-later
// ProjectWriter: writes the album as an XML project file with a small JPEG thumbnail of its
// first photo beside it (the project's path + ".jpg").
//
// Both files are written under temporary names in the project's folder and renamed into
// place only when everything has been written, so a failure or a cancel leaves the files
// that were there as they were.
#pragma once

#include <memory>

#include <QString>

#include "sdk/resultcode.h"

class AlbumProject;
class ProjectXmlBuilder;
class QSaveFile;
class QTemporaryFile;
namespace tinyxml2
{
class XMLDocument;
class XMLElement;
} // namespace tinyxml2

class ProjectWriter
{
public:
    static constexpr int ThumbnailSide = 128;

    explicit ProjectWriter(AlbumProject& album);

    // Reports progress through the album's progress window; 0 on success, which also clears
    // the album's modified flag. 1223 when the user cancelled, -1002 when the file cannot be
    // created, -1011 when the plug-in's version cannot be read, -1003 when writing failed.
    ResultCode Write(const char* path);

private:
    // The elements of the document, made in the order the progress runs.
    struct Parts {
        tinyxml2::XMLElement* project = nullptr;
        tinyxml2::XMLElement* images = nullptr;
        tinyxml2::XMLElement* plugin = nullptr;
        tinyxml2::XMLElement* settings = nullptr;
        tinyxml2::XMLElement* thumbnail = nullptr;
    };

    // The plug-in element, after its library's version was read (-1011 when it cannot be).
    ResultCode describePlugin(ProjectXmlBuilder& builder, Parts& parts);
    static void assemble(tinyxml2::XMLDocument& document, const Parts& parts);
    static bool commit(QSaveFile& file, const tinyxml2::XMLDocument& document);
    // Renames the written thumbnail into place, or removes an older one when none was made.
    static void placeThumbnail(QTemporaryFile* written, const QString& thumbnailPath);
    // Reports percent; true when the user asked to cancel.
    bool cancelled(int percent);
    // The thumbnail written under a temporary name beside thumbnailPath, or null when the
    // album has no photo that can be read.
    std::unique_ptr<QTemporaryFile> writeThumbnail(const QString& thumbnailPath) const;
    // Saves the first photo, shrunk into the thumbnail box, as a JPEG file at target.
    bool makeThumbnail(const QString& target) const;

    AlbumProject& m_album;
};
