// SPDX-License-Identifier: GPL-2.0-or-later
// ThemeChoice: the rules of the theme page without its window: the tree of plug-ins and their
// templates, the preview of a template, what Next and Back do with the choice, and the
// installing and uninstalling of templates through a plug-in's exports.
#pragma once

#include <cstdint>
#include <vector>

#include <QString>

class AlbumProject;
class IGallivex;
class Prompter;

struct ThemeTemplate {
    int32_t id = -1;
    QString name;
};

struct ThemePlugin {
    int32_t index = -1; // in the album's plug-in list
    QString displayName;
    std::vector<ThemeTemplate> templates; // none when the plug-in has no object
};

class ThemeChoice
{
public:
    enum class NextResult {
        NeedTheme, // a plug-in, not a template, is selected: the user is told, the page stays
        Kept,      // the album's template again: its parameters stay
        Changed,   // another template: the parameters are fetched afresh, the album changed
    };

    ThemeChoice(AlbumProject& album, IGallivex& host) : m_album(album), m_host(host) {}

    // The plug-ins in list order, each with its templates in the plug-in's order.
    std::vector<ThemePlugin> Tree() const;
    // Ends every plug-in's preview, then asks the template's plug-in for its picture: the
    // picture's path, or "" when there is none.
    QString Preview(int32_t pluginIndex, int32_t templateId) const;
    void EndPreviews() const;

    // Next with a template selected (templateId not negative) or a plug-in (-1).
    NextResult Next(int32_t pluginIndex, int32_t templateId, Prompter& prompter);
    // The page Back goes to: the welcome page for a fresh album, else the album manager.
    int BackTarget() const;

    // Offers templateFolder to the plug-in's "InstallTemplate" export; true when it
    // installed something (the tree is to be filled again).
    bool Install(int32_t pluginIndex, const QString& templateFolder) const;
    // Asks, then has the plug-in's "UninstallTemplate" export remove the template; true
    // when the tree is to be filled again (also when the plug-in has no such export).
    bool Uninstall(int32_t pluginIndex, int32_t templateId, const QString& itemText,
                   Prompter& prompter) const;

private:
    AlbumProject& m_album;
    IGallivex& m_host;
};
