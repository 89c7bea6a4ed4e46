// SPDX-License-Identifier: GPL-2.0-or-later
// ProjectXmlReader: parses the text of an XML project file into a SavedProject. It only
// reads: finding the plug-in, the template and the photos is the loader's work.
#pragma once

#include <cstddef>

#include "album/savedproject.h"

namespace tinyxml2
{
class XMLElement;
}

class ProjectXmlReader
{
public:
    // False when the text is not XML or lacks "project", "images", "gvplugin" or its
    // "template". A missing "gvsettings" is reported through hasSettings.
    static bool Parse(const char* data, size_t size, SavedProject& project);

private:
    static void readSettings(const tinyxml2::XMLElement& settings, SavedProject& project);
    static SavedParam readParam(const tinyxml2::XMLElement& param,
                                const tinyxml2::XMLElement& value);
    static void readFont(const tinyxml2::XMLElement& font, SavedParam& param);
    static SavedImage readImage(const tinyxml2::XMLElement& image);
};
