// SPDX-License-Identifier: GPL-2.0-or-later
#include "album/projectxmlbuilder.h"

#include <cstring>

#include <tinyxml2.h>

#include "album/albumproject.h"
#include "album/projectpaths.h"
#include "album/projectxmlnames.h"
#include "album/savedproject.h"
#include "plugins/paramrules.h"

using tinyxml2::XMLElement;

namespace
{

// The value the user set: the first entry of kind 4. A parameter without one may still hold
// a value the album was opened with (loading fills the value in force), so the value in
// force stands in for it; it is saved only when it differs from the template's.
const GVParamValue* savedValue(const GVParamInfo& param)
{
    for (const GVParamValueInfo& entry : param.values)
        if (entry.kind == PVK_USER_VALUE)
            return &entry.value;
    for (const GVParamValueInfo& entry : param.values)
        if (entry.kind == PVK_VALUE)
            return &entry.value;
    return nullptr;
}

const GVParamInfo* findByName(const gv_vector<GVParamInfo>& params, const char* name)
{
    for (const GVParamInfo& param : params)
        if (paramrules::sameName(param.name.c_str(), name))
            return &param;
    return nullptr;
}

// Fonts compare by their whole block: a colour or a size is as much the user's choice as the
// face, and a font saved without it would come back in the template's colour.
bool sameValue(int32_t type, const GVParamValue& a, const GVParamValue& b)
{
    if (type == PT_FONT) {
        if (a.font == nullptr || b.font == nullptr)
            return a.font == b.font;
        return std::memcmp(a.font, b.font, sizeof(GVFontBlock)) == 0;
    }
    return a.number == b.number && paramrules::sameName(a.text.c_str(), b.text.c_str());
}

} // namespace

ProjectXmlBuilder::ProjectXmlBuilder(AlbumProject& album, tinyxml2::XMLDocument& document)
    : m_album(album), m_document(document)
{
}

XMLElement* ProjectXmlBuilder::Project()
{
    XMLElement* project = m_document.NewElement(projectxml::Project);
    project->SetAttribute(projectxml::Version, projectxml::VersionText);
    project->SetAttribute(projectxml::ImageData, projectxml::FalseText);
    project->SetAttribute(projectxml::TemplateData, projectxml::FalseText);
    return project;
}

XMLElement* ProjectXmlBuilder::Thumbnail(const std::string& file)
{
    XMLElement* thumbnail = m_document.NewElement(projectxml::Thumbnail);
    thumbnail->SetAttribute(projectxml::File, file.c_str());
    return thumbnail;
}

XMLElement* ProjectXmlBuilder::Images()
{
    XMLElement* images = m_document.NewElement(projectxml::Images);
    images->SetAttribute(projectxml::Quantity, static_cast<int>(m_album.Images().size()));
    return images;
}

void ProjectXmlBuilder::AddImages(XMLElement& images, const std::string& projectFile)
{
    const std::string folder = projectpaths::fromPath(
        projectpaths::toPath(projectpaths::nativePath(projectFile)).parent_path());
    const projectpaths::RelativeTo relative(folder.empty() ? std::string(".") : folder);
    for (const AlbumImage& image : m_album.Images()) {
        XMLElement* element = m_document.NewElement(projectxml::Image);
        element->SetAttribute(projectxml::ImageName, image.name.c_str());
        element->SetAttribute(projectxml::Path, image.path.c_str());
        element->SetAttribute(projectxml::RelativePath, relative(image.path.c_str()).c_str());
        element->SetAttribute(projectxml::Description, image.description.c_str());
        element->SetAttribute(projectxml::Album, image.subfolder.c_str());
        images.InsertEndChild(element);
    }
}

XMLElement* ProjectXmlBuilder::Plugin(uint32_t versionLS)
{
    const CPluginInfo* plugin = m_album.ChosenPlugin();
    XMLElement* element = m_document.NewElement(projectxml::Plugin);
    element->SetAttribute(projectxml::File, plugin ? plugin->libraryPath.c_str() : "");
    element->SetAttribute(projectxml::Name, plugin ? plugin->GetName() : "");
    element->SetAttribute(projectxml::Version, static_cast<int>(versionLS));
    element->SetAttribute(projectxml::Id, static_cast<int>(m_album.PluginIndex()));
    XMLElement* templ = m_document.NewElement(projectxml::Template);
    templ->SetAttribute(projectxml::Id, static_cast<int>(m_album.TemplateId()));
    const gv_string name = m_album.ChosenTemplateName();
    if (!name.empty())
        templ->SetAttribute(projectxml::Name, name.c_str());
    element->InsertEndChild(templ);
    return element;
}

XMLElement* ProjectXmlBuilder::Settings()
{
    XMLElement* settings = m_document.NewElement(projectxml::Settings);
    settings->SetAttribute(projectxml::AlbumName, m_album.AlbumName().c_str());
    settings->SetAttribute(projectxml::AlbumPath, m_album.Destination().c_str());
    settings->SetAttribute(projectxml::Favorite, m_album.FavoritesName().c_str());
    settings->SetAttribute(projectxml::Quantity, static_cast<int>(m_album.ParameterList().size()));
    // The template's defaults come from the plug-in through the album's own parameter
    // operation, which fills only an empty list; the album's values are put back afterwards.
    const gv_vector<GVParamInfo> current = m_album.ParameterList();
    gv_vector<GVParamInfo> defaults;
    m_album.ParameterList().clear();
    m_album.Parameters(&defaults);
    m_album.ParameterList() = current;
    for (const GVParamInfo& param : current)
        if (const GVParamValue* value = changedValue(param, defaults))
            settings->InsertEndChild(Param(param, *value));
    return settings;
}

const GVParamValue* ProjectXmlBuilder::changedValue(const GVParamInfo& param,
                                                    const gv_vector<GVParamInfo>& defaults) const
{
    const GVParamValue* value = savedValue(param);
    const GVParamInfo* original = findByName(defaults, param.name.c_str());
    if (value == nullptr || original == nullptr)
        return nullptr;
    const GVParamValue* defaultValue = paramrules::value(*original);
    if (defaultValue != nullptr && sameValue(param.type, *value, *defaultValue))
        return nullptr;
    return value;
}

XMLElement* ProjectXmlBuilder::Param(const GVParamInfo& param, const GVParamValue& value)
{
    XMLElement* element = m_document.NewElement(projectxml::Param);
    element->SetAttribute(projectxml::Type, static_cast<int>(param.type));
    element->SetAttribute(projectxml::Id, static_cast<int>(param.id));
    element->SetAttribute(projectxml::InternalName, param.name.c_str());
    element->SetAttribute(projectxml::FriendlyName, param.friendlyName.c_str());
    element->SetAttribute(projectxml::Description, param.description.c_str());
    XMLElement* entry = m_document.NewElement(projectxml::Value);
    if (param.type == PT_FONT) {
        if (value.font != nullptr) // a font without its block has nothing to save
            entry->InsertEndChild(Font(*value.font));
    } else {
        entry->SetAttribute(projectxml::String, value.text.c_str());
        entry->SetAttribute(projectxml::Number, static_cast<int>(value.number));
    }
    element->InsertEndChild(entry);
    return element;
}

XMLElement* ProjectXmlBuilder::Font(const GVFontBlock& block)
{
    XMLElement* font = m_document.NewElement(projectxml::Font);
    for (size_t field = 0; field < SF_Count; ++field)
        font->SetAttribute(SavedFontFieldNames[field], savedFontField(block, field));
    const char* face = block.logFont.lfFaceName;
    font->SetAttribute(SavedFaceNameField,
                       std::string(face, strnlen(face, sizeof block.logFont.lfFaceName)).c_str());
    return font;
}

std::string ProjectXmlBuilder::Print(const tinyxml2::XMLDocument& document)
{
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);
    const std::string_view printed(printer.CStr(), static_cast<size_t>(printer.CStrSize() - 1));
    // A reader turns a raw carriage return inside a value into a line feed; written as a
    // character reference it comes back as it was (descriptions end lines with "\r\n").
    std::string text;
    text.reserve(printed.size());
    for (char c : printed) {
        if (c == '\r')
            text += "&#13;";
        else
            text += c;
    }
    return text;
}
