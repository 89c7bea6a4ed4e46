// SPDX-License-Identifier: GPL-2.0-or-later
// What the tests of gallivex-cli as a process share: a work folder with photos (real camera
// files, one in a subfolder of a subfolder, a text file and a file without extension), the
// test plug-ins, the probe plug-in's script, and projects read back as the album builder
// reads them.
#pragma once

#include <memory>

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "album/albumproject.h"
#include "tests/cli/clirun.h"

// The bytes of a file, "" when it cannot be read.
QByteArray bytesOf(const QString& path);
// The names in a folder, hidden ones included, sorted.
class GallivexCliTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void copyPhoto(const QString& name, const QString& relative);

    // gallivex-cli with the test plug-ins (or those of pluginFolder) and the probe's script.
    CliResult cli(QStringList arguments, const QString& pluginFolder = {}) const;
    // The project read back as the album builder reads it.
    std::unique_ptr<AlbumProject> load(const QString& project) const;
    static const GVParamValue* valueOf(AlbumProject& album, const char* name);
    QString project(const QString& name) const { return work.file(name + ".gvp"); }

    CliHome home;
    TestFolder work;
    QString plugins;
    QString photos;
};
