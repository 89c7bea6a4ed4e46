// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/gprocessor.h"

#include <array>
#include <cstring>
#include <memory>

#include "sdk/gvprocessorcommands.h"

// The plain image library's export.
extern "C" IPlainImage* CreatePlainImage();

namespace
{

constexpr int32_t MaxSide = 4000;
constexpr int32_t MaxBorder = 1000;
constexpr int32_t CentrePlacement = 4;
constexpr int32_t KeepAspectFlag = 1;

constexpr uint32_t rgb(uint32_t red, uint32_t green, uint32_t blue)
{
    return red | (green << 8) | (blue << 16);
}
// Sepia toning: shadows, middle tones and highlights.
constexpr uint32_t SepiaDark = rgb(46, 26, 10);
constexpr uint32_t SepiaMiddle = rgb(112, 66, 20);
constexpr uint32_t SepiaLight = rgb(255, 244, 214);

// The command index of the calling thread's current or latest script, for GetCommandName.
// Per thread, so scripts running at once on other threads do not overwrite it.
thread_local int32_t t_lastCommand = -1;

// One command of a script while it runs, with its values read as the command's kinds.
struct Step {
    IPlainImage& image;
    const GVCommand& command;
    const GVImageStream& output;

    bool has(int32_t i) const { return i < command.params.size(); }
    // Absent values read as 0 and "": commands with optional values default to those.
    int32_t number(int32_t i) const { return has(i) ? command.params[i].number : 0; }
    uint32_t color(int32_t i) const { return static_cast<uint32_t>(number(i)); }
    const char* text(int32_t i) const { return has(i) ? command.params[i].text.c_str() : ""; }
};

using Run = bool (*)(const Step&);

// What a command's values must satisfy beyond their count.
enum class Check {
    None,
    SizeFirst,  // values 0 and 1 are a width and height of 1..MaxSide
    SizeSecond, // values 1 and 2 are
    Border,     // value 0 is a border width of 0..MaxBorder
    Frame,      // values 1 and 2 are at least 1
};

struct CommandRow {
    const char* name;
    const char* kinds; // one letter per parameter: N number, T text, C colour
    int32_t minValues; // fewer values fail the script
    int32_t maxValues; // more values fail it; -1 when any number may follow
    Check check;
    Run run;
};

bool resizeIfMore(const Step& s)
{
    int32_t width = 0;
    int32_t height = 0;
    s.image.GetSize(&width, &height);
    if (width <= s.number(0) && height <= s.number(1))
        return true;
    return s.image.ResizeKeepAspect(s.number(0), s.number(1), KeepAspectFlag);
}

// Fits the picture into width x height, then pads it, centred, to exactly that size. The
// fourth value is accepted for scripts that give it and has no effect.
bool resizeFitTo(const Step& s)
{
    const int32_t width = s.number(0);
    const int32_t height = s.number(1);
    if (!s.image.ResizeKeepAspect(width, height, KeepAspectFlag))
        return false;
    if (s.image.GetWidth() == width && s.image.GetHeight() == height)
        return true;
    return s.image.ResizeCanvas(width, height, CentrePlacement, s.color(2));
}

bool save(const Step& s)
{
    return s.image.Save(s.output.param1, s.output.path.c_str());
}

bool textOut(const Step& s)
{
    return s.image.TextOut(s.text(0), s.text(1), s.number(2), s.number(3), s.number(4), s.number(5),
                           s.color(6));
}

// The order is fixed: GetCommandName reports rows by index and the implicit "Out" is row 3.
constexpr std::array<CommandRow, 35> Commands{{
    {"Load", "T", 0, -1, Check::None, [](const Step&) { return true; }},
    {"LoadThumbnail", "TNN", 3, -1, Check::SizeSecond,
     [](const Step& s) { return s.image.Resize(s.number(1), s.number(2)); }},
    {"CreateImage", "TNNC", 4, -1, Check::SizeSecond,
     [](const Step& s) { return s.image.CreateImage(s.number(1), s.number(2), s.color(3)); }},
    {"Out", "T", 0, -1, Check::None, save},
    {"Resize", "NN", 2, -1, Check::SizeFirst,
     [](const Step& s) { return s.image.Resize(s.number(0), s.number(1)); }},
    {"ResizeIfMore", "NN", 2, -1, Check::SizeFirst, resizeIfMore},
    {"ResizeKeepAsp", "NN", 2, -1, Check::SizeFirst,
     [](const Step& s) {
         return s.image.ResizeKeepAspect(s.number(0), s.number(1), KeepAspectFlag);
     }},
    {"Gray", "", 0, -1, Check::None, [](const Step& s) { return s.image.Gray(); }},
    {"Sepia", "", 0, -1, Check::None,
     [](const Step& s) { return s.image.Colorize(SepiaDark, SepiaMiddle, SepiaLight); }},
    {"Colorize", "CCC", 3, -1, Check::None,
     [](const Step& s) { return s.image.Colorize(s.color(0), s.color(1), s.color(2)); }},
    {"TextOut1", "TTNNNNC", 7, -1, Check::None, textOut},
    {"TextOut", "TTNNNNC", 7, -1, Check::None, textOut},
    {"Rotate", "N", 1, -1, Check::None, [](const Step& s) { return s.image.Rotate(s.number(0)); }},
    {"Rotate90", "", 0, -1, Check::None, [](const Step& s) { return s.image.Rotate90(); }},
    {"Rotate180", "", 0, -1, Check::None, [](const Step& s) { return s.image.Rotate180(); }},
    {"Rotate270", "", 0, -1, Check::None, [](const Step& s) { return s.image.Rotate270(); }},
    {"AutoLevels", "", 0, -1, Check::None, [](const Step& s) { return s.image.AutoLevels(); }},
    {"FlipVert", "", 0, -1, Check::None, [](const Step& s) { return s.image.FlipVertical(); }},
    {"FlipVer", "", 0, -1, Check::None, [](const Step& s) { return s.image.FlipVertical(); }},
    {"FlipHor", "", 0, -1, Check::None, [](const Step& s) { return s.image.FlipHorizontal(); }},
    {"Border", "NCN", 1, 3, Check::Border,
     [](const Step& s) {
         return s.number(0) == 0 || s.image.Border(s.number(0), s.color(1), s.number(2));
     }},
    {"ResizeCanvas", "NNNC", 2, 4, Check::SizeFirst,
     [](const Step& s) {
         const int32_t placement = s.has(2) ? s.number(2) : CentrePlacement;
         return s.image.ResizeCanvas(s.number(0), s.number(1), placement, s.color(3));
     }},
    {"AddImage", "TNNNNN", 3, 6, Check::None,
     [](const Step& s) {
         return s.image.AddImage(s.text(0), s.number(1), s.number(2), s.number(3), s.number(4),
                                 s.number(5));
     }},
    {"AddWatermark", "TNN", 1, 3, Check::None,
     [](const Step& s) { return s.image.AddWatermark(s.text(0), s.number(1), s.number(2)); }},
    {"SetBgColor", "C", 1, -1, Check::None,
     [](const Step& s) { return s.image.SetBgColor(s.color(0)); }},
    {"SetBgImage", "T", 1, -1, Check::None,
     [](const Step& s) { return s.image.SetBgImage(s.text(0)); }},
    {"Shine", "N", 1, -1, Check::None, [](const Step& s) { return s.image.Shine(s.number(0)); }},
    {"Blur", "N", 1, -1, Check::None, [](const Step& s) { return s.image.Blur(s.number(0)); }},
    {"Sharpen", "N", 1, -1, Check::None,
     [](const Step& s) { return s.image.Sharpen(s.number(0)); }},
    {"DropShadow", "NNNC", 4, -1, Check::None,
     [](const Step& s) {
         return s.image.DropShadow(s.number(0), s.number(1), s.number(2), s.color(3));
     }},
    {"HSBCG", "NNNNN", 5, -1, Check::None,
     [](const Step& s) {
         return s.image.HSBCG(s.number(0), s.number(1), s.number(2), s.number(3), s.number(4));
     }},
    {"ResizeFitTo", "NNCN", 4, -1, Check::SizeFirst, resizeFitTo},
    {"RoundedBorder", "NCN", 1, 3, Check::Border,
     [](const Step& s) {
         return s.number(0) == 0 || s.image.RoundedBorder(s.number(0), s.color(1), s.number(2));
     }},
    {"ImageBorder", "TNN", 3, -1, Check::Frame,
     [](const Step& s) { return s.image.ImageBorder(s.text(0), s.number(1), s.number(2)); }},
    {"AddTextWatermark", "TTNNNC", 6, -1, Check::None,
     [](const Step& s) {
         return s.image.AddTextWatermark(s.text(0), s.text(1), s.number(2), s.number(3),
                                         s.number(4), s.color(5));
     }},
}};

constexpr int32_t OutCommand = 3;
static_assert(Commands[OutCommand].run == save);

// Plug-ins check scripts against the SDK's list of the commands: it must be this table.
constexpr bool sameText(const char* a, const char* b)
{
    for (; *a != '\0' && *a == *b; ++a, ++b) {
    }
    return *a == *b;
}
constexpr bool listedInTheSdk()
{
    if (Commands.size() != GVProcessorCommands.size())
        return false;
    for (size_t i = 0; i < Commands.size(); ++i)
        if (!sameText(Commands[i].name, GVProcessorCommands[i].name) ||
            !sameText(Commands[i].kinds, GVProcessorCommands[i].kinds))
            return false;
    return true;
}
static_assert(listedInTheSdk());

// The command's row, or -1 for a name that is no command.
int32_t findCommand(const gv_string& name)
{
    for (int32_t i = 0; i < static_cast<int32_t>(Commands.size()); ++i)
        if (GVSameCommandName(name.c_str(), Commands[i].name))
            return i;
    return -1;
}

bool inRange(int32_t value, int32_t low, int32_t high)
{
    return value >= low && value <= high;
}

bool valuesFit(const CommandRow& row, const GVCommand& command)
{
    const int32_t count = command.params.size();
    if (count < row.minValues || (row.maxValues >= 0 && count > row.maxValues))
        return false;
    auto number = [&command](int32_t i) { return command.params[i].number; };
    switch (row.check) {
    case Check::None:
        return true;
    case Check::SizeFirst:
        return inRange(number(0), 1, MaxSide) && inRange(number(1), 1, MaxSide);
    case Check::SizeSecond:
        return inRange(number(1), 1, MaxSide) && inRange(number(2), 1, MaxSide);
    case Check::Border:
        return inRange(number(0), 0, MaxBorder);
    case Check::Frame:
        return number(1) >= 1 && number(2) >= 1;
    }
    return false;
}

// Every command is checked before any runs, so a faulty script changes and writes nothing.
bool scriptIsValid(const gv_vector<GVCommand>& script)
{
    for (const GVCommand& command : script) {
        t_lastCommand = findCommand(command.name);
        if (t_lastCommand < 0 || !valuesFit(Commands[t_lastCommand], command))
            return false;
    }
    return true;
}

// A false from any operation means the picture could not be made as the script says (an
// unreadable AddImage file, say); the script fails rather than writing a wrong picture and
// calling it a success.
HRESULT runScript(IPlainImage& image, const gv_vector<GVCommand>& script,
                  const GVImageStream& output)
{
    if (!scriptIsValid(script))
        return E_FAIL;
    int32_t last = -1;
    for (const GVCommand& command : script) {
        last = t_lastCommand = findCommand(command.name);
        if (!Commands[last].run(Step{image, command, output}))
            return last == OutCommand ? STG_E_CANTSAVE : E_FAIL;
    }
    if (last == OutCommand)
        return S_OK;
    t_lastCommand = OutCommand;
    const GVCommand implicitOut(Commands[OutCommand].name);
    return save(Step{image, implicitOut, output}) ? S_OK : STG_E_CANTSAVE;
}

struct DestroyImage {
    void operator()(IPlainImage* image) const { image->Destroy(); }
};
using PlainImagePtr = std::unique_ptr<IPlainImage, DestroyImage>;

} // namespace

bool CGProcessor::DescribeCommand(GVCommand& command, gv_vector<int32_t>& kinds)
{
    const int32_t index = findCommand(command.name);
    if (index < 0)
        return false;
    const char* letters = Commands[index].kinds;
    command.paramCount = static_cast<int32_t>(std::strlen(letters));
    for (const char* kind = letters; *kind != '\0'; ++kind)
        kinds.push_back(*kind == 'T' ? GVCP_TEXT : *kind == 'C' ? GVCP_COLOR : GVCP_NUMBER);
    return true;
}

int32_t CGProcessor::CheckCommand(int32_t, GVCommand)
{
    return 0;
}

IPlainImage* CGProcessor::newImageWithSettings() const
{
    IPlainImage* image = CreatePlainImage();
    if (image != nullptr) {
        image->SetJpegQuality(m_jpegQuality.load(std::memory_order_relaxed));
        image->SetInterpolationMode(m_interpolationMode.load(std::memory_order_relaxed));
    }
    return image;
}

IPlainImage* CGProcessor::OpenImage(GVImageStream* stream)
{
    if (stream == nullptr)
        return nullptr;
    PlainImagePtr image(newImageWithSettings());
    if (!image || !image->Open(stream->param1, stream->param2, stream->path.c_str()))
        return nullptr;
    return image.release();
}

IPlainImage* CGProcessor::OpenImageSized(GVImageStream stream, int32_t width, int32_t height)
{
    PlainImagePtr image(newImageWithSettings());
    if (!image || !image->OpenSized(width, height, stream.path.c_str()))
        return nullptr;
    return image.release();
}

IPlainImage* CGProcessor::CreateEmptyImage()
{
    return newImageWithSettings();
}

void CGProcessor::ReleaseImage(IPlainImage* image)
{
    if (image != nullptr)
        image->Destroy();
}

// An image made here for a script that starts from nothing keeps the plain image's own
// defaults. Destroying it when the script fails as well mends a leak: only a caller's image
// is left alone on failure, and nobody else ever sees one made here.
HRESULT CGProcessor::ProcessImage(IPlainImage* image, gv_vector<GVCommand>& script,
                                  GVImageStream& output)
{
    PlainImagePtr created;
    if (image == nullptr) {
        created.reset(CreatePlainImage());
        image = created.get();
        if (image == nullptr)
            return E_OUTOFMEMORY;
    }
    const HRESULT result = runScript(*image, script, output);
    if (result != S_OK)
        return result;
    created.release();
    image->Destroy();
    return S_OK;
}

int32_t CGProcessor::SetJpegQuality(int32_t quality)
{
    m_jpegQuality.store(quality, std::memory_order_relaxed);
    return quality;
}

int32_t CGProcessor::SetInterpolationMode(int32_t mode)
{
    m_interpolationMode.store(mode, std::memory_order_relaxed);
    return mode;
}

void CGProcessor::GetCommandName(gv_string& name)
{
    const int32_t index = t_lastCommand;
    name = index >= 0 && index < static_cast<int32_t>(Commands.size()) ? Commands[index].name
                                                                       : "Unknown";
}
