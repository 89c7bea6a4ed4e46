// SPDX-License-Identifier: GPL-2.0-or-later
// An album over the real host and the real HTML plug-in library, for tests and for the
// program that makes the albums the browser tests open. The shipped themes come from the
// build's plug-ins folder; user-installed themes go to a folder of the caller's choosing.
#pragma once

#include <QString>
#include <QStringList>

#include "plugins/gallivex_impl.h"
#include "sdk/gvfontblock.h"

// Real camera photos of the shared test data, small ones for speed.
QString sharedPhoto(const QString& name);

class HtmlAlbum
{
public:
    enum Theme { Mosaic = 1, Classic = 2, Slideshow = 3 };

    // userThemes: where user-installed themes live for this album's plug-in.
    explicit HtmlAlbum(const QString& userThemes);

    bool ready() const { return m_plugin != nullptr; }
    CGallivexImpl& host() { return m_host; }
    AlbumProject& album() { return m_host.Album(); }
    IOutputPlugin& plugin() { return *m_plugin; }
    int pluginIndex() const { return m_pluginIndex; }

    // Chooses a template and fills the parameter list with its defaults.
    bool choose(int templateId);
    void addPhoto(const QString& path, const QString& title = QString(),
                  const QString& description = QString(), const QString& subfolder = QString());
    // The album's parameter by internal name, or null.
    GVParamInfo* param(const char* name);
    void setNumber(const char* name, int value);
    void setText(const char* name, const QString& value);
    void setChoice(const char* name, const QString& option);
    void setFont(const char* name, const GVFontBlock& font);
    // Generates into destination (made when missing) and returns the plug-in's result.
    ResultCode generate(const QString& destination);

private:
    CGallivexImpl m_host;
    IOutputPlugin* m_plugin = nullptr;
    int m_pluginIndex = -1;
};
