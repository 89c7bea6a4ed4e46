// SPDX-License-Identifier: GPL-2.0-or-later
// The host interface as a real plug-in sees it: the probe plug-in makes every call through
// IGallivex from inside Generate and reports what it got back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include "plugins/gallivex_impl.h"
#include "tests/support/testenv.h"

namespace fs = std::filesystem;

namespace {

// Indexes of the fixture's photos.
enum Photo {
    Beach,     // a 640 x 480 JPEG
    Raw,       // 100 bytes, no extension
    Logo,      // a small PNG
    Gone,      // listed, but deleted from the disk
    Scan,      // no extension, in a folder whose name has a dot
    Big,       // 40000 bytes
    BigSame,   // Big with a byte changed past the counted part
    BigOther,  // Big with the last counted byte changed
    Exact,     // the 32 bytes 0x00..0x1f
    Empty,     // 0 bytes
    PhotoCount
};

QByteArray pattern(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

// The fingerprint written out from its definition: the bytes of 938 pieces of 32 at most,
// folded by XOR, each byte in lowercase hex without leading zero.
QString expectedFingerprint(const QByteArray& bytes)
{
    unsigned char sum[32] = {};
    const int used = std::min<int>(static_cast<int>(bytes.size()), 938 * 32);
    for (int i = 0; i < used; ++i)
        sum[i % 32] ^= static_cast<unsigned char>(bytes[i]);
    QString text = QStringLiteral("v1");
    for (const unsigned char byte : sum)
        text += QString::number(byte, 16);
    return text;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// What the generation showed, kept after the progress itself is gone.
struct ProgressLog {
    QStringList titles;
    std::vector<int> positions;
    QStringList texts;
    int alive = 0;
    int made = 0;
    int cancelAt = -1; // the user presses Cancel once the bar reaches this
};

class RecordingProgress : public Progress {
public:
    explicit RecordingProgress(ProgressLog& log) : m_log(log)
    {
        ++m_log.alive;
        ++m_log.made;
    }
    ~RecordingProgress() override { --m_log.alive; }
    void setTitle(const QString& title) override { m_log.titles << title; }
    void setPosition(int percent) override { m_log.positions.push_back(percent); }
    void setText(const QString& text) override { m_log.texts << text; }
    bool pump() override
    {
        return m_log.cancelAt >= 0 && !m_log.positions.empty() &&
               m_log.positions.back() >= m_log.cancelAt;
    }

private:
    ProgressLog& m_log;
};

// An album over the probe plug-in (and one without a plug-in object), with the photos above
// and a destination folder beside a folder that must stay untouched.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        album().PluginManager().SetPluginFolders(
            {installTestPlugins(plugins.path(), {"gvtest_probe", "gvtest_empty"})});
        ASSERT_TRUE(album().Initialise());
        for (size_t i = 0; i < album().Plugins().size(); ++i)
            (std::string(album().Plugins()[i].GetName()) == "Probe" ? probe : empty) =
                static_cast<int>(i);
        ASSERT_GE(probe, 0);
        ASSERT_TRUE(album().ChooseTemplate(probe, 7));
        QDir().mkpath(destination());
        QDir().mkpath(outside());
        album().SetDestination(destination().toUtf8().constData());
        addPhotos();
        qputenv("GVPROBE_SCRIPT", work.file("script.txt").toUtf8());
        qputenv("GVPROBE_REPORT", work.file("report.txt").toUtf8());
    }
    void TearDown() override
    {
        qunsetenv("GVPROBE_SCRIPT");
        qunsetenv("GVPROBE_REPORT");
    }

    void addPhotos()
    {
        QImage beach(640, 480, QImage::Format_RGB32);
        beach.fill(QColor(30, 120, 200));
        QImage logo(10, 10, QImage::Format_RGB32);
        logo.fill(Qt::white);
        QByteArray bigOther = pattern(40000), bigSame = pattern(40000);
        bigSame[30016] = static_cast<char>(bigSame[30016] ^ 0x5a);
        bigOther[30015] = static_cast<char>(bigOther[30015] ^ 0x5a);
        QByteArray exact(32, '\0');
        for (int i = 0; i < 32; ++i)
            exact[i] = static_cast<char>(i);

        const QString paths[PhotoCount] = {
            work.file("photos/beach.jpg"), work.write("photos/raw", pattern(100)),
            work.file("photos/logo.png"),  work.write("photos/gone.jpg", "soon gone"),
            work.write("photos/v1.0/scan", pattern(50)),
            work.write("photos/big.bin", pattern(40000)),
            work.write("photos/bigsame.bin", bigSame),
            work.write("photos/bigother.bin", bigOther),
            work.write("photos/exact.bin", exact), work.write("photos/empty.bin", ""),
        };
        ASSERT_TRUE(beach.save(paths[Beach], "JPEG"));
        ASSERT_TRUE(logo.save(paths[Logo], "PNG"));
        QFile::remove(paths[Gone]);
        for (int i = 0; i < PhotoCount; ++i) {
            AlbumImage image;
            image.name = QFileInfo(paths[i]).baseName().toUtf8().constData();
            image.subfolder = ("s" + std::to_string(i)).c_str();
            image.index = i;
            image.path = paths[i].toUtf8().constData();
            album().Images().push_back(image);
            photoPaths << paths[i];
        }
    }

    AlbumProject& album() { return host.Album(); }
    QString destination() const { return work.file("album"); }
    QString outside() const { return work.file("outside"); }
    QString inAlbum(const QString& relative) const { return destination() + "/" + relative; }
    QStringList outsideEntries() const
    {
        return QDir(outside()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    }

    // True when the last generation reached the probe's Generate.
    bool probeRan() const { return QFileInfo::exists(work.file("report.txt")); }
    // Runs a generation with the script; the report lines come back, one per call made.
    QStringList run(const QStringList& script, ResultCode* result = nullptr)
    {
        QFile::remove(work.file("report.txt"));
        work.write("script.txt", script.join('\n').toUtf8() + '\n');
        const ResultCode code = host.Generate();
        if (result != nullptr)
            *result = code;
        QStringList lines = QString::fromUtf8(contents(work.file("report.txt"))).split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    // Runs (call, expected answer) rows in one generation and compares every answer.
    void expectAnswers(const std::vector<std::pair<QString, QString>>& rows)
    {
        QStringList script;
        for (const auto& row : rows)
            script << row.first;
        ResultCode result = -1;
        const QStringList answers = run(script, &result);
        EXPECT_EQ(result, GV_OK);
        ASSERT_EQ(answers.size(), static_cast<qsizetype>(rows.size()))
            << answers.join('\n').toStdString();
        for (size_t i = 0; i < rows.size(); ++i)
            EXPECT_EQ(answers[static_cast<qsizetype>(i)], rows[i].second)
                << rows[i].first.toStdString();
    }
    void useRecordingProgress()
    {
        album().SetProgressFactory([this] { return std::make_unique<RecordingProgress>(log); });
    }

    SettingsSandbox sandbox;
    TestFolder plugins;
    TestFolder work;
    ProgressLog log;
    CGallivexImpl host;
    QStringList photoPaths;
    int probe = -1;
    int empty = -1;
};

QString n(int value)
{
    return QString::number(value);
}

} // namespace

TEST_F(HostTest, StreamsWriteReadAndGiveTheirReferenceBack)
{
    const QString photoRaw = photoPaths[Raw];
    expectAnswers({
        {"create\tindex.html\t<html>", "written 6 released 1"},
        {"read\tindex.html", "[<html>]"},
        {"create\timages/big/p1.jpg\tJPEG", "written 4 released 1"},
        {"read\timages/big/p1.jpg", "[JPEG]"},
        {"create\tindex.html\tnew", "written 3 released 1"},
        {"read\tindex.html", "[new]"},
        {"create\tsub\\win\\style.css\tbody{}", "written 6 released 1"},
        {"create\t./a/./b/../c.txt\tx", "written 1 released 1"},
        {"read\tmissing.txt", "null"},
        {"read\timages", "null"},
        {"create\timages\tnot a file", "null"},
        {"refcount\tindex.html", "0 1"},
        {"releasenull", "0"},
        {"openfile\t" + photoRaw, "100"},
        {"openfile\t" + work.file("nothing"), "null"},
        {"openfile\t" + work.file("photos"), "null"},
        {"openimage\t" + n(Raw), "100 none " + photoRaw},
        {"openimage\t" + n(Logo),
         n(static_cast<int>(QFileInfo(photoPaths[Logo]).size())) + " png " + photoPaths[Logo]},
        {"openimage\t" + n(Gone), "null jpg " + photoPaths[Gone]},
        {"openimage\t" + n(PhotoCount), "null none none"},
        {"openimage\t-1", "null none none"},
    });
    EXPECT_TRUE(QFileInfo(inAlbum("images/big")).isDir());
    EXPECT_EQ(contents(inAlbum("sub/win/style.css")), "body{}");
    EXPECT_EQ(contents(inAlbum("a/c.txt")), "x");
    EXPECT_FALSE(QFileInfo::exists(inAlbum("a/b")));
}

TEST_F(HostTest, CopiesArriveUnchangedAndOverwrite)
{
    const QString css = work.write("theme/site.css", "h1{color:red}");
    work.write("album/assets/old.txt", "old text");
    expectAnswers({
        {"copyimage\t" + n(Beach) + "\tphotos/beach.jpg", "0"},
        {"copyimage\t" + n(Beach) + "\tphotos/beach.jpg", "0"},
        {"copyfile\t" + css + "\tassets/css/site.css", "0"},
        {"copyfile\t" + css + "\tassets/old.txt", "0"},
        {"copyfile\t" + work.file("theme/none.css") + "\tassets/none.css", "-1002"},
        {"copyfile\t" + css + "\tassets", "-1002"},
        {"copyfile\t\tassets/empty.css", "-1002"},
        {"copyimage\t" + n(Gone) + "\tphotos/gone.jpg", "-1002"},
        {"copyimage\t" + n(PhotoCount) + "\tphotos/x.jpg", "-1002"},
        {"copyimage\t-1\tphotos/y.jpg", "-1002"},
    });
    EXPECT_EQ(contents(inAlbum("photos/beach.jpg")), contents(photoPaths[Beach]));
    EXPECT_EQ(contents(inAlbum("assets/css/site.css")), "h1{color:red}");
    EXPECT_EQ(contents(inAlbum("assets/old.txt")), "h1{color:red}");
    for (const char* never : {"assets/none.css", "photos/gone.jpg", "photos/x.jpg",
                              "photos/y.jpg", "assets/empty.css"})
        EXPECT_FALSE(QFileInfo::exists(inAlbum(never))) << never;
}

TEST_F(HostTest, PhotoPathsExtensionsAndAlbumPaths)
{
    expectAnswers({
        {"extension\t" + n(Raw), "jpg"}, // nothing remembered yet
        {"extension\t" + n(Logo), "png"},
        {"extension\t" + n(Raw), "png"},
        {"extension\t" + n(Scan), "png"}, // the dot of "v1.0" is not the photo's
        {"extension\t" + n(PhotoCount), ""},
        {"extension\t" + n(Raw), "png"}, // an unknown photo changes nothing
        {"extension\t" + n(Beach), "jpg"},
        {"imagepath\t" + n(Beach), photoPaths[Beach]},
        {"imagepath\t" + n(Gone), ""},
        {"imagepath\t" + n(PhotoCount), ""},
        {"imagepath\t-1", ""},
        {"albumpath\tpages/p1.html", destination() + "/pages/p1.html"},
        {"albumpath", destination() + "/"},
        {"albumpath\t../p1.html", ""}, // would leave the album
        {"albumpath\t/tmp/p1.html", ""},
    });
}

TEST_F(HostTest, ParametersImagesAndTheReservedSlot)
{
    QString images = "0 " + n(PhotoCount + 1) + " ||0"; // the probe's own entry comes first
    for (int i = 0; i < PhotoCount; ++i)
        images += " " + QFileInfo(photoPaths[i]).baseName() + "|s" + n(i) + "|" + n(i);
    expectAnswers({
        {"paramsnull", "0"},
        {"params", "0 3 Title JPEGQuality InterpolationMode"},
        {"images", images},
        {"reserved", "0"},
    });
    EXPECT_STREQ(album().AlbumName().c_str(), "Probe album");
}

TEST_F(HostTest, ParametersNeedAChosenTemplate)
{
    ASSERT_TRUE(album().ChooseTemplate(-1, -1));
    gv_vector<GVParamInfo> params;
    EXPECT_EQ(host.GetParams(&params), -1);
    EXPECT_TRUE(params.empty());
}

TEST_F(HostTest, FingerprintsFoldTheFirstCountedBytes)
{
    std::vector<std::pair<QString, QString>> rows;
    for (const int photo : {Beach, Raw, Logo, Scan, Big, BigOther, Exact, Empty})
        rows.push_back(
            {"fingerprint\t" + n(photo), expectedFingerprint(contents(photoPaths[photo]))});
    rows.push_back(
        {"fingerprint\t" + n(Exact), "v10123456789abcdef101112131415161718191a1b1c1d1e1f"});
    rows.push_back({"fingerprint\t" + n(Empty), "v1" + QString(32, '0')});
    rows.push_back({"fingerprint\t" + n(BigSame), expectedFingerprint(contents(photoPaths[Big]))});
    rows.push_back({"fingerprint\t-1", "negative_image_id"});
    rows.push_back({"fingerprint\t" + n(Gone), "error_creating_id"});
    rows.push_back({"fingerprint\t" + n(PhotoCount), "error_creating_id"});
    expectAnswers(rows);
    EXPECT_NE(expectedFingerprint(contents(photoPaths[Big])),
              expectedFingerprint(contents(photoPaths[BigOther])));
}

TEST_F(HostTest, NothingLeavesTheDestination)
{
    const QString secret = work.write("outside/secret.txt", "keep out");
    const QString absolute = outside() + "/abs.txt";
    fs::create_symlink(outside().toStdString(), inAlbum("out").toStdString());
    fs::create_symlink((outside() + "/ghost.txt").toStdString(), inAlbum("dead").toStdString());
    const QStringList escapes = {
        "../x.txt", "../../x.txt", absolute, "a/../../x.txt", "..\\x.txt", "a\\..\\..\\x.txt",
        "\\x.txt", "out/x.txt", "out", "dead", "", ".", "a/..", "sub/", "../outside/secret.txt",
        "out/secret.txt"};
    std::vector<std::pair<QString, QString>> rows;
    for (const QString& path : escapes) {
        rows.push_back({"create\t" + path + "\tescaped", "null"});
        rows.push_back({"read\t" + path, "null"});
        rows.push_back({"copyfile\t" + photoPaths[Raw] + "\t" + path, "-1002"});
        rows.push_back({"copyimage\t" + n(Raw) + "\t" + path, "-1002"});
    }
    expectAnswers(rows);
    EXPECT_EQ(outsideEntries(), QStringList{"secret.txt"});
    EXPECT_EQ(contents(secret), "keep out");
    EXPECT_FALSE(QFileInfo::exists(work.file("x.txt")));
    EXPECT_FALSE(QFileInfo::exists("/x.txt"));
}

TEST_F(HostTest, LinksThatStayInsideAreFollowed)
{
    QDir().mkpath(inAlbum("real"));
    fs::create_symlink(inAlbum("real").toStdString(), inAlbum("inner").toStdString());
    // ".." is taken by the name, not by where a link leads: out/.. is the album itself.
    fs::create_symlink(outside().toStdString(), inAlbum("out").toStdString());
    expectAnswers({
        {"create\tinner/ok.txt\tyes", "written 3 released 1"},
        {"read\treal/ok.txt", "[yes]"},
        {"copyfile\t" + photoPaths[Raw] + "\tinner/raw", "0"},
        {"create\tout/../top.txt\ttop", "written 3 released 1"},
    });
    EXPECT_EQ(contents(inAlbum("real/raw")), contents(photoPaths[Raw]));
    EXPECT_EQ(contents(inAlbum("top.txt")), "top");
    EXPECT_TRUE(QDir(outside()).isEmpty());
}

TEST_F(HostTest, WithoutDestinationNothingIsWrittenAnywhere)
{
    album().SetDestination("");
    TestFolder current;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(current.path()));
    const QStringList answers = run({"create\tx.txt\tstray", "read\tx.txt",
                                     "copyfile\t" + photoPaths[Raw] + "\tx.txt",
                                     "copyimage\t0\tx.txt", "albumpath\tx.txt"});
    QDir::setCurrent(before);
    EXPECT_EQ(answers, (QStringList{"null", "null", "-1002", "-1002", ""}));
    EXPECT_TRUE(QDir(current.path()).isEmpty());
}

TEST(HostPaths, ResolveBelowTheFolder)
{
    const struct {
        const char* folder;
        const char* relative;
        const char* expected; // null: refused
    } cases[] = {
        {"/d", "a/b.txt", "/d/a/b.txt"},  {"/d", "a\\b.txt", "/d/a/b.txt"},
        {"/d", "a/../b.txt", "/d/b.txt"}, {"/d", "./a//b.txt", "/d/a/b.txt"},
        {"/d", "..", nullptr},            {"/d", "a/../..", nullptr},
        {"/d", "/etc/passwd", nullptr},   {"/d", "\\etc", nullptr},
        {"", "a.txt", nullptr},           {"/d", "", nullptr},
        {"/d", "a/", nullptr},            {"/d", "a/..", nullptr},
    };
    for (const auto& c : cases) {
        const auto resolved = CGallivexImpl::ResolveBelow(c.folder, c.relative);
        if (c.expected == nullptr)
            EXPECT_FALSE(resolved.has_value()) << c.relative;
        else
            EXPECT_EQ(resolved.value_or("<refused>"), fs::path(c.expected)) << c.relative;
    }
    EXPECT_FALSE(CGallivexImpl::ResolveBelow("/d", nullptr).has_value());
}

TEST(HostPaths, ExtensionIsTakenFromTheFileName)
{
    const struct {
        const char* path;
        const char* expected; // null: none
    } cases[] = {
        {"/p/a.jpg", "jpg"}, {"/p/a.tar.gz", "gz"}, {"/p/a.", ""},         {"/p/a", nullptr},
        {"/p.d/a", nullptr}, {"C:\\p.d\\a", nullptr}, {"C:\\p\\a.PNG", "PNG"}, {"", nullptr},
    };
    for (const auto& c : cases) {
        const auto extension = CGallivexImpl::ExtensionOf(c.path);
        if (c.expected == nullptr)
            EXPECT_FALSE(extension.has_value()) << c.path;
        else
            EXPECT_EQ(extension.value_or("<none>"), c.expected) << c.path;
    }
}

TEST_F(HostTest, ProgressReachesTheWindowAndACancelStopsThePlugin)
{
    useRecordingProgress();
    log.cancelAt = 50;
    ResultCode result = 0;
    const QStringList answers =
        run({"progress\t10\tPages", "progress\t20", "progress\t50\tPictures",
             "progress\t60\tNever", "create\tafter.txt\tlate"},
            &result);
    EXPECT_EQ(answers, (QStringList{"0", "0", "1"}));
    EXPECT_EQ(result, GV_CANCELLED);
    EXPECT_FALSE(album().IsGenerated());
    EXPECT_EQ(log.titles, QStringList{"Generating album..."});
    EXPECT_EQ(log.positions, (std::vector<int>{10, 20, 50}));
    EXPECT_EQ(log.texts, (QStringList{"Pages", "Pictures"})); // an empty text keeps the old one
    EXPECT_EQ(log.alive, 0);
    EXPECT_EQ(album().ActiveProgress(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(inAlbum("after.txt")));
}

TEST_F(HostTest, ProgressWithoutWindowNeverCancels)
{
    EXPECT_FALSE(host.ReportProgress(50, "outside any operation"));
    EXPECT_EQ(run({"progress\t50\tsilent", "progress\t100"}), (QStringList{"0", "0"}));
    EXPECT_TRUE(album().IsGenerated());
}

TEST_F(HostTest, GenerationOutcomes)
{
    const struct {
        const char* script;
        ResultCode result;
        bool generated;
    } cases[] = {
        {"", GV_OK, true},
        {"progress\t100\tdone", GV_OK, true},
        {"return\t-1003", GV_E_WRITEFILE, false},
        {"return\t1223", GV_CANCELLED, false},
        {"throw", GV_E_UNEXPECTED, false},
    };
    useRecordingProgress();
    for (const auto& c : cases) {
        album().MarkModified();
        ResultCode result = 0;
        run({c.script}, &result);
        EXPECT_EQ(result, c.result) << c.script;
        EXPECT_EQ(album().IsGenerated(), c.generated) << c.script;
        EXPECT_EQ(log.alive, 0) << c.script;
        EXPECT_EQ(album().ActiveProgress(), nullptr) << c.script;
    }
    EXPECT_EQ(log.made, 5);
}

TEST_F(HostTest, GenerationIsRefusedWithoutAPluginToRun)
{
    const struct {
        int plugin; // -2: the plug-in without object
        int32_t templateId;
        ResultCode result;
    } cases[] = {
        {-1, -1, GV_E_PLUGINID},
        {0, -1, GV_E_TEMPLATE},
        {-2, 1, GV_E_PLUGINNOTINSTALLED},
    };
    useRecordingProgress();
    for (const auto& c : cases) {
        ASSERT_TRUE(album().ChooseTemplate(c.plugin == -2 ? empty : (c.plugin == 0 ? probe : -1),
                                           c.templateId));
        ResultCode result = 0;
        run({"create\tran.txt\tyes"}, &result);
        EXPECT_FALSE(probeRan()) << c.result;
        EXPECT_EQ(result, c.result);
    }
    EXPECT_EQ(log.made, 0);
    EXPECT_FALSE(QFileInfo::exists(inAlbum("ran.txt")));
    EXPECT_FALSE(album().IsGenerated());
}

TEST_F(HostTest, AGenerationWaitsForNoOtherOperation)
{
    useRecordingProgress();
    Progress& saving = album().BeginProgress("Saving...");
    ResultCode result = 0;
    run({"create\tran.txt\tyes"}, &result);
    EXPECT_FALSE(probeRan());
    EXPECT_EQ(result, GV_E_UNEXPECTED);
    EXPECT_EQ(album().ActiveProgress(), &saving);
    EXPECT_EQ(log.made, 1);
    album().EndProgress();
    EXPECT_EQ(log.alive, 0);
}

TEST_F(HostTest, TheImageProcessorMakesThumbnailsInTheAlbum)
{
    expectAnswers({
        {"resize\t" + n(Beach) + "\tthumbs/small/t1.jpg\t160\t120", "0"},
        {"resize\t" + n(Beach) + "\tthumbs/t2.jpg\t0\t120", "80004005"},
        {"resize\t" + n(Beach) + "\t../t3.jpg\t160\t120", "create-failed"},
    });
    const QImage thumbnail(inAlbum("thumbs/small/t1.jpg"));
    EXPECT_EQ(thumbnail.size(), QSize(160, 120));
    EXPECT_FALSE(QFileInfo::exists(work.file("t3.jpg")));
}
