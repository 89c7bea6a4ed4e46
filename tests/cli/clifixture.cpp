// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/cli/clifixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "album/projectfile.h"
#include "platform/choosers.h"
#include "plugins/paramrules.h"

namespace
{

} // namespace

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void GallivexCliTest::SetUp()
{
    plugins = QString::fromStdString(
        installTestPlugins(work.file("plugins"), {"gvtest_alpha", "gvtest_probe"}));
    photos = work.file("photos");
    copyPhoto("exs-Canon_40D.jpg", "exs-Canon_40D.jpg");
    copyPhoto("et-IPTC.jpg", "et-IPTC.jpg");
    copyPhoto("ex2-Reagan.jpg", "sub/ex2-Reagan.jpg");
    copyPhoto("syn-multiline.jpg", "sub/deeper/syn-multiline.jpg");
    work.write("photos/notes.txt", "not a photo");
    work.write("photos/README", "no extension: tried, and left out");
    work.write("script.txt", "create\tindex.html\t<p>album</p>\nprogress\t50\thalf way\n"
                             "copyimage\t0\tphotos/p0.jpg\nprogress\t100\tdone\n");
}

void GallivexCliTest::copyPhoto(const QString& name, const QString& relative)
{
    QDir().mkpath(QFileInfo(work.file("photos/" + relative)).absolutePath());
    ASSERT_TRUE(QFile::copy(sharedTestData("photos/" + name), work.file("photos/" + relative)));
}

CliResult GallivexCliTest::cli(QStringList arguments, const QString& pluginFolder) const
{
    if (arguments.first() != "info")
        arguments << "--plugins" << (pluginFolder.isEmpty() ? plugins : pluginFolder);
    return home.run(
        "gallivex-cli", arguments,
        {"GVPROBE_SCRIPT=" + work.file("script.txt"), "GVPROBE_REPORT=" + work.file("report.txt")});
}

std::unique_ptr<AlbumProject> GallivexCliTest::load(const QString& project) const
{
    auto album = std::make_unique<AlbumProject>();
    album->PluginManager().SetPluginFolders({plugins.toStdString()});
    ScriptedPrompter prompter;
    NoChoosers choosers;
    EXPECT_EQ(
        ProjectFile(*album, prompter, choosers).OpenProject(project.toUtf8().constData(), false),
        GV_OK);
    return album;
}

const GVParamValue* GallivexCliTest::valueOf(AlbumProject& album, const char* name)
{
    for (const GVParamInfo& param : album.ParameterList())
        if (paramrules::sameName(param.name.c_str(), name))
            return paramrules::value(param);
    return nullptr;
}
