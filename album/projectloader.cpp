// SPDX-License-Identifier: GPL-2.0-or-later
#include "album/projectloader.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <QFile>
#include <QPainter>

#include "album/albumproject.h"
#include "album/imagesearch.h"
#include "album/legacyprojectreader.h"
#include "album/projectpaths.h"
#include "album/projectxmlreader.h"
#include "platform/displaytransform.h"
#include "platform/imaging.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"
#include "plugins/paramrules.h"

namespace
{

void applyFont(GVFontBlock& block, const SavedParam& saved)
{
    for (size_t field = 0; field < SF_Count; ++field)
        if (saved.font[field])
            setSavedFontField(block, field, *saved.font[field]);
    // A face name that would not fit the LOGFONT's field with room to spare is ignored.
    if (saved.faceName && saved.faceName->size() < 31) {
        std::memset(block.logFont.lfFaceName, 0, sizeof block.logFont.lfFaceName);
        std::memcpy(block.logFont.lfFaceName, saved.faceName->data(), saved.faceName->size());
    }
}

} // namespace

ProjectLoader::ProjectLoader(AlbumProject& album, Prompter& prompter, Choosers& choosers,
                             ImageSearch& search, int thumbnailSide)
    : m_album(album), m_prompter(prompter), m_choosers(choosers), m_search(search),
      m_thumbnailSide(thumbnailSide)
{
}

std::optional<QByteArray> ProjectLoader::ReadFile(const char* path)
{
    QFile file(QString::fromStdString(projectpaths::nativePath(path ? path : "")));
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize)
        return std::nullopt;
    QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool ProjectLoader::ReadXmlProject(const char* path, bool ask)
{
    m_album.Reset();
    SavedProject project;
    const std::optional<QByteArray> bytes = ReadFile(path);
    if (!bytes || !ProjectXmlReader::Parse(bytes->constData(), size_t(bytes->size()), project))
        return false;
    AlbumSummary& summary = m_album.Summary();
    summary.projectPath = path;
    summary.imageCount = 0;
    summary.pluginName = project.pluginName.c_str();
    summary.templateName = project.templateName.c_str();
    if (!chooseTemplate(project.pluginName, project.templateName, ask) || !project.hasSettings)
        return false;
    applySettings(project);
    addImages(project.images, ask);
    summary.imageCount = static_cast<int32_t>(m_album.Images().size());
    summary.thumbnail = listThumbnailOfFile(std::string(path) + ".jpg");
    if (summary.thumbnail.isNull() && !m_album.Images().empty())
        summary.thumbnail = listThumbnailOfFile(m_album.Images().front().path.c_str());
    m_album.SetProjectPath(path);
    m_album.SetModified(false);
    return true;
}

ResultCode ProjectLoader::ReadLegacyProject(const char* path, bool ask)
{
    const std::optional<QByteArray> bytes = ReadFile(path);
    if (!bytes)
        return GV_E_READFILE;
    LegacyProject project;
    LegacyProjectReader reader(bytes->constData(), size_t(bytes->size()));
    if (const ResultCode result = reader.Read(project); result != GV_OK)
        return result;
    AlbumSummary& summary = m_album.Summary();
    summary.imageCount = project.imageCount;
    summary.pluginName = project.pluginName.c_str();
    summary.templateName = project.templateName.c_str();
    const std::string& albumName =
        project.albumName.empty() ? project.templateName : project.albumName;
    m_album.SetAlbumName(albumName.c_str());
    summary.albumName = albumName.c_str();
    if (!chooseTemplate(project.pluginName, project.templateName, ask))
        return GV_E_READFILE;
    m_album.ParameterList() = project.params;
    if (project.hasImageSection)
        addImages(project.images, ask);
    summary.thumbnail = listThumbnail(project.thumbnail);
    if (!project.destination.empty()) {
        m_album.SetDestination(project.destination.c_str());
        m_album.SetFavoritesName(project.favoritesName.c_str());
        summary.destination = project.destination.c_str();
        summary.favoritesName = project.favoritesName.c_str();
    }
    return GV_OK;
}

bool ProjectLoader::chooseTemplate(const std::string& pluginName, const std::string& templateName,
                                   bool ask)
{
    bool declined = false;
    const int32_t pluginIndex = findPlugin(pluginName, ask, declined);
    if (declined)
        return false;
    const int32_t templateId = findTemplate(pluginIndex, templateName, ask, declined);
    if (declined)
        return false;
    m_album.ChooseTemplate(pluginIndex, templateId);
    return true;
}

int32_t ProjectLoader::findPlugin(const std::string& name, bool ask, bool& declined)
{
    const std::vector<CPluginInfo>& plugins = m_album.Plugins();
    for (size_t i = 0; i < plugins.size(); ++i)
        if (paramrules::sameName(plugins[i].GetName(), name.c_str()))
            return static_cast<int32_t>(i);
    if (!ask)
        return -1;
    const QString question = loadString(IDS_PLUGIN_NOT_INSTALLED).arg(QString::fromStdString(name));
    declined = m_prompter.ask(question, Prompter::Buttons::YesNo, Prompter::Answer::Yes) !=
               Prompter::Answer::Yes;
    // Going on, the album takes the last plug-in of the list.
    return static_cast<int32_t>(plugins.size()) - 1;
}

int32_t ProjectLoader::findTemplate(int32_t pluginIndex, const std::string& name, bool ask,
                                    bool& declined)
{
    gv_vector<TemplateInfo> templates;
    if (pluginIndex >= 0)
        m_album.PluginManager().EnumTemplates(pluginIndex, templates);
    for (const TemplateInfo& info : templates)
        if (paramrules::sameName(info.name.c_str(), name.c_str()))
            return info.id;
    if (!ask)
        return -1;
    const QString question =
        loadString(IDS_TEMPLATE_NOT_INSTALLED).arg(QString::fromStdString(name));
    declined = m_prompter.ask(question, Prompter::Buttons::YesNo, Prompter::Answer::Yes) !=
               Prompter::Answer::Yes;
    // Going on, the album takes the plug-in's last template (ids are the plug-in's own, so
    // the last template's id, not a position).
    return templates.empty() ? -1 : templates[templates.size() - 1].id;
}

void ProjectLoader::applySettings(const SavedProject& project)
{
    AlbumSummary& summary = m_album.Summary();
    m_album.SetAlbumName(project.albumName.c_str());
    m_album.SetDestination(project.destination.c_str());
    m_album.SetFavoritesName(project.favoritesName.c_str());
    summary.albumName = project.albumName.c_str();
    summary.destination = project.destination.c_str();
    summary.favoritesName = project.favoritesName.c_str();
    m_album.ParameterList().clear();
    m_album.Parameters(nullptr);
    gv_vector<GVParamInfo>& params = m_album.ParameterList();
    for (const SavedParam& saved : project.params) {
        auto param = std::find_if(params.begin(), params.end(), [&](const GVParamInfo& p) {
            return paramrules::sameName(p.name.c_str(), saved.internalName.c_str());
        });
        if (param != params.end())
            ApplySaved(*param, saved);
    }
}

void ProjectLoader::ApplySaved(GVParamInfo& param, const SavedParam& saved)
{
    if (param.values.empty()) // nothing to hold a value
        return;
    if (param.type == PT_CHOICE) {
        applyChoice(param, saved);
        return;
    }
    int32_t index = paramrules::valueIndex(param);
    const GVParamValueInfo& source = param.values[index >= 0 ? index : param.values.size() - 1];
    if (param.type == PT_FONT && (!saved.hasFont || source.value.font == nullptr))
        return;
    if (index < 0) {
        // No value in force yet: a copy of the last entry becomes it.
        GVParamValueInfo added = source;
        added.kind = PVK_VALUE;
        param.values.push_back(added);
        index = param.values.size() - 1;
    }
    GVParamValue& value = param.values[index].value;
    if (param.type == PT_FONT) {
        applyFont(*value.font, saved);
        return;
    }
    if (saved.text)
        value.text = saved.text->c_str();
    if (saved.number)
        value.number = *saved.number;
}

void ProjectLoader::applyChoice(GVParamInfo& param, const SavedParam& saved)
{
    const char* chosen = saved.text ? saved.text->c_str() : "";
    const bool offered =
        std::any_of(param.values.begin(), param.values.end(), [&](const GVParamValueInfo& entry) {
            return paramrules::sameName(entry.value.text.c_str(), chosen);
        });
    // An option the template no longer offers would leave the choice without a value; the
    // template's own selection stays instead.
    if (!offered)
        return;
    for (GVParamValueInfo& entry : param.values)
        entry.kind =
            paramrules::sameName(entry.value.text.c_str(), chosen) ? PVK_VALUE : PVK_OPTION;
}

void ProjectLoader::addImages(const std::vector<SavedImage>& images, bool ask)
{
    std::vector<AlbumImage>& list = m_album.Images();
    list.clear();
    list.reserve(images.size());
    for (const SavedImage& saved : images) {
        gv_string path = saved.path.c_str();
        bool present = projectpaths::exists(saved.path);
        if (ask && !present) {
            ask = m_search.ResolveImagePath(path, ask, m_prompter, m_choosers);
            present = projectpaths::exists(path.c_str());
        }
        if (ask && !present)
            continue; // the user chose to leave it out
        AlbumImage image;
        image.name = saved.name.c_str();
        image.path = projectpaths::nativePath(path.c_str()).c_str();
        image.description = saved.description.c_str();
        image.subfolder = saved.subfolder.c_str();
        image.index = static_cast<int32_t>(list.size());
        list.push_back(std::move(image));
    }
}

QImage ProjectLoader::listThumbnail(const QImage& picture) const
{
    const std::unique_ptr<imaging::Image> image = imaging::Image::fromQImage(picture);
    return image ? listPicture(*image, imaging::DisplayTransform()) : QImage();
}

QImage ProjectLoader::listThumbnailOfFile(const std::string& path) const
{
    const QString file = QString::fromStdString(projectpaths::nativePath(path));
    const std::unique_ptr<imaging::Image> image = imaging::Image::open(file);
    return image ? listPicture(*image, imaging::readDisplayTransform(file)) : QImage();
}

QImage ProjectLoader::listPicture(const imaging::Image& image,
                                  const imaging::DisplayTransform& transform) const
{
    // Every album takes the same place in the list, S by S - 28; the picture keeps its
    // proportions in the middle of it, the rest left clear.
    const QSize box(m_thumbnailSide, m_thumbnailSide - 28);
    const QImage shown = imaging::drawShown(image, transform, box);
    if (shown.isNull())
        return shown;
    QImage place(box, QImage::Format_ARGB32_Premultiplied);
    place.fill(Qt::transparent);
    QPainter painter(&place);
    painter.drawImage((box.width() - shown.width()) / 2, (box.height() - shown.height()) / 2,
                      shown);
    return place;
}
