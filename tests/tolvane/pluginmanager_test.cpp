// SPDX-License-Identifier: GPL-2.0-or-later
// The plug-in manager over real plug-in libraries copied into scratch folders: which ones it
// lists and in what order, what it passes over and why, and that every object it makes and
// every library it loads is freed exactly once.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>

#include "platform/module.h"
#include "tests/support/testenv.h"
#include "tolvane/pluginmanager.h"

namespace fs = std::filesystem;

namespace {

const QStringList AllPlugins = {"gvtest_twin", "gvtest_plain", "gvtest_future", "gvtest_empty",
                                "gvtest_notaplugin", "gvtest_beta", "gvtest_alpha"};

std::vector<std::string> names(const std::vector<CPluginInfo>& plugins)
{
    std::vector<std::string> result;
    for (const CPluginInfo& info : plugins)
        result.push_back(info.GetName());
    return result;
}

std::vector<std::string> fileNames(const std::vector<CPluginManager::Skipped>& skipped)
{
    std::vector<std::string> result;
    for (const CPluginManager::Skipped& entry : skipped)
        result.push_back(fs::path(entry.libraryPath).filename().string());
    return result;
}

// Installs a test plug-in under another file name.
void installAs(const TestFolder& folder, const QString& plugin, const QString& fileName)
{
    ASSERT_TRUE(QFile::copy(testPluginPath(plugin), folder.file(fileName)));
}

// A 32-bit ARM shared object header: a library that can never load here.
QByteArray foreignElfHeader()
{
    QByteArray header(64, '\0');
    header.replace(0, 7, "\x7f" "ELF\x01\x01\x01"); // 32-bit, little-endian, version 1
    header[16] = 3;                                   // shared object
    header[18] = 40;                                  // ARM
    header[20] = 1;
    return header;
}

class PluginManagerTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("GVTEST_PLUGIN_LOG", QFile::encodeName(logPath)); }
    void TearDown() override { qunsetenv("GVTEST_PLUGIN_LOG"); }

    // What the plug-in objects logged so far ("create Alpha", "destroy Alpha", ...).
    QStringList log() const
    {
        QFile file(logPath);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    std::string install(const QStringList& plugins) { return installTestPlugins(folder.path(), plugins); }

    TestFolder scratch;
    TestFolder folder;
    QString logPath = scratch.file("plugins.log");
};

TEST_F(PluginManagerTest, InitNeedsAtLeastOneExistingFolder)
{
    const std::string missing = folder.str() + "/missing";
    const std::string file = folder.write("plain-file", "x").toStdString();
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{}, false}, {{missing}, false}, {{file}, false},
        {{folder.str()}, true}, {{missing, folder.str()}, true}};
    for (const auto& [folders, expected] : cases) {
        CPluginManager manager;
        manager.SetPluginFolders(folders);
        EXPECT_EQ(manager.Init(false), expected) << folders.size() << " folder(s)";
    }
}

TEST_F(PluginManagerTest, ListsUsablePluginsAndExplainsTheOthers)
{
    install(AllPlugins);
    CPluginManager manager;
    manager.SetPluginFolders({folder.str()});
    ASSERT_TRUE(manager.Init(false));
    std::vector<CPluginInfo> plugins;
    ASSERT_EQ(manager.EnumPlugins(plugins), 0);

    ASSERT_EQ(names(plugins), (std::vector<std::string>{"Alpha", "Beta", "Empty", "gvtest_plain"}));
    const struct {
        const char* displayName;
        const char* version;
        int number;
        bool hasObject;
        const char* file;
    } expected[] = {
        {"Alpha albums", "1.2.3.4", 1, true, "libgvtest_alpha.so"},
        {"Beta albums", "1.2.3.4", 1, true, "libgvtest_beta.so"},
        {"Empty albums", "1.2.3.4", 1, false, "libgvtest_empty.so"},
        {"gvtest_plain", "", 0, true, "libgvtest_plain.so"}, // no version record: its file name
    };
    for (size_t i = 0; i < plugins.size(); ++i) {
        SCOPED_TRACE(plugins[i].GetName());
        EXPECT_STREQ(plugins[i].GetDisplayName(), expected[i].displayName);
        EXPECT_STREQ(plugins[i].GetText4(), expected[i].version);
        EXPECT_EQ(plugins[i].GetNumber(), expected[i].number);
        EXPECT_EQ(plugins[i].plugin != nullptr, expected[i].hasObject);
        EXPECT_NE(plugins[i].module, nullptr);
        EXPECT_TRUE(fs::path(plugins[i].libraryPath).is_absolute());
        EXPECT_EQ(plugins[i].libraryPath, (fs::path(folder.str()) / expected[i].file).string());
    }

    const auto& skipped = manager.SkippedPlugins();
    ASSERT_EQ(fileNames(skipped), (std::vector<std::string>{"libgvtest_future.so",
                                   "libgvtest_notaplugin.so", "libgvtest_twin.so"}));
    EXPECT_NE(skipped[0].reason.find("99"), std::string::npos) << skipped[0].reason;
    EXPECT_NE(skipped[1].reason.find(GV_CREATE_PLUGIN_EXPORT), std::string::npos) << skipped[1].reason;
    EXPECT_NE(skipped[2].reason.find("libgvtest_alpha.so"), std::string::npos) << skipped[2].reason;
    for (const auto& entry : skipped)
        EXPECT_FALSE(platform::isModuleLoaded(entry.libraryPath)) << entry.libraryPath;
    // A passed-over library never gets to make its object.
    EXPECT_EQ(log(), (QStringList{"create Alpha", "create Beta", "create Plain"}));
}

TEST_F(PluginManagerTest, OrderFollowsFileNamesNotPluginNamesOrInstallOrder)
{
    TestFolder other;
    // Installed in opposite orders; the file names put Beta before Alpha.
    installAs(folder, "gvtest_plain", "libc_plain.so");
    installAs(folder, "gvtest_alpha", "libb_alpha.so");
    installAs(folder, "gvtest_beta", "liba_beta.so");
    installAs(other, "gvtest_beta", "liba_beta.so");
    installAs(other, "gvtest_alpha", "libb_alpha.so");
    installAs(other, "gvtest_plain", "libc_plain.so");

    const std::vector<std::string> expected{"Beta", "Alpha", "c_plain"};
    for (const std::string& path : {folder.str(), other.str(), folder.str()}) {
        CPluginManager manager;
        manager.SetPluginFolders({path});
        std::vector<CPluginInfo> plugins;
        ASSERT_EQ(manager.EnumPlugins(plugins), 0);
        EXPECT_EQ(names(plugins), expected) << path;
        EXPECT_TRUE(manager.SkippedPlugins().empty());
    }
}

TEST_F(PluginManagerTest, UnreadableFilesAreSkippedAndOtherFilesIgnored)
{
    install({"gvtest_alpha", "gvtest_beta"});
    folder.write("libgarbage.so", "This is not a library, only text.\n");
    folder.write("libforeign.so", foreignElfHeader());
    folder.write("libzero.so", QByteArray());
    ASSERT_TRUE(QDir(folder.path()).mkdir("libdir.so"));
    folder.write("readme.txt", "notes");
    installAs(folder, "gvtest_plain", "plain.dll");
    installAs(folder, "gvtest_plain", "libplain.so.1");
    installAs(folder, "gvtest_plain", "libplain.SO");

    CPluginManager manager;
    manager.SetPluginFolders({folder.str()});
    std::vector<CPluginInfo> plugins;
    ASSERT_EQ(manager.EnumPlugins(plugins), 0);
    EXPECT_EQ(names(plugins), (std::vector<std::string>{"Alpha", "Beta"}));
    const auto& skipped = manager.SkippedPlugins();
    ASSERT_EQ(fileNames(skipped),
              (std::vector<std::string>{"libforeign.so", "libgarbage.so", "libzero.so"}));
    for (const auto& entry : skipped)
        EXPECT_EQ(entry.reason.rfind("cannot be loaded: ", 0), 0u) << entry.reason;
}

TEST_F(PluginManagerTest, MergesFoldersByFileNameAndEarlierFolderWinsATie)
{
    TestFolder second;
    install({"gvtest_alpha", "gvtest_plain"});
    installTestPlugins(second.path(), {"gvtest_beta", "gvtest_empty", "gvtest_alpha"});

    for (const auto& order : {std::vector<std::string>{folder.str(), second.str()},
                              std::vector<std::string>{second.str(), folder.str()}}) {
        CPluginManager manager;
        manager.SetPluginFolders(order);
        std::vector<CPluginInfo> plugins;
        ASSERT_EQ(manager.EnumPlugins(plugins), 0);
        ASSERT_EQ(names(plugins),
                  (std::vector<std::string>{"Alpha", "Beta", "Empty", "gvtest_plain"}));
        EXPECT_EQ(fs::path(plugins[0].libraryPath).parent_path(), fs::path(order[0]));
        EXPECT_EQ(fs::path(plugins[1].libraryPath).parent_path(), fs::path(second.str()));
        EXPECT_EQ(fs::path(plugins[3].libraryPath).parent_path(), fs::path(folder.str()));
        ASSERT_EQ(manager.SkippedPlugins().size(), 1u);
        EXPECT_EQ(fs::path(manager.SkippedPlugins()[0].libraryPath).parent_path(), fs::path(order[1]));
    }
}

TEST_F(PluginManagerTest, EnumTemplatesPerPluginAndForBadIndexes)
{
    install({"gvtest_alpha", "gvtest_beta", "gvtest_empty"});
    CPluginManager manager;
    manager.SetPluginFolders({folder.str()});
    gv_vector<TemplateInfo> templates;
    EXPECT_EQ(manager.EnumTemplates(0, templates), GV_E_PLUGINID); // nothing loaded yet
    std::vector<CPluginInfo> plugins;
    ASSERT_EQ(manager.EnumPlugins(plugins), 0);
    ASSERT_EQ(plugins.size(), 3u);

    const struct {
        int index;
        int result;
        std::vector<std::pair<int, std::string>> templates;
    } cases[] = {{0, GV_OK, {{10, "Classic"}, {20, "Grid"}}},
                 {1, GV_OK, {}},         // Beta has none
                 {2, GV_E_PLUGINID, {}}, // Empty has no object
                 {-1, GV_E_PLUGINID, {}}, {3, GV_E_PLUGINID, {}}, {1000, GV_E_PLUGINID, {}}};
    for (const auto& c : cases) {
        gv_vector<TemplateInfo> list;
        list.push_back(TemplateInfo(99, "left over"));
        EXPECT_EQ(manager.EnumTemplates(c.index, list), c.result) << "index " << c.index;
        std::vector<std::pair<int, std::string>> got;
        for (const TemplateInfo& info : list)
            got.emplace_back(info.id, info.name.c_str());
        EXPECT_EQ(got, c.templates) << "index " << c.index;
    }

    manager.ReleasePlugins(plugins);
    EXPECT_EQ(manager.EnumTemplates(0, templates), GV_E_PLUGINID); // no dangling object
    EXPECT_EQ(templates.size(), 0);
}

TEST_F(PluginManagerTest, EnumeratingTwiceLoadsOnce)
{
    install(AllPlugins);
    CPluginManager manager;
    manager.SetPluginFolders({folder.str()});
    std::vector<CPluginInfo> first, second;
    ASSERT_EQ(manager.EnumPlugins(first), 0);
    second.resize(7); // the list is replaced, not appended to
    ASSERT_EQ(manager.EnumPlugins(second), 0);
    ASSERT_EQ(names(second), names(first));
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(second[i].plugin, first[i].plugin);
        EXPECT_EQ(second[i].module, first[i].module);
    }
    EXPECT_EQ(manager.SkippedPlugins().size(), 3u);
    EXPECT_EQ(log(), (QStringList{"create Alpha", "create Beta", "create Plain"}));
}

TEST_F(PluginManagerTest, ReleaseFreesEachObjectAndLibraryOnce)
{
    install(AllPlugins);
    std::vector<CPluginInfo> plugins, again;
    std::vector<std::string> order;
    {
        CPluginManager manager;
        manager.SetPluginFolders({folder.str()});
        ASSERT_EQ(manager.EnumPlugins(plugins), 0);
        order = names(plugins);
        for (const CPluginInfo& info : plugins)
            ASSERT_TRUE(platform::isModuleLoaded(info.libraryPath)) << info.libraryPath;

        manager.ReleasePlugins(plugins);
        for (const CPluginInfo& info : plugins) {
            EXPECT_EQ(info.plugin, nullptr);
            EXPECT_EQ(info.module, nullptr);
            EXPECT_FALSE(platform::isModuleLoaded(info.libraryPath)) << info.libraryPath;
        }
        const QStringList released = log();
        EXPECT_EQ(released.size(), 6);
        for (const char* name : {"Alpha", "Beta", "Plain"}) {
            EXPECT_EQ(released.count(QStringLiteral("create %1").arg(name)), 1) << name;
            EXPECT_EQ(released.count(QStringLiteral("destroy %1").arg(name)), 1) << name;
        }
        manager.ReleasePlugins(plugins); // nothing left to free
        EXPECT_EQ(log(), released);

        // Listing again loads everything afresh, in the same order.
        ASSERT_EQ(manager.EnumPlugins(again), 0);
        EXPECT_EQ(names(again), order);
        EXPECT_NE(again[0].plugin, nullptr);
        EXPECT_EQ(log().count("create Alpha"), 2);
        manager.ReleasePlugins(again);
        manager.ReleasePlugins(again);
    } // and the manager's own clean-up finds nothing more to free
    EXPECT_EQ(log().count("destroy Alpha"), 2);
    EXPECT_EQ(log().size(), 12);
}

TEST_F(PluginManagerTest, DestroyingTheManagerReleasesWhatItLoaded)
{
    install({"gvtest_alpha", "gvtest_empty"});
    std::vector<CPluginInfo> plugins;
    {
        CPluginManager manager;
        manager.SetPluginFolders({folder.str()});
        ASSERT_EQ(manager.EnumPlugins(plugins), 0);
        ASSERT_EQ(plugins.size(), 2u);
    }
    EXPECT_EQ(log(), (QStringList{"create Alpha", "destroy Alpha"}));
    for (const CPluginInfo& info : plugins)
        EXPECT_FALSE(platform::isModuleLoaded(info.libraryPath)) << info.libraryPath;
}

} // namespace

TEST(PluginVersion, ReadFromTheLibraryFile)
{
    uint32_t ms = 0, ls = 0;
    ASSERT_TRUE(ReadPluginVersion(testPluginPath("gvtest_alpha").toStdString(), ms, ls));
    EXPECT_EQ(ms, (1u << 16) | 2u);
    EXPECT_EQ(ls, (3u << 16) | 4u);
    EXPECT_FALSE(ReadPluginVersion(testPluginPath("gvtest_plain").toStdString(), ms, ls));
    EXPECT_FALSE(ReadPluginVersion("/nonexistent/libx.so", ms, ls));
    EXPECT_FALSE(platform::isModuleLoaded(testPluginPath("gvtest_alpha").toStdString()));
}
