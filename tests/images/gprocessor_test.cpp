// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// Before any Qt header: Qt's "signals" keyword macro breaks glib's headers.
#include <vips/vips8>

#include <QByteArray>
#include <QFile>
#include <QString>

#include "images/gprocessor.h"
#include "tests/support/claimedpng.h"
#include "tests/support/testenv.h"

namespace
{

constexpr HRESULT CantSave = static_cast<HRESULT>(0x80030103u);

// Photos with no turn recorded, so what is written keeps their stored shape.
constexpr const char* Small = "exs-Canon_40D.jpg";       // 100 x 68
constexpr const char* Landscape = "exs-DSCN0010.jpg";    // 640 x 480
constexpr const char* Portrait = "mdi-Canon_EOS_7D.jpg"; // 600 x 900
constexpr const char* Large = "mdi-Issue_600_1.jpg";     // 1280 x 1024

std::string photo(const char* name)
{
    return sharedTestData(QStringLiteral("photos/") + QString::fromUtf8(name)).toStdString();
}

GVCommand command(const char* name, std::initializer_list<GVParamValue> values = {})
{
    GVCommand step(name);
    for (const GVParamValue& value : values)
        step.params.push_back(value);
    return step;
}

gv_vector<GVCommand> script(std::initializer_list<GVCommand> commands)
{
    gv_vector<GVCommand> steps;
    for (const GVCommand& step : commands)
        steps.push_back(step);
    return steps;
}

// What was written, decoded by libvips on its own.
struct Decoded {
    int width = 0;
    int height = 0;
    int bands = 0;
    std::vector<double> means;  // per band
    double largestBandGap = 0;  // between any two of the first three bands, at any pixel
    std::vector<double> centre; // the middle pixel
};

std::optional<Decoded> decode(const std::string& path)
{
    static const bool started = VIPS_INIT("processor_tests") == 0;
    if (!started || !QFile::exists(QString::fromStdString(path)))
        return std::nullopt;
    try {
        const vips::VImage image = vips::VImage::new_from_file(path.c_str());
        Decoded out{image.width(), image.height(), image.bands(), {}, 0, {}};
        for (int band = 0; band < image.bands(); ++band)
            out.means.push_back(image.extract_band(band).avg());
        if (image.bands() >= 3)
            for (auto [a, b] : {std::pair{0, 1}, {1, 2}, {0, 2}})
                out.largestBandGap =
                    std::max(out.largestBandGap, (image[a] - image[b]).abs().max());
        out.centre = image.getpoint(image.width() / 2, image.height() / 2);
        return out;
    } catch (const vips::VError&) {
        return std::nullopt;
    }
}

QByteArray bytesOf(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ProcessorTest : public ::testing::Test
{
protected:
    IPlainImage* open(const char* name)
    {
        GVImageStream stream(photo(name).c_str());
        return processor.OpenImage(&stream);
    }
    std::string out(const std::string& name) const { return folder.str() + "/" + name; }
    // Runs steps over the named photo into the output file name; the image is released
    // here when the processor leaves it to the caller.
    HRESULT run(const char* photoName, gv_vector<GVCommand> steps, const std::string& target)
    {
        IPlainImage* image = open(photoName);
        EXPECT_NE(image, nullptr) << photoName;
        if (image == nullptr)
            return E_POINTER;
        GVImageStream output(target.c_str());
        const HRESULT result = processor.ProcessImage(image, steps, output);
        if (result != S_OK)
            processor.ReleaseImage(image);
        return result;
    }
    std::string lastCommand()
    {
        gv_string name;
        processor.GetCommandName(name);
        return name.c_str();
    }

    CGProcessor processor;
    TestFolder folder;
};

} // namespace

// --- Describing commands

TEST_F(ProcessorTest, DescribesEveryCommandWithItsKinds)
{
    struct Row {
        const char* name;
        const char* kinds; // N number, T text, C colour
    };
    const Row rows[] = {
        {"Load", "T"},
        {"LoadThumbnail", "TNN"},
        {"CreateImage", "TNNC"},
        {"Out", "T"},
        {"Resize", "NN"},
        {"ResizeIfMore", "NN"},
        {"ResizeKeepAsp", "NN"},
        {"Gray", ""},
        {"Sepia", ""},
        {"Colorize", "CCC"},
        {"TextOut1", "TTNNNNC"},
        {"TextOut", "TTNNNNC"},
        {"Rotate", "N"},
        {"Rotate90", ""},
        {"Rotate180", ""},
        {"Rotate270", ""},
        {"AutoLevels", ""},
        {"FlipVert", ""},
        {"FlipVer", ""},
        {"FlipHor", ""},
        {"Border", "NCN"},
        {"ResizeCanvas", "NNNC"},
        {"AddImage", "TNNNNN"},
        {"AddWatermark", "TNN"},
        {"SetBgColor", "C"},
        {"SetBgImage", "T"},
        {"Shine", "N"},
        {"Blur", "N"},
        {"Sharpen", "N"},
        {"DropShadow", "NNNC"},
        {"HSBCG", "NNNNN"},
        {"ResizeFitTo", "NNCN"},
        {"RoundedBorder", "NCN"},
        {"ImageBorder", "TNN"},
        {"AddTextWatermark", "TTNNNC"},
    };
    ASSERT_EQ(std::size(rows), 35u);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GVCommand step(row.name);
        gv_vector<int32_t> kinds;
        ASSERT_TRUE(processor.DescribeCommand(step, kinds));
        std::string letters;
        for (int32_t kind : kinds)
            letters += kind == GVCP_TEXT ? 'T' : kind == GVCP_COLOR ? 'C' : 'N';
        EXPECT_EQ(letters, row.kinds);
        EXPECT_EQ(step.paramCount, static_cast<int32_t>(letters.size()));
    }
}

TEST_F(ProcessorTest, DescribesNamesInAnyCaseAndAppendsKinds)
{
    GVCommand step("resizecanvas");
    gv_vector<int32_t> kinds;
    kinds.push_back(99);
    ASSERT_TRUE(processor.DescribeCommand(step, kinds));
    EXPECT_EQ(step.paramCount, 4);
    ASSERT_EQ(kinds.size(), 5);
    EXPECT_EQ(kinds[0], 99);
    EXPECT_EQ(kinds[4], GVCP_COLOR);

    GVCommand unknown("ResizeCanva");
    unknown.paramCount = 7;
    EXPECT_FALSE(processor.DescribeCommand(unknown, kinds));
    EXPECT_EQ(unknown.paramCount, 7);
    EXPECT_EQ(kinds.size(), 5);
    EXPECT_EQ(processor.CheckCommand(123, command("Nonsense", {1, 2})), 0);
}

// --- Checking scripts

TEST_F(ProcessorTest, ChecksValueCountsAndRanges)
{
    struct Case {
        const char* name;
        std::vector<GVParamValue> values;
        bool accepted;
    };
    const std::string overlay = photo("et-Apple.jpg");
    const Case cases[] = {
        {"Resize", {0, 10}, false},
        {"Resize", {1, 1}, true},
        {"Resize", {4000, 1}, true},
        {"Resize", {4001, 10}, false},
        {"Resize", {10, 4001}, false},
        {"Resize", {10}, false},
        {"ResizeKeepAsp", {160, 120, 9}, true},
        {"ResizeKeepAsp", {160, 0}, false},
        {"ResizeIfMore", {4001, 10}, false},
        {"ResizeIfMore", {1, 4000}, true},
        {"LoadThumbnail", {"x", 50, 40}, true},
        {"LoadThumbnail", {"x", 50}, false},
        {"LoadThumbnail", {"x", 0, 40}, false},
        {"LoadThumbnail", {"x", 50, 4001}, false},
        {"CreateImage", {"", 20, 10, 255}, true},
        {"CreateImage", {"", 20, 10}, false},
        {"CreateImage", {"", 4001, 10, 0}, false},
        {"ResizeCanvas", {200, 150}, true},
        {"ResizeCanvas", {200}, false},
        {"ResizeCanvas", {200, 150, 4, 0}, true},
        {"ResizeCanvas", {200, 150, 4, 0, 0}, false},
        {"ResizeCanvas", {4001, 10}, false},
        {"ResizeCanvas", {10, 0}, false},
        {"ResizeFitTo", {200, 200, 0, 0}, true},
        {"ResizeFitTo", {200, 200, 0}, false},
        {"ResizeFitTo", {0, 200, 0, 0}, false},
        {"Border", {0}, true},
        {"Border", {1000, 255}, true},
        {"Border", {1001}, false},
        {"Border", {-1}, false},
        {"Border", {}, false},
        {"Border", {2, 0, 0, 0}, false},
        {"RoundedBorder", {0}, true},
        {"RoundedBorder", {1001, 0}, false},
        {"RoundedBorder", {5, 0, 3, 1}, false},
        {"AddImage", {overlay.c_str(), 1}, false},
        {"AddImage", {overlay.c_str(), 1, 2, 3, 4, 5, 6}, false},
        {"AddWatermark", {}, false},
        {"AddWatermark", {overlay.c_str(), 1, 2, 3}, false},
        {"ImageBorder", {overlay.c_str(), 0, 5}, false},
        {"ImageBorder", {overlay.c_str(), 5, 0}, false},
        {"ImageBorder", {overlay.c_str(), 5}, false},
        {"Colorize", {0, 255}, false},
        {"TextOut", {"a", "b", 1, 2, 3, 4}, false},
        {"TextOut1", {"a", "b", 1, 2, 3}, false},
        {"DropShadow", {1, 2, 3}, false},
        {"HSBCG", {0, 0, 0, 0}, false},
        {"AddTextWatermark", {"a", "b", 1, 2, 3}, false},
        {"Rotate", {}, false},
        {"SetBgColor", {}, false},
        {"Gray", {1, 2, 3}, true},
        {"Load", {}, true},
        {"Load", {"a", "b", "c"}, true},
        {"Out", {}, true},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " case " + std::to_string(index));
        GVCommand step(c.name);
        for (const GVParamValue& value : c.values)
            step.params.push_back(value);
        const std::string target = out("check" + std::to_string(index++) + ".jpg");
        EXPECT_EQ(run(Small, script({step}), target), c.accepted ? S_OK : E_FAIL);
        EXPECT_EQ(decode(target).has_value(), c.accepted);
    }
}

TEST_F(ProcessorTest, ABorderOfWidthZeroChangesNothing)
{
    ASSERT_EQ(run(Small, script({command("Out")}), out("plain.jpg")), S_OK);
    ASSERT_EQ(
        run(Small, script({command("Border", {0, 255, 3}), command("Out")}), out("border0.jpg")),
        S_OK);
    ASSERT_EQ(run(Small, script({command("RoundedBorder", {0, 255}), command("Out")}),
                  out("rounded0.jpg")),
              S_OK);
    EXPECT_EQ(bytesOf(out("border0.jpg")), bytesOf(out("plain.jpg")));
    EXPECT_EQ(bytesOf(out("rounded0.jpg")), bytesOf(out("plain.jpg")));
    ASSERT_EQ(run(Small, script({command("Border", {5, 255})}), out("border5.jpg")), S_OK);
    const auto framed = decode(out("border5.jpg"));
    ASSERT_TRUE(framed);
    EXPECT_EQ(framed->width, 110);
    EXPECT_EQ(framed->height, 78);
}

TEST_F(ProcessorTest, UnknownCommandsFailTheWholeScript)
{
    const gv_vector<GVCommand> scripts[] = {
        script({command("Bogus")}),
        script({command("ResizeKeepAsp", {160, 120}), command("Out"), command("Bogus", {1})}),
        script({command("Gray"), command("")}),
    };
    int index = 0;
    for (const gv_vector<GVCommand>& steps : scripts) {
        SCOPED_TRACE(index);
        const std::string target = out("unknown" + std::to_string(index++) + ".jpg");
        EXPECT_EQ(run(Landscape, steps, target), E_FAIL);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(target))); // not even the early Out
        EXPECT_EQ(lastCommand(), "Unknown");
    }
}

TEST_F(ProcessorTest, MatchesNamesInAnyCase)
{
    for (const char* name : {"resizekeepasp", "RESIZEKEEPASP", "rEsIzEkEePaSp"}) {
        SCOPED_TRACE(name);
        const std::string target = out(std::string(name) + ".jpg");
        ASSERT_EQ(run(Landscape, script({command(name, {160, 120}), command("oUT")}), target),
                  S_OK);
        const auto written = decode(target);
        ASSERT_TRUE(written);
        EXPECT_EQ(written->width, 160);
        EXPECT_EQ(written->height, 120);
    }
}

// --- Running scripts

TEST_F(ProcessorTest, EachCommandDoesWhatThePlainImageOperationDoes)
{
    // Each script's output must match, byte for byte, the same photo changed by calling the
    // plain image directly: a command mapped to the wrong operation, or given its values in
    // the wrong order, writes a different file.
    using Direct = std::function<bool(IPlainImage&)>;
    struct Case {
        gv_vector<GVCommand> steps;
        Direct direct;
    };
    const std::string overlay = photo("et-Apple.jpg");
    const char* over = overlay.c_str();
    const Case
        cases
            [] =
                {
                    {script({command("LoadThumbnail", {"", 90, 30})}),
                     [](IPlainImage& i) { return i.Resize(90, 30); }},
                    {script({command("CreateImage", {"", 40, 30, 0x00112233})}),
                     [](IPlainImage& i) { return i.CreateImage(40, 30, 0x00112233); }},
                    {script({command("Resize", {50, 70})}),
                     [](IPlainImage& i) { return i.Resize(50, 70); }},
                    {script({command("ResizeIfMore", {60, 60})}),
                     [](IPlainImage& i) { return i.ResizeKeepAspect(60, 60, 1); }},
                    {script({command("ResizeKeepAsp", {300, 200})}),
                     [](IPlainImage& i) { return i.ResizeKeepAspect(300, 200, 1); }},
                    {script({command("Gray")}), [](IPlainImage& i) { return i.Gray(); }},
                    {script({command("Colorize", {0x00000040, 0x00408080, 0x00F0F0FF})}),
                     [](IPlainImage& i) { return i.Colorize(0x00000040, 0x00408080, 0x00F0F0FF); }},
                    {script({command("TextOut1", {"Hi", "DejaVu Sans", 5, 8, 20, 1, 0x00FFFFFF})}),
                     [](IPlainImage& i) {
                         return i.TextOut("Hi", "DejaVu Sans", 5, 8, 20, 1, 0x00FFFFFF);
                     }},
                    {script({command("TextOut", {"Yo", "DejaVu Sans", 9, 4, 16, 2, 0x0000FFFF})}),
                     [](IPlainImage& i) {
                         return i.TextOut("Yo", "DejaVu Sans", 9, 4, 16, 2, 0x0000FFFF);
                     }},
                    {script({command("SetBgColor", {0x000000FF}), command("Rotate", {30})}),
                     [](IPlainImage& i) { return i.SetBgColor(0x000000FF) && i.Rotate(30); }},
                    {script({command("Rotate90")}), [](IPlainImage& i) { return i.Rotate90(); }},
                    {script({command("Rotate180")}), [](IPlainImage& i) { return i.Rotate180(); }},
                    {script({command("Rotate270")}), [](IPlainImage& i) { return i.Rotate270(); }},
                    {script({command("AutoLevels")}),
                     [](IPlainImage& i) { return i.AutoLevels(); }},
                    {script({command("FlipVert")}),
                     [](IPlainImage& i) { return i.FlipVertical(); }},
                    {script({command("FlipVer")}), [](IPlainImage& i) { return i.FlipVertical(); }},
                    {script({command("FlipHor")}),
                     [](IPlainImage& i) { return i.FlipHorizontal(); }},
                    {script({command("Border", {5, 0x000000FF, 1})}),
                     [](IPlainImage& i) { return i.Border(5, 0x000000FF, 1); }},
                    {script({command("Border", {4})}),
                     [](IPlainImage& i) { return i.Border(4, 0, 0); }},
                    {script({command("ResizeCanvas", {300, 200})}),
                     [](IPlainImage& i) { return i.ResizeCanvas(300, 200, 4, 0); }},
                    {script({command("ResizeCanvas", {300, 200, 0, 0x0000FF00})}),
                     [](IPlainImage& i) { return i.ResizeCanvas(300, 200, 0, 0x0000FF00); }},
                    {script({command("AddImage", {over, 10, 12, 30, 20, 50})}),
                     [over](IPlainImage& i) { return i.AddImage(over, 10, 12, 30, 20, 50); }},
                    {script({command("AddImage", {over, 10, 12})}),
                     [over](IPlainImage& i) { return i.AddImage(over, 10, 12, 0, 0, 0); }},
                    {script({command("AddWatermark", {over})}),
                     [over](IPlainImage& i) { return i.AddWatermark(over, 0, 0); }},
                    {script({command("AddWatermark", {over, 8, 40})}),
                     [over](IPlainImage& i) { return i.AddWatermark(over, 8, 40); }},
                    {script({command("SetBgImage", {over}), command("Rotate", {10})}),
                     [over](IPlainImage& i) { return i.SetBgImage(over) && i.Rotate(10); }},
                    {script({command("Shine", {20})}), [](IPlainImage& i) { return i.Shine(20); }},
                    {script({command("Blur", {20})}), [](IPlainImage& i) { return i.Blur(20); }},
                    {script({command("Sharpen", {20})}),
                     [](IPlainImage& i) { return i.Sharpen(20); }},
                    {script({command("DropShadow", {6, 3, 50, 0x00404040})}),
                     [](IPlainImage& i) { return i.DropShadow(6, 3, 50, 0x00404040); }},
                    {script({command("HSBCG", {30, 10, 5, 15, 120})}),
                     [](IPlainImage& i) { return i.HSBCG(30, 10, 5, 15, 120); }},
                    {script({command("ResizeFitTo", {200, 200, 0x00FF0000, 0})}),
                     [](IPlainImage& i) {
                         return i.ResizeKeepAspect(200, 200, 1) &&
                                i.ResizeCanvas(200, 200, 4, 0x00FF0000);
                     }},
                    {script({command("RoundedBorder", {5, 0x000000FF, 3})}),
                     [](IPlainImage& i) { return i.RoundedBorder(5, 0x000000FF, 3); }},
                    {script({command("ImageBorder", {over, 6, 2})}),
                     [over](IPlainImage& i) { return i.ImageBorder(over, 6, 2); }},
                    {script({command("AddTextWatermark",
                                     {"Hi", "DejaVu Sans", 8, 20, 50, 0x00FFFFFF})}),
                     [](IPlainImage& i) {
                         return i.AddTextWatermark("Hi", "DejaVu Sans", 8, 20, 50, 0x00FFFFFF);
                     }},
                };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.steps[0].name.c_str()) + " case " + std::to_string(index));
        const std::string viaScript = out("script" + std::to_string(index) + ".jpg");
        const std::string viaImage = out("direct" + std::to_string(index++) + ".jpg");
        ASSERT_EQ(run(Small, c.steps, viaScript), S_OK);
        IPlainImage* image = open(Small);
        ASSERT_NE(image, nullptr);
        ASSERT_TRUE(c.direct(*image));
        ASSERT_TRUE(image->Save(0, viaImage.c_str()));
        processor.ReleaseImage(image);
        const QByteArray written = bytesOf(viaScript);
        EXPECT_FALSE(written.isEmpty());
        EXPECT_TRUE(written == bytesOf(viaImage)) << "the two files differ";
    }
}

TEST_F(ProcessorTest, WritesTheOutputWhenTheScriptHasNoOut)
{
    ASSERT_EQ(run(Landscape, script({command("ResizeKeepAsp", {160, 120})}), out("a.jpg")), S_OK);
    EXPECT_EQ(lastCommand(), "Out");
    const auto written = decode(out("a.jpg"));
    ASSERT_TRUE(written);
    EXPECT_EQ(written->width, 160);
    EXPECT_EQ(written->height, 120);

    ASSERT_EQ(run(Landscape, script({}), out("empty.jpg")), S_OK);
    const auto copy = decode(out("empty.jpg"));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->width, 640);
    EXPECT_EQ(copy->height, 480);

    // A script whose Out is not last still writes the final picture.
    ASSERT_EQ(
        run(Landscape, script({command("Out"), command("ResizeKeepAsp", {64, 64})}), out("b.jpg")),
        S_OK);
    const auto last = decode(out("b.jpg"));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->width, 64);
}

TEST_F(ProcessorTest, NamesTheCommandItStoppedAt)
{
    std::string fresh;
    std::thread([&] {
        gv_string name;
        processor.GetCommandName(name);
        fresh = name.c_str();
    }).join();
    EXPECT_EQ(fresh, "Unknown");

    EXPECT_EQ(
        run(Small, script({command("Gray"), command("ResizeCanvas", {4001, 10})}), out("a.jpg")),
        E_FAIL);
    EXPECT_EQ(lastCommand(), "ResizeCanvas");
    EXPECT_EQ(
        run(Small, script({command("Gray"), command("Blur", {1}), command("Out")}), out("b.jpg")),
        S_OK);
    EXPECT_EQ(lastCommand(), "Out");
    EXPECT_EQ(run(Small, script({command("Frobnicate")}), out("c.jpg")), E_FAIL);
    EXPECT_EQ(lastCommand(), "Unknown");
}

TEST_F(ProcessorTest, ResizesOnlyPicturesThatAreTooBig)
{
    struct Case {
        const char* photo;
        int width;
        int height;
    };
    const Case cases[] = {{Landscape, 640, 480}, {Large, 750, 600}, {Portrait, 400, 600}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.photo);
        const std::string target = out(std::string("ifmore-") + c.photo);
        ASSERT_EQ(run(c.photo, script({command("ResizeIfMore", {800, 600})}), target), S_OK);
        const auto written = decode(target);
        ASSERT_TRUE(written);
        EXPECT_EQ(written->width, c.width);
        EXPECT_EQ(written->height, c.height);
    }
    // Made in memory at 1024 x 768: fits into 800 x 600 exactly.
    gv_vector<GVCommand> steps = script(
        {command("CreateImage", {"", 1024, 768, 0x00808080}), command("ResizeIfMore", {800, 600})});
    GVImageStream output(out("made.jpg").c_str());
    ASSERT_EQ(processor.ProcessImage(nullptr, steps, output), S_OK);
    const auto made = decode(out("made.jpg"));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->width, 800);
    EXPECT_EQ(made->height, 600);
}

TEST_F(ProcessorTest, SizesPicturesAsEachResizeCommandSays)
{
    struct Case {
        const char* photo;
        GVCommand step;
        int width;
        int height;
    };
    const Case cases[] = {
        {Landscape, command("ResizeKeepAsp", {160, 120}), 160, 120},
        {Portrait, command("ResizeKeepAsp", {160, 120}), 80, 120},
        {Landscape, command("ResizeKeepAsp", {300, 300}), 300, 225},
        {Landscape, command("Resize", {50, 70}), 50, 70},
        {Landscape, command("LoadThumbnail", {"", 90, 30}), 90, 30},
        {Portrait, command("ResizeFitTo", {200, 200, 0x00FF0000, 0}), 200, 200},
        {Small, command("ResizeCanvas", {300, 100}), 300, 100},
        {Landscape, command("Rotate90"), 480, 640},
        {Portrait, command("Rotate270"), 900, 600},
        {Landscape, command("Rotate180"), 640, 480},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.step.name.c_str()) + " case " + std::to_string(index));
        const std::string target = out("size" + std::to_string(index++) + ".jpg");
        ASSERT_EQ(run(c.photo, script({c.step, command("Out")}), target), S_OK);
        const auto written = decode(target);
        ASSERT_TRUE(written);
        EXPECT_EQ(written->width, c.width);
        EXPECT_EQ(written->height, c.height);
    }
}

TEST_F(ProcessorTest, GrayGivesEqualChannelsAndSepiaWarmTones)
{
    ASSERT_EQ(run(Landscape, script({command("Gray")}), out("gray.png")), S_OK);
    const auto gray = decode(out("gray.png"));
    ASSERT_TRUE(gray);
    EXPECT_TRUE(gray->bands < 3 || gray->largestBandGap == 0) << gray->largestBandGap;

    ASSERT_EQ(run(Landscape, script({command("Sepia")}), out("sepia.png")), S_OK);
    const auto sepia = decode(out("sepia.png"));
    ASSERT_TRUE(sepia);
    ASSERT_GE(sepia->bands, 3);
    EXPECT_GT(sepia->means[0], sepia->means[1]); // red over green over blue
    EXPECT_GT(sepia->means[1], sepia->means[2]);
}

TEST_F(ProcessorTest, RunsAScriptWithoutAnImageOnANewOne)
{
    // COLORREF 0x000000FF is red.
    gv_vector<GVCommand> steps =
        script({command("CreateImage", {"", 64, 48, 0x000000FF}), command("Out")});
    GVImageStream output(out("red.png").c_str());
    ASSERT_EQ(processor.ProcessImage(nullptr, steps, output), S_OK);
    const auto red = decode(out("red.png"));
    ASSERT_TRUE(red);
    EXPECT_EQ(red->width, 64);
    EXPECT_EQ(red->height, 48);
    ASSERT_GE(red->centre.size(), 3u);
    EXPECT_EQ(red->centre[0], 255);
    EXPECT_EQ(red->centre[1], 0);
    EXPECT_EQ(red->centre[2], 0);
}

TEST_F(ProcessorTest, FailsWhenTheOutputCannotBeWritten)
{
    const std::string nowhere = folder.str() + "/no such folder/out.jpg";
    IPlainImage* image = open(Landscape);
    ASSERT_NE(image, nullptr);
    GVImageStream unwritable(nowhere.c_str());
    gv_vector<GVCommand> explicitOut = script({command("Gray"), command("Out")});
    EXPECT_EQ(processor.ProcessImage(image, explicitOut, unwritable), CantSave);
    EXPECT_EQ(lastCommand(), "Out");
    gv_vector<GVCommand> implicitOut = script({command("ResizeKeepAsp", {100, 100})});
    EXPECT_EQ(processor.ProcessImage(image, implicitOut, unwritable), CantSave);
    EXPECT_EQ(lastCommand(), "Out");
    gv_vector<GVCommand> badScript = script({command("Resize", {0, 0})});
    EXPECT_EQ(processor.ProcessImage(image, badScript, unwritable), E_FAIL);
    // Each failure left the image with its caller, who can still use it.
    GVImageStream good(out("after.jpg").c_str());
    gv_vector<GVCommand> none;
    ASSERT_EQ(processor.ProcessImage(image, none, good), S_OK);
    const auto written = decode(out("after.jpg"));
    ASSERT_TRUE(written);
    EXPECT_EQ(written->width, 100); // gray, then fitted into 100 x 100, by the earlier calls
    EXPECT_EQ(written->height, 75);
    EXPECT_LT(written->largestBandGap, 8);
}

TEST_F(ProcessorTest, FailsWhenAnOperationCannotBeDone)
{
    const std::string missing = folder.str() + "/missing.png";
    EXPECT_EQ(run(Landscape, script({command("AddImage", {missing.c_str(), 0, 0})}), out("a.jpg")),
              E_FAIL);
    EXPECT_EQ(lastCommand(), "AddImage");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out("a.jpg"))));
}

// --- Opening images and the shared settings

TEST_F(ProcessorTest, OpensPhotosAndRefusesWhatIsNotThere)
{
    IPlainImage* image = open(Landscape);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 640);
    EXPECT_EQ(image->GetHeight(), 480);
    processor.ReleaseImage(image);
    processor.ReleaseImage(nullptr);

    EXPECT_EQ(processor.OpenImage(nullptr), nullptr);
    GVImageStream missing((folder.str() + "/none.jpg").c_str());
    EXPECT_EQ(processor.OpenImage(&missing), nullptr);
    EXPECT_EQ(processor.OpenImageSized(missing, 100, 100), nullptr);

    IPlainImage* sized = processor.OpenImageSized(GVImageStream(photo(Large).c_str()), 320, 256);
    ASSERT_NE(sized, nullptr);
    EXPECT_EQ(sized->GetWidth(), 320);
    EXPECT_EQ(sized->GetHeight(), 256);
    processor.ReleaseImage(sized);

    IPlainImage* empty = processor.CreateEmptyImage();
    ASSERT_NE(empty, nullptr);
    gv_vector<GVCommand> steps = script({command("CreateImage", {"", 30, 20, 0})});
    GVImageStream output(out("empty.jpg").c_str());
    EXPECT_EQ(processor.ProcessImage(empty, steps, output), S_OK);
    EXPECT_TRUE(decode(out("empty.jpg")));
}

// A small file claiming 200,000 x 200,000 pixels used to cost minutes and gigabytes, then gave
// a black picture: it is refused from its header.
TEST_F(ProcessorTest, RefusesPhotosOverThePixelLimit)
{
    SettingsSandbox settings;
    const QString huge = folder.write("huge.png", testpng::claiming(200000, 200000));
    GVImageStream stream(huge.toUtf8().constData());
    EXPECT_EQ(processor.OpenImage(&stream), nullptr);
    EXPECT_EQ(processor.OpenImageSized(stream, 100, 100), nullptr);
    IPlainImage* fits = processor.OpenImageSized(
        GVImageStream(folder.write("fits.png", testpng::claiming(2000, 1000)).toUtf8().constData()),
        100, 50);
    ASSERT_NE(fits, nullptr);
    EXPECT_EQ(fits->GetWidth(), 100);
    processor.ReleaseImage(fits);
}

TEST_F(ProcessorTest, JpegQualityAppliesToImagesMadeAfterwards)
{
    EXPECT_EQ(processor.SetJpegQuality(20), 20);
    IPlainImage* low = open(Landscape);
    EXPECT_EQ(processor.SetJpegQuality(95), 95);
    IPlainImage* high = open(Landscape);
    ASSERT_TRUE(low && high);
    gv_vector<GVCommand> steps = script({command("Out")});
    GVImageStream lowOut(out("low.jpg").c_str());
    GVImageStream highOut(out("high.jpg").c_str());
    ASSERT_EQ(processor.ProcessImage(low, steps, lowOut), S_OK);
    ASSERT_EQ(processor.ProcessImage(high, steps, highOut), S_OK);
    EXPECT_LT(bytesOf(out("low.jpg")).size() * 2, bytesOf(out("high.jpg")).size());

    processor.SetJpegQuality(20);
    ASSERT_EQ(run(Landscape, script({}), out("low2.jpg")), S_OK);
    EXPECT_EQ(bytesOf(out("low2.jpg")), bytesOf(out("low.jpg")));
}

TEST_F(ProcessorTest, InterpolationAppliesToImagesMadeAfterwards)
{
    EXPECT_EQ(processor.SetInterpolationMode(5), 5);
    IPlainImage* nearest = open(Small);
    EXPECT_EQ(processor.SetInterpolationMode(7), 7);
    IPlainImage* bicubic = open(Small);
    ASSERT_TRUE(nearest && bicubic);
    gv_vector<GVCommand> steps = script({command("Resize", {400, 272})});
    GVImageStream nearestOut(out("nearest.png").c_str());
    GVImageStream bicubicOut(out("bicubic.png").c_str());
    ASSERT_EQ(processor.ProcessImage(nearest, steps, nearestOut), S_OK);
    ASSERT_EQ(processor.ProcessImage(bicubic, steps, bicubicOut), S_OK);
    EXPECT_NE(bytesOf(out("nearest.png")), bytesOf(out("bicubic.png")));
    ASSERT_EQ(run(Small, steps, out("bicubic2.png")), S_OK);
    EXPECT_EQ(bytesOf(out("bicubic2.png")), bytesOf(out("bicubic.png")));
}

TEST_F(ProcessorTest, ScriptsWithoutAnImageKeepThePlainImageDefaults)
{
    gv_vector<GVCommand> steps = script(
        {command("CreateImage", {"", 200, 100, 0x00336699}), command("Blur", {3}), command("Out")});
    processor.SetJpegQuality(5);
    GVImageStream first(out("first.jpg").c_str());
    ASSERT_EQ(processor.ProcessImage(nullptr, steps, first), S_OK);
    processor.SetJpegQuality(100);
    GVImageStream second(out("second.jpg").c_str());
    ASSERT_EQ(processor.ProcessImage(nullptr, steps, second), S_OK);
    EXPECT_EQ(bytesOf(out("first.jpg")), bytesOf(out("second.jpg")));
}

// --- Threads

TEST_F(ProcessorTest, ProcessesDifferentImagesOnSeveralThreadsAtOnce)
{
    struct Job {
        const char* photo;
        int box;
        int width;
        int height;
    };
    const Job jobs[] = {{Landscape, 200, 200, 150},
                        {Portrait, 300, 200, 300},
                        {Large, 400, 400, 320},
                        {"exs-kodak-dc240.jpg", 160, 160, 120}};
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            const Job& job = jobs[t];
            for (int round = 0; round < 3; ++round) {
                const std::string target =
                    out("thread" + std::to_string(t) + "-" + std::to_string(round) + ".jpg");
                gv_vector<GVCommand> steps =
                    script({command("ResizeKeepAsp", {job.box, job.box}), command("Sharpen", {1})});
                const auto written =
                    run(job.photo, steps, target) == S_OK ? decode(target) : std::nullopt;
                if (!written || written->width != job.width || written->height != job.height)
                    ++failures;
            }
            // A failing script on one thread does not change what the others report.
            if (t == 0)
                run(job.photo, script({command("ResizeCanvas", {0, 1})}), out("never.jpg"));
            gv_string name;
            processor.GetCommandName(name);
            if (!(name == (t == 0 ? "ResizeCanvas" : "Out")))
                ++failures;
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0);
}
