// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/outputs/htmlalbum.h"

#include <QDir>
#include <QFileInfo>

#include "plugins/paramrules.h"

QString sharedPhoto(const QString& name)
{
    return QStringLiteral(GVTEST_DATA_DIR "/photos/") + name;
}

HtmlAlbum::HtmlAlbum(const QString& userThemes)
{
    qputenv("GALLIVEX_HTML_TEMPLATES", GVTEST_HTML_THEMES);
    qputenv("GALLIVEX_HTML_USER_TEMPLATES", userThemes.toUtf8());
    qputenv("GALLIVEX_NO_BROWSER", "1");
    album().PluginManager().SetPluginFolders({GVTEST_HTML_PLUGIN_DIR});
    if (!album().Initialise())
        return;
    for (size_t i = 0; i < album().Plugins().size(); ++i)
        if (QByteArray(album().Plugins()[i].GetName()) == "HTML") {
            m_pluginIndex = static_cast<int>(i);
            m_plugin = album().Plugins()[i].plugin;
        }
}

bool HtmlAlbum::choose(int templateId)
{
    return album().ChooseTemplate(m_pluginIndex, templateId) && album().Parameters(nullptr) == 0;
}

void HtmlAlbum::addPhoto(const QString& path, const QString& title, const QString& description,
                         const QString& subfolder)
{
    AlbumImage image;
    image.name = (title.isNull() ? QFileInfo(path).completeBaseName() : title).toUtf8().constData();
    image.description = description.toUtf8().constData();
    image.subfolder = subfolder.toUtf8().constData();
    image.index = static_cast<int32_t>(album().Images().size());
    image.path = path.toUtf8().constData();
    album().Images().push_back(image);
}

GVParamInfo* HtmlAlbum::param(const char* name)
{
    for (GVParamInfo& info : album().ParameterList())
        if (paramrules::sameName(info.name.c_str(), name))
            return &info;
    return nullptr;
}

void HtmlAlbum::setNumber(const char* name, int value)
{
    if (GVParamInfo* info = param(name))
        paramrules::value(*info)->number = value;
}

void HtmlAlbum::setText(const char* name, const QString& value)
{
    if (GVParamInfo* info = param(name))
        paramrules::value(*info)->text = value.toUtf8().constData();
}

void HtmlAlbum::setChoice(const char* name, const QString& option)
{
    GVParamInfo* info = param(name);
    if (info == nullptr)
        return;
    for (GVParamValueInfo& entry : info->values)
        entry.kind =
            QString::fromUtf8(entry.value.text.c_str()) == option ? PVK_USER_VALUE : PVK_OPTION;
}

void HtmlAlbum::setFont(const char* name, const GVFontBlock& font)
{
    if (GVParamInfo* info = param(name))
        paramrules::value(*info)->setFont(&font);
}

ResultCode HtmlAlbum::generate(const QString& destination)
{
    QDir().mkpath(destination);
    album().SetDestination(destination.toUtf8().constData());
    return m_host.Generate();
}
