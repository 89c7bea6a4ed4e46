// SPDX-License-Identifier: GPL-2.0-or-later
// A small but genuine output plug-in for the tests, built several times with different
// switches: a full one with two templates and parameters of every kind, one without
// templates, one whose factory makes no object, one for a future interface, one without a
// version record. Each logs its object's life to the file named by GVTEST_PLUGIN_LOG.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sdk/gvpluginexports.h"

#ifndef GVTEST_NAME
#error "GVTEST_NAME must name the plug-in"
#endif
#ifndef GVTEST_INTERFACE
#define GVTEST_INTERFACE GV_PLUGIN_INTERFACE_VERSION
#endif

namespace {

void logLine(const char* what)
{
    const char* path = std::getenv("GVTEST_PLUGIN_LOG");
    if (path == nullptr)
        return;
    if (FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "%s %s\n", what, GVTEST_NAME);
        std::fclose(file);
    }
}

GVParamInfo param(int32_t id, const char* name, int32_t type, const char* caption)
{
    GVParamInfo info;
    info.id = id;
    info.name = name;
    info.friendlyName = caption;
    info.description = "A parameter of the test plug-in";
    info.type = type;
    return info;
}

void add(GVParamInfo& info, int32_t kind, const GVParamValue& value)
{
    info.values.push_back(GVParamValueInfo(kind, value));
}

GVParamValue fontValue()
{
    GVFontBlock block;
    std::strcpy(block.logFont.lfFaceName, "DejaVu Sans");
    block.logFont.lfWeight = GV_FW_BOLD;
    block.logFont.lfHeight = -24;
    block.chooseFont.iPointSize = 180;
    block.chooseFont.rgbColors = 0x00336699;
    GVParamValue value;
    value.setFont(&block);
    return value;
}

void classicParams(gv_vector<GVParamInfo>* params)
{
    GVParamInfo title = param(0, "Title", PT_TEXT, "Album title");
    add(title, PVK_VALUE, GVParamValue("Summer Holidays"));
    GVParamInfo columns = param(1, "Columns", PT_NUMBER, "Columns");
    add(columns, PVK_MINIMUM, GVParamValue(1));
    add(columns, PVK_MAXIMUM, GVParamValue(10));
    add(columns, PVK_VALUE, GVParamValue(4));
    GVParamInfo style = param(2, "Style", PT_CHOICE, "Style");
    add(style, PVK_OPTION, GVParamValue("Light"));
    add(style, PVK_VALUE, GVParamValue("Dark"));
    add(style, PVK_OPTION, GVParamValue("Sepia"));
    GVParamInfo background = param(3, "Background", PT_FILE, "Background picture");
    add(background, PVK_VALUE, GVParamValue("/usr/share/backgrounds/sky.jpg"));
    add(background, PVK_VALUE, GVParamValue("images/bg.jpg"));
    add(background, PVK_VALUE, GVParamValue("Pictures (*.jpg *.png)"));
    GVParamInfo colour = param(4, "TextColor", PT_COLOR, "Text colour");
    add(colour, PVK_VALUE, GVParamValue(0x00336699));
    GVParamInfo font = param(5, "TitleFont", PT_FONT, "Title font");
    add(font, PVK_VALUE, fontValue());
    GVParamInfo separator = param(6, "Pictures", PT_SEPARATOR, "Pictures");
    GVParamInfo size = param(7, "ThumbSize", PT_SLIDER, "Thumbnail size");
    add(size, PVK_MINIMUM, GVParamValue(64));
    add(size, PVK_MAXIMUM, GVParamValue(400));
    add(size, PVK_VALUE, GVParamValue(160));
    for (const GVParamInfo* info : {&title, &columns, &style, &background, &colour, &font,
                                    &separator, &size})
        params->push_back(*info);
}

class TestPlugin final : public IOutputPlugin {
public:
    TestPlugin() { logLine("create"); }
    ~TestPlugin() { logLine("destroy"); }

    int32_t GetPreview(int32_t, gv_string*, IGallivex*) override { return 0; }
    void EndPreview() override {}
    int32_t GetTemplates(gv_vector<TemplateInfo>* templates) override
    {
#ifndef GVTEST_NO_TEMPLATES
        templates->push_back(TemplateInfo(10, "Classic"));
        templates->push_back(TemplateInfo(20, "Grid"));
#else
        (void)templates;
#endif
        return 0;
    }
    int32_t GetTemplateParams(int32_t templateId, gv_vector<GVParamInfo>* params) override
    {
        if (templateId == 10) {
            classicParams(params);
        } else if (templateId == 20) {
            GVParamInfo gap = param(0, "Gap", PT_NUMBER_HIDDEN, "Gap");
            add(gap, PVK_VALUE, GVParamValue(8));
            params->push_back(gap);
        }
        return 0;
    }
    ResultCode Generate(int32_t, IGallivex*) override { return GV_E_NOTIMPL; }
    int32_t ViewAlbum(int32_t, gv_string*) override { return -1; }
    int32_t GetStartPage(int32_t, gv_string*, gv_string*) override { return -1; }
    int32_t Reserved7() override { return 0; }
    bool UsesSubfolderText(int32_t templateId) override { return templateId == 20; }
};

#ifndef GVTEST_NO_VERSION
const GVVersionRecord versionRecord = {sizeof(GVVersionRecord), GVTEST_INTERFACE,
                                       (1u << 16) | 2u, (3u << 16) | 4u, GVTEST_NAME,
                                       GVTEST_NAME " albums", "Test plug-in", "(c) tests"};
#endif

} // namespace

GV_PLUGIN_EXPORT IOutputPlugin* GVCreateOutputPlugin()
{
#ifdef GVTEST_NULL_OBJECT
    return nullptr;
#else
    return new TestPlugin;
#endif
}

GV_PLUGIN_EXPORT void GVDestroyOutputPlugin(IOutputPlugin* plugin)
{
    delete static_cast<TestPlugin*>(plugin);
}

#ifndef GVTEST_NO_VERSION
GV_PLUGIN_EXPORT const GVVersionRecord* GVGetVersionRecord()
{
    return &versionRecord;
}
#endif

GV_PLUGIN_EXPORT int InstallTemplate(char* folder, int)
{
    return folder != nullptr && folder[0] != '\0' ? 0 : -1;
}

GV_PLUGIN_EXPORT int UninstallTemplate(int, int)
{
    return 0;
}
