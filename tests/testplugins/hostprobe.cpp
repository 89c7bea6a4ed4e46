// SPDX-License-Identifier: GPL-2.0-or-later
// A real output plug-in that exercises the host: its Generate reads a script of host calls
// from the file named by GVPROBE_SCRIPT, one call per line with tab-separated fields, makes
// each call through IGallivex and writes one line per call to the file named by
// GVPROBE_REPORT. A "progress" call that the host answers with a cancel ends the run with
// 1223, as real plug-ins do.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "sdk/gvpluginexports.h"

namespace {

constexpr int32_t ProbeTemplate = 7;

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> parts;
    std::stringstream in(line);
    std::string part;
    while (std::getline(in, part, '\t'))
        parts.push_back(part);
    return parts;
}

std::string readAll(IStream* stream)
{
    std::string text;
    char buffer[64];
    ULONG got = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &got)) && got > 0)
        text.append(buffer, got);
    return text;
}

// Field i of a call, "" when the line has fewer.
std::string field(const std::vector<std::string>& f, size_t i)
{
    return i < f.size() ? f[i] : std::string();
}

class Probe {
public:
    explicit Probe(IGallivex& host) : m_host(host) {}

    // The report line of one call; sets cancelled when the host asked to stop.
    std::string run(const std::vector<std::string>& f)
    {
        const std::string& op = f[0];
        if (op == "create")
            return create(field(f, 1), field(f, 2));
        if (op == "read")
            return read(field(f, 1));
        if (op == "refcount")
            return refcount(field(f, 1));
        if (op == "releasenull")
            return std::to_string(m_host.ReleaseStream(nullptr));
        if (op == "openimage")
            return openImage(number(field(f, 1)));
        if (op == "openfile")
            return sized(m_host.OpenFile(gv_string(field(f, 1).c_str())));
        if (op == "imagepath")
            return m_host.GetImagePath(number(field(f, 1)))->c_str();
        if (op == "extension")
            return m_host.GetImageExtension(number(field(f, 1)))->c_str();
        if (op == "albumpath")
            return albumPath(field(f, 1));
        if (op == "copyimage")
            return std::to_string(m_host.CopyImage(number(field(f, 1)), field(f, 2).c_str()));
        if (op == "copyfile")
            return std::to_string(m_host.CopyFile(field(f, 1).c_str(), field(f, 2).c_str()));
        if (op == "params")
            return params();
        if (op == "paramsnull")
            return std::to_string(m_host.GetParams(nullptr));
        if (op == "images")
            return images();
        if (op == "progress")
            return progress(number(field(f, 1)), field(f, 2).c_str());
        if (op == "reserved")
            return std::to_string(m_host.Reserved14());
        if (op == "fingerprint")
            return m_host.GetImageFingerprint(number(field(f, 1)));
        if (op == "resize")
            return resize(number(field(f, 1)), field(f, 2), number(field(f, 3)),
                          number(field(f, 4)));
        if (op == "throw")
            throw std::runtime_error("the probe gives up");
        return "unknown " + op;
    }

    bool cancelled = false;

private:
    static int32_t number(const std::string& text) { return std::atoi(text.c_str()); }

    std::string create(const std::string& relative, const std::string& text)
    {
        gv_string path(relative.c_str());
        IStream* stream = m_host.CreateAlbumFile(path);
        if (stream == nullptr)
            return "null";
        ULONG written = 0;
        stream->Write(text.data(), static_cast<ULONG>(text.size()), &written);
        return "written " + std::to_string(written) + " released " +
               std::to_string(m_host.ReleaseStream(stream));
    }
    std::string read(const std::string& relative)
    {
        gv_string path(relative.c_str());
        IStream* stream = m_host.OpenAlbumFile(path);
        if (stream == nullptr)
            return "null";
        const std::string text = readAll(stream);
        m_host.ReleaseStream(stream);
        return "[" + text + "]";
    }
    // Two references: the first release leaves one, the second frees the stream.
    std::string refcount(const std::string& relative)
    {
        gv_string path(relative.c_str());
        IStream* stream = m_host.OpenAlbumFile(path);
        if (stream == nullptr)
            return "null";
        stream->AddRef();
        const bool first = m_host.ReleaseStream(stream);
        const bool second = m_host.ReleaseStream(stream);
        return std::to_string(first) + " " + std::to_string(second);
    }
    std::string sized(IStream* stream)
    {
        if (stream == nullptr)
            return "null";
        const size_t size = readAll(stream).size();
        m_host.ReleaseStream(stream);
        return std::to_string(size);
    }
    std::string openImage(int32_t index)
    {
        gv_string extension("none");
        gv_string path("none");
        IStream* stream = m_host.OpenImage(index, extension, path);
        return sized(stream) + " " + extension.c_str() + " " + path.c_str();
    }
    std::string albumPath(const std::string& relative)
    {
        gv_string path(relative.c_str());
        return m_host.GetAlbumFilePath(path)->c_str();
    }
    std::string params()
    {
        gv_vector<GVParamInfo> list;
        const int32_t result = m_host.GetParams(&list);
        std::string text = std::to_string(result) + " " + std::to_string(list.size());
        for (const GVParamInfo& param : list)
            text += std::string(" ") + param.name.c_str();
        return text;
    }
    std::string images()
    {
        gv_vector<AlbumImageInfo> list;
        list.push_back(AlbumImageInfo()); // the host appends after what is there
        const int32_t result = m_host.GetImages(list);
        std::string text = std::to_string(result) + " " + std::to_string(list.size());
        for (const AlbumImageInfo& image : list)
            text += std::string(" ") + image.name.c_str() + "|" + image.subfolder.c_str() + "|" +
                    std::to_string(image.index);
        return text;
    }
    std::string progress(int32_t percent, const char* text)
    {
        cancelled = m_host.ReportProgress(percent, text);
        return std::to_string(cancelled);
    }
    // As plug-ins make thumbnails: the file is created first so its folders exist, then the
    // processor writes the picture there.
    std::string resize(int32_t index, const std::string& relative, int32_t width, int32_t height)
    {
        gv_string target(relative.c_str());
        if (!m_host.ReleaseStream(m_host.CreateAlbumFile(target)))
            return "create-failed";
        IGraphicProcessor* processor = m_host.GetImageProcessor();
        GVImageStream source(m_host.GetImagePath(index)->c_str());
        IPlainImage* image = processor->OpenImage(&source);
        if (image == nullptr)
            return "open-failed";
        gv_vector<GVCommand> script;
        GVCommand step("ResizeKeepAsp");
        step.params.push_back(GVParamValue(width));
        step.params.push_back(GVParamValue(height));
        script.push_back(step);
        GVImageStream output(m_host.GetAlbumFilePath(target)->c_str());
        const HRESULT result = processor->ProcessImage(image, script, output);
        if (FAILED(result))
            processor->ReleaseImage(image);
        char text[16];
        std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(result));
        return text;
    }

    IGallivex& m_host;
};

class HostProbe final : public IOutputPlugin {
public:
    int32_t GetPreview(int32_t, gv_string*, IGallivex*) override { return 0; }
    void EndPreview() override {}
    int32_t GetTemplates(gv_vector<TemplateInfo>* templates) override
    {
        templates->push_back(TemplateInfo(ProbeTemplate, "Probe"));
        return 0;
    }
    int32_t GetTemplateParams(int32_t templateId, gv_vector<GVParamInfo>* params) override
    {
        if (templateId != ProbeTemplate)
            return -1;
        GVParamInfo title;
        title.name = "Title";
        title.type = PT_TEXT;
        title.values.push_back(GVParamValueInfo(PVK_VALUE, GVParamValue("Probe album")));
        params->push_back(title);
        return 0;
    }
    ResultCode Generate(int32_t templateId, IGallivex* host) override
    {
        if (templateId != ProbeTemplate || host == nullptr)
            return GV_E_TEMPLATE;
        const char* scriptPath = std::getenv("GVPROBE_SCRIPT");
        const char* reportPath = std::getenv("GVPROBE_REPORT");
        if (scriptPath == nullptr || reportPath == nullptr)
            return GV_OK;
        std::ifstream script(scriptPath);
        std::ofstream report(reportPath);
        Probe probe(*host);
        std::string line;
        while (std::getline(script, line)) {
            const std::vector<std::string> f = fields(line);
            if (f.empty())
                continue;
            if (f[0] == "return")
                return std::atoi(field(f, 1).c_str());
            report << probe.run(f) << '\n' << std::flush;
            if (probe.cancelled)
                return GV_CANCELLED;
        }
        return GV_OK;
    }
    int32_t ViewAlbum(int32_t, gv_string*) override { return -1; }
    int32_t GetStartPage(int32_t, gv_string*, gv_string*) override { return -1; }
    int32_t Reserved7() override { return 0; }
    bool UsesSubfolderText(int32_t) override { return false; }
};

const GVVersionRecord versionRecord = {sizeof(GVVersionRecord), GV_PLUGIN_INTERFACE_VERSION,
                                       1u << 16, 0, "Probe", "Host probe", "Test plug-in",
                                       "(c) tests"};

} // namespace

GV_PLUGIN_EXPORT IOutputPlugin* GVCreateOutputPlugin()
{
    return new HostProbe;
}

GV_PLUGIN_EXPORT void GVDestroyOutputPlugin(IOutputPlugin* plugin)
{
    delete static_cast<HostProbe*>(plugin);
}

GV_PLUGIN_EXPORT const GVVersionRecord* GVGetVersionRecord()
{
    return &versionRecord;
}

GV_PLUGIN_EXPORT int InstallTemplate(char*, int)
{
    return -1;
}

GV_PLUGIN_EXPORT int UninstallTemplate(int, int)
{
    return 0;
}
