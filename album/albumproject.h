// SPDX-License-Identifier: GPL-2.0-or-later
// AlbumProject: the one album the program edits, in memory. Pages change it and mark it
// modified, the project file saves and restores it, plug-ins see it through the host.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "album/albumimage.h"
#include "album/albumsummary.h"
#include "album/progress.h"
#include "images/gprocessor.h"
#include "platform/settings.h"
#include "sdk/gv_string.h"
#include "sdk/gv_vector.h"
#include "sdk/gvparaminfo.h"
#include "tolvane/plugininfo.h"
#include "tolvane/pluginmanager.h"

class AlbumProject {
public:
    AlbumProject();
    AlbumProject(const AlbumProject&) = delete;
    AlbumProject& operator=(const AlbumProject&) = delete;
    ~AlbumProject();

    // Starts a fresh album and lists the installed plug-ins; false when the plug-in manager
    // cannot start or cannot list them.
    bool Initialise();
    // Forgets the album and the plug-ins and starts again (before every load).
    void Reset();
    void MarkModified();
    void MarkGenerated() { m_generated = true; }
    bool HasProjectFile() const { return !m_projectPath.empty(); }

    // The name the album is shown, saved and generated under: the stored name once the album
    // has a destination, was generated or was named by the user, else the "Title" parameter,
    // else the template's name (either of which is then stored); "" when none applies.
    gv_string AlbumName();
    // Refuses an empty name. byUser: the user typed it, so the title never replaces it.
    bool SetAlbumName(const char* name, bool byUser = false);

    // Fills the parameter list from the chosen template on first use and appends the host's
    // two parameters; copies the list to params when given. -1 when no plug-in or template
    // is chosen.
    int Parameters(gv_vector<GVParamInfo>* params);
    // Appends every photo, without its path, in album order.
    void ImagesForPlugins(gv_vector<AlbumImageInfo>& images) const;
    // Creates every missing folder on the way to path (the last component is a file name).
    static bool CreateFoldersForPath(const char* path);

    // State, for the pages, the project file and the host.
    AlbumSummary& Summary() { return m_summary; }
    CPluginManager& PluginManager() { return m_pluginManager; }
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    bool IsGenerated() const { return m_generated; }
    bool IsFresh() const { return m_fresh; }
    void SetFresh(bool fresh) { m_fresh = fresh; }
    const gv_string& ProjectPath() const { return m_projectPath; }
    void SetProjectPath(const char* path) { m_projectPath = path; }
    const gv_string& StoredAlbumName() const { return m_albumName; }
    const gv_string& Destination() const { return m_destination; }
    void SetDestination(const char* folder) { m_destination = folder; }
    const gv_string& FavoritesName() const { return m_favoritesName; }
    void SetFavoritesName(const char* name) { m_favoritesName = name; }
    std::vector<AlbumImage>& Images() { return m_images; }
    const std::vector<AlbumImage>& Images() const { return m_images; }
    std::vector<CPluginInfo>& Plugins() { return m_plugins; }
    const std::vector<CPluginInfo>& Plugins() const { return m_plugins; }
    int32_t PluginIndex() const { return m_pluginIndex; }
    int32_t TemplateId() const { return m_templateId; }
    // Chooses a plug-in (an index in the plug-in list, or -1) and one of its templates; a
    // change of either empties the parameter list. False for an index outside the list.
    bool ChooseTemplate(int32_t pluginIndex, int32_t templateId);
    // The chosen plug-in's record, or null.
    const CPluginInfo* ChosenPlugin() const;
    gv_vector<GVParamInfo>& ParameterList() { return m_params; }
    // The name of the chosen template as the plug-in manager lists it; "" when none matches.
    gv_string ChosenTemplateName();
    // The image service the host hands to plug-ins.
    IGraphicProcessor* ImageProcessor() { return &m_imageProcessor; }

    // How long operations show their progress: the desktop program makes a window, the
    // command-line tool a terminal report. Without a factory progress goes nowhere.
    using ProgressFactory = std::function<std::unique_ptr<Progress>()>;
    void SetProgressFactory(ProgressFactory factory) { m_progressFactory = std::move(factory); }
    // Shows a new progress report with title and attaches it to the album until
    // EndProgress(), which destroys it. Returns the attached progress.
    Progress& BeginProgress(const QString& title);
    void EndProgress() { m_progress.reset(); }
    // The progress of the operation under way, or null.
    Progress* ActiveProgress() { return m_progress.get(); }

private:
    const GVParamInfo* findParameter(const char* name) const;

    AlbumSummary m_summary;
    std::unique_ptr<Progress> m_progress;
    ProgressFactory m_progressFactory;
    CPluginManager m_pluginManager;
    bool m_modified = false;
    bool m_generated = false;
    bool m_namedByUser = false;
    bool m_fresh = true;
    gv_string m_projectPath;
    gv_string m_albumName;
    gv_string m_destination;
    gv_string m_favoritesName;
    std::vector<AlbumImage> m_images;
    std::vector<CPluginInfo> m_plugins;
    int32_t m_pluginIndex = -1;
    int32_t m_templateId = -1;
    gv_vector<GVParamInfo> m_params;
    Settings m_settings;
    CGProcessor m_imageProcessor;
};

// Shows an operation's progress for as long as the scope lasts, however the operation ends.
// Inside another operation's scope it reports into that operation's progress instead.
class ProgressScope {
public:
    ProgressScope(AlbumProject& album, const QString& title) : m_album(album)
    {
        if (m_album.ActiveProgress() == nullptr) {
            m_album.BeginProgress(title);
            m_owned = true;
        }
    }
    ~ProgressScope()
    {
        if (m_owned)
            m_album.EndProgress();
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    AlbumProject& m_album;
    bool m_owned = false;
};
