// SPDX-License-Identifier: GPL-2.0-or-later
// ThemeInstaller: installs a theme package (".thm", ".td") through the output plug-in that
// owns it: each plug-in's "InstallTemplate" export is offered the package in turn, the HTML
// plug-in first, and the first that installs it owns it. What it installed is found by
// comparing the plug-in's templates before and after.
#pragma once

#include <vector>

#include <QString>
#include <QStringList>

#include "tolvane/plugininfo.h"

class CPluginManager;

class ThemeInstaller
{
public:
    struct Outcome {
        bool installed = false;
        QString plugin;       // the display name of the plug-in that installed it
        QString pluginName;   // its name, as albums name it
        QStringList themes;   // templates that appeared or changed, by name
        QStringList refusals; // "plug-in: reason" of those that did not take it
    };

    ThemeInstaller(CPluginManager& manager, std::vector<CPluginInfo>& plugins);

    // True for the names of theme packages: ".thm" or ".td" at the end, in any case.
    static bool IsThemeFile(const QString& path);
    // Positions in the plug-in list in the order they are asked: the plug-in named "HTML"
    // first, then the others in list order.
    static std::vector<size_t> InstallOrder(const std::vector<CPluginInfo>& plugins);

    // Offers the package (an absolute path) to the plug-ins.
    Outcome Install(const QString& package);

private:
    QStringList templateNames(size_t index);

    CPluginManager& m_manager;
    std::vector<CPluginInfo>& m_plugins;
};
