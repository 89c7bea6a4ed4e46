// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/album/projectfixture.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include "platform/imaging.h"
#include "plugins/paramrules.h"

QString ScriptedChoosers::openFile(const QString& title, const QString& folder,
                                   const QString& filter)
{
    calls << QStringList{"open", title, folder, filter}.join('|');
    if (files.empty())
        return QString();
    const QString answer = files.front();
    files.pop_front();
    return answer;
}

QString ScriptedChoosers::saveFile(const QString& title, const QString& suggested,
                                   const QString& filter)
{
    calls << QStringList{"save", title, suggested, filter}.join('|');
    if (files.empty())
        return QString();
    const QString answer = files.front();
    files.pop_front();
    return answer;
}

QString ScriptedChoosers::folder(const QString& title, const QString& start)
{
    calls << QStringList{"folder", title, start}.join('|');
    if (folders.empty())
        return QString();
    const QString answer = folders.front();
    folders.pop_front();
    return answer;
}

QString writePhoto(const QString& path, int width, int height, QColor colour)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage picture(width, height, QImage::Format_ARGB32);
    picture.fill(colour);
    const auto image = imaging::Image::fromQImage(picture);
    EXPECT_TRUE(image && image->save(path, QStringLiteral("image/jpeg")));
    return path;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

void ProjectTest::SetUp()
{
    pluginFolder =
        installTestPlugins(plugins.path(), {"gvtest_alpha", "gvtest_beta", "gvtest_plain"});
    album.PluginManager().SetPluginFolders({pluginFolder});
    ASSERT_TRUE(album.Initialise());
    ASSERT_EQ(album.Plugins().size(), 3u);
    ASSERT_STREQ(album.Plugins()[Plain].GetName(), "gvtest_plain");
    ASSERT_TRUE(album.ChooseTemplate(Alpha, 10));
    ASSERT_EQ(album.Parameters(nullptr), 0);
    album.SetProgressFactory([this] { return std::make_unique<ScriptedProgress>(progress); });
}

std::unique_ptr<AlbumProject> ProjectTest::freshAlbum() const
{
    auto fresh = std::make_unique<AlbumProject>();
    fresh->PluginManager().SetPluginFolders({pluginFolder});
    EXPECT_TRUE(fresh->Initialise());
    return fresh;
}

ProjectFile ProjectTest::projectFile(AlbumProject& target)
{
    ProjectFile file(target, prompter, choosers);
    file.SetImageSearch(search);
    return file;
}

void ProjectTest::addImage(const QString& relative, const char* name, const char* subfolder)
{
    const QString photo = work.file(relative);
    if (!QFileInfo::exists(photo))
        writePhoto(photo, 60, 40);
    AlbumImage image;
    image.name = name;
    image.path = photo.toUtf8().constData();
    image.subfolder = subfolder;
    image.index = static_cast<int32_t>(album.Images().size());
    album.Images().push_back(image);
}

GVParamInfo* ProjectTest::find(AlbumProject& target, const char* name)
{
    for (GVParamInfo& param : target.ParameterList())
        if (paramrules::sameName(param.name.c_str(), name))
            return &param;
    return nullptr;
}

GVParamValue& ProjectTest::userValue(const char* name)
{
    GVParamInfo* param = find(album, name);
    EXPECT_NE(param, nullptr) << name;
    const int32_t index = paramrules::valueIndex(*param);
    EXPECT_GE(index, 0) << name;
    param->values[index].kind = PVK_USER_VALUE;
    return param->values[index].value;
}
