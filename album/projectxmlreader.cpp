// SPDX-License-Identifier: GPL-2.0-or-later
#include "album/projectxmlreader.h"

#include <tinyxml2.h>

#include "album/projectxmlnames.h"

using tinyxml2::XMLElement;

namespace
{

std::string text(const XMLElement& element, const char* name)
{
    const char* value = element.Attribute(name);
    return value ? std::string(value) : std::string();
}

std::optional<int64_t> number(const XMLElement& element, const char* name)
{
    int64_t value = 0;
    if (element.QueryInt64Attribute(name, &value) != tinyxml2::XML_SUCCESS)
        return std::nullopt;
    return value;
}

} // namespace

bool ProjectXmlReader::Parse(const char* data, size_t size, SavedProject& project)
{
    project = SavedProject();
    tinyxml2::XMLDocument document;
    if (data == nullptr || document.Parse(data, size) != tinyxml2::XML_SUCCESS)
        return false;
    const XMLElement* root = document.FirstChildElement(projectxml::Project);
    const XMLElement* images = root ? root->FirstChildElement(projectxml::Images) : nullptr;
    const XMLElement* plugin = root ? root->FirstChildElement(projectxml::Plugin) : nullptr;
    const XMLElement* templ = plugin ? plugin->FirstChildElement(projectxml::Template) : nullptr;
    if (images == nullptr || templ == nullptr)
        return false;
    project.pluginName = text(*plugin, projectxml::Name);
    project.templateName = text(*templ, projectxml::Name);
    if (const XMLElement* settings = root->FirstChildElement(projectxml::Settings))
        readSettings(*settings, project);
    for (const XMLElement* image = images->FirstChildElement(); image;
         image = image->NextSiblingElement())
        project.images.push_back(readImage(*image));
    return true;
}

void ProjectXmlReader::readSettings(const XMLElement& settings, SavedProject& project)
{
    project.hasSettings = true;
    project.albumName = text(settings, projectxml::AlbumName);
    project.destination = text(settings, projectxml::AlbumPath);
    project.favoritesName = text(settings, projectxml::Favorite);
    for (const XMLElement* param = settings.FirstChildElement(); param;
         param = param->NextSiblingElement()) {
        // An entry without a value has nothing to restore.
        if (const XMLElement* value = param->FirstChildElement(projectxml::Value))
            project.params.push_back(readParam(*param, *value));
    }
}

SavedParam ProjectXmlReader::readParam(const XMLElement& param, const XMLElement& value)
{
    SavedParam saved;
    saved.internalName = text(param, projectxml::InternalName);
    if (const char* string = value.Attribute(projectxml::String))
        saved.text = string;
    if (const std::optional<int64_t> n = number(value, projectxml::Number))
        saved.number = static_cast<int32_t>(static_cast<uint32_t>(*n)); // the low 32 bits
    if (const XMLElement* font = value.FirstChildElement(projectxml::Font))
        readFont(*font, saved);
    return saved;
}

void ProjectXmlReader::readFont(const XMLElement& font, SavedParam& param)
{
    param.hasFont = true;
    for (size_t field = 0; field < SF_Count; ++field)
        param.font[field] = number(font, SavedFontFieldNames[field]);
    if (const char* face = font.Attribute(SavedFaceNameField))
        param.faceName = face;
}

SavedImage ProjectXmlReader::readImage(const XMLElement& image)
{
    SavedImage saved;
    saved.name = text(image, projectxml::ImageName);
    saved.path = text(image, projectxml::Path);
    saved.relativePath = text(image, projectxml::RelativePath);
    saved.description = text(image, projectxml::Description);
    saved.subfolder = text(image, projectxml::Album);
    return saved;
}
