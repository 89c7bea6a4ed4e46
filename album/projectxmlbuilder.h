// SPDX-License-Identifier: GPL-2.0-or-later
// ProjectXmlBuilder: the elements of an XML project file, made from the album. The writer
// decides when each is made and puts them together.
#pragma once

#include <cstdint>
#include <string>

#include "sdk/gv_vector.h"
#include "sdk/gvparaminfo.h"

namespace tinyxml2
{
class XMLDocument;
class XMLElement;
} // namespace tinyxml2

class AlbumProject;

class ProjectXmlBuilder
{
public:
    ProjectXmlBuilder(AlbumProject& album, tinyxml2::XMLDocument& document);

    tinyxml2::XMLElement* Project();
    // file: the thumbnail's full path.
    tinyxml2::XMLElement* Thumbnail(const std::string& file);
    // The image list element with its count; AddImages fills it.
    tinyxml2::XMLElement* Images();
    // projectFile: where the project is written, for the photos' relative paths.
    void AddImages(tinyxml2::XMLElement& images, const std::string& projectFile);
    // versionLS: the low half of the plug-in library's product version.
    tinyxml2::XMLElement* Plugin(uint32_t versionLS);
    // The album's settings and the parameters whose values differ from the template's.
    tinyxml2::XMLElement* Settings();

    // The document as text, without a declaration line.
    static std::string Print(const tinyxml2::XMLDocument& document);

private:
    // The value to save for param, or null when it holds the template's default.
    const GVParamValue* changedValue(const GVParamInfo& param,
                                     const gv_vector<GVParamInfo>& defaults) const;
    tinyxml2::XMLElement* Param(const GVParamInfo& param, const GVParamValue& value);
    tinyxml2::XMLElement* Font(const GVFontBlock& font);

    AlbumProject& m_album;
    tinyxml2::XMLDocument& m_document;
};
