// SPDX-License-Identifier: GPL-2.0-or-later
// Lists the installed output plug-ins, their templates and each template's parameters with
// their types and default values, as the album builder would offer them.
#pragma once

#include <QString>
#include <QTextStream>

#include "sdk/gvparaminfo.h"

class AlbumProject;

class ThemeLister {
public:
    explicit ThemeLister(QTextStream& out) : m_out(out) {}

    // Lists every plug-in of the album's plug-in list; returns how many templates it found.
    int list(AlbumProject& album);

    // A parameter type as a word ("number", "choice", ...).
    static QString typeName(int32_t type);
    // The default value of a parameter as text, e.g. "75 (1 to 100)" or "#8f a1 9f".
    static QString defaultText(const GVParamInfo& param);

private:
    void listTemplates(AlbumProject& album, int pluginIndex);
    void listParameters(AlbumProject& album);

    QTextStream& m_out;
};
