// SPDX-License-Identifier: GPL-2.0-or-later
// Theme packages through the plug-in's own exports: a ".thm" zip of one theme folder is
// installed into the user's themes and removed again; anything unsafe in a package (paths
// out of its folder, links, a theme that does not load, the id of a shipped theme) is refused
// with nothing written.
#include <gtest/gtest.h>

#include <cstring>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>

#include <zip.h>

#include "outputs/html/themecatalog.h"
#include "platform/module.h"
#include "sdk/gvpluginexports.h"
#include "tests/outputs/htmlalbum.h"
#include "tests/outputs/qtprinters.h"
#include "tests/support/testenv.h"

namespace
{

struct Entry {
    QString name;
    QByteArray bytes;
    bool link = false;
};

// Writes a zip archive of the entries (links as Unix symbolic links to bytes).
bool makePackage(const QString& path, const QList<Entry>& entries)
{
    int error = 0;
    QDir().mkpath(QFileInfo(path).absolutePath());
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr)
        return false;
    for (const Entry& entry : entries) {
        void* copy = std::malloc(static_cast<size_t>(entry.bytes.size()) + 1);
        std::memcpy(copy, entry.bytes.constData(), static_cast<size_t>(entry.bytes.size()));
        zip_source_t* source =
            zip_source_buffer(archive, copy, static_cast<zip_uint64_t>(entry.bytes.size()), 1);
        const zip_int64_t index =
            zip_file_add(archive, entry.name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0)
            return zip_source_free(source), zip_discard(archive), false;
        if (entry.link)
            zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0,
                                             ZIP_OPSYS_UNIX,
                                             static_cast<zip_uint32_t>(0120777) << 16);
    }
    return zip_close(archive) == 0;
}

// The files of a shipped theme, below folder/ in the package, with its manifest changed.
QList<Entry> themeEntries(const QString& folder, int id, const QString& name,
                          const char* from = "mosaic")
{
    const QString source = QStringLiteral(GVTEST_HTML_THEME_SOURCES "/") + QLatin1String(from);
    QList<Entry> entries;
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        QFile in(file);
        in.open(QIODevice::ReadOnly);
        QByteArray bytes = in.readAll();
        const QString relative = QDir(source).relativeFilePath(file);
        if (relative == QLatin1String("theme.json")) {
            QJsonObject json = QJsonDocument::fromJson(bytes).object();
            json["id"] = id;
            json["name"] = name;
            json["order"] = 100; // listed after the shipped themes
            bytes = QJsonDocument(json).toJson();
        }
        entries << Entry{folder + u'/' + relative, bytes};
    }
    return entries;
}

class PackageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(album.ready());
        const CPluginInfo& info = album.album().Plugins()[static_cast<size_t>(album.pluginIndex())];
        install = reinterpret_cast<InstallTemplateFn>(
            platform::moduleSymbol(info.module, GV_INSTALL_TEMPLATE_EXPORT));
        uninstall = reinterpret_cast<UninstallTemplateFn>(
            platform::moduleSymbol(info.module, GV_UNINSTALL_TEMPLATE_EXPORT));
        ASSERT_TRUE(install && uninstall);
    }
    int installFrom(const QString& start, QByteArray* after = nullptr)
    {
        char buffer[GV_MAX_PATH] = {};
        std::strncpy(buffer, start.toUtf8().constData(), GV_MAX_PATH - 1);
        const int result = install(buffer, 0);
        if (after != nullptr)
            *after = QByteArray(buffer);
        return result;
    }
    QStringList templates()
    {
        gv_vector<TemplateInfo> list;
        album.plugin().GetTemplates(&list);
        QStringList names;
        for (const TemplateInfo& info : list)
            names << QStringLiteral("%1 %2").arg(info.id).arg(QString::fromUtf8(info.name.c_str()));
        return names;
    }
    QStringList userFolder() const
    {
        return QDir(userThemes()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    QString userThemes() const { return work.file(QStringLiteral("user-themes")); }

    SettingsSandbox settings;
    TestFolder work;
    HtmlAlbum album{userThemes()};
    InstallTemplateFn install = nullptr;
    UninstallTemplateFn uninstall = nullptr;
};

} // namespace

TEST_F(PackageTest, InstallsUsesAndRemovesATheme)
{
    ASSERT_TRUE(makePackage(work.file(QStringLiteral("downloads/sunset.thm")),
                            themeEntries(QStringLiteral("sunset"), 500, QStringLiteral("Sunset"))));
    QByteArray chosen;
    ASSERT_EQ(installFrom(work.file(QStringLiteral("downloads")), &chosen), GV_OK);
    EXPECT_EQ(QString::fromUtf8(chosen), work.file(QStringLiteral("downloads")));
    EXPECT_EQ(userFolder(), QStringList({"sunset"}));
    EXPECT_EQ(templates(), QStringList({"1 Mosaic", "2 Classic", "3 Slideshow", "500 Sunset"}));

    ASSERT_TRUE(album.choose(500));
    album.addPhoto(sharedPhoto(QStringLiteral("exs-DSCN0010.jpg")));
    EXPECT_EQ(album.generate(work.file(QStringLiteral("album"))), GV_OK);
    EXPECT_TRUE(QFileInfo::exists(work.file(QStringLiteral("album/index.html"))));

    EXPECT_EQ(uninstall(500, 0), GV_OK);
    EXPECT_TRUE(userFolder().isEmpty());
    EXPECT_EQ(templates(), QStringList({"1 Mosaic", "2 Classic", "3 Slideshow"}));
    EXPECT_EQ(uninstall(500, 0), GV_E_NOTFOUND);
}

TEST_F(PackageTest, ANewerPackageReplacesTheOlderCopy)
{
    const QString package = work.file(QStringLiteral("sunset.thm"));
    ASSERT_TRUE(makePackage(package,
                            themeEntries(QStringLiteral("sunset"), 500, QStringLiteral("Sunset"))));
    ASSERT_EQ(installFrom(package), GV_OK);
    ASSERT_TRUE(makePackage(package, themeEntries(QStringLiteral("sunset"), 500,
                                                  QStringLiteral("Sunset II"), "classic")));
    ASSERT_EQ(installFrom(package), GV_OK);
    EXPECT_EQ(templates().last(), QStringLiteral("500 Sunset II"));
    EXPECT_EQ(userFolder(), QStringList({"sunset"})) << "no work folders are left";
    EXPECT_TRUE(QFileInfo::exists(userThemes() + QStringLiteral("/sunset/photo.html")));
}

TEST_F(PackageTest, UnsafeOrBrokenPackagesAreRefused)
{
    const QList<Entry> good = themeEntries(QStringLiteral("sunset"), 500, QStringLiteral("Sunset"));
    QList<Entry> broken = good;
    for (Entry& entry : broken)
        if (entry.name.endsWith(QLatin1String("theme.json")))
            entry.bytes = "{ \"id\": 500 }";
    // A picture script with a command the image processor does not have: refused now, not
    // when an album is generated with it.
    QList<Entry> unknownCommand = good;
    for (Entry& entry : unknownCommand)
        if (entry.name.endsWith(QLatin1String("theme.json"))) {
            QJsonObject json = QJsonDocument::fromJson(entry.bytes).object();
            QJsonArray pictures = json["pictures"].toArray();
            QJsonObject first = pictures[0].toObject();
            first["script"] = QJsonArray{QJsonArray{"Posterize", 4}};
            pictures[0] = first;
            json["pictures"] = pictures;
            entry.bytes = QJsonDocument(json).toJson();
        }
    const std::vector<std::pair<QList<Entry>, int>> cases = {
        {good + QList<Entry>{{QStringLiteral("../evil.txt"), "x"}}, GV_E_CORRUPTED},
        {good + QList<Entry>{{QStringLiteral("sunset/../../evil.txt"), "x"}}, GV_E_CORRUPTED},
        {good + QList<Entry>{{QStringLiteral("/tmp/evil.txt"), "x"}}, GV_E_CORRUPTED},
        {good + QList<Entry>{{QStringLiteral("sunset\\..\\..\\evil.txt"), "x"}}, GV_E_CORRUPTED},
        {good + QList<Entry>{{QStringLiteral("C:/evil.txt"), "x"}}, GV_E_CORRUPTED},
        {good + QList<Entry>{{QStringLiteral("sunset/assets/link"), "/etc/passwd", true}},
         GV_E_CORRUPTED},
        {good + QList<Entry>{{QStringLiteral("other/theme.json"), "{}"}}, GV_E_CORRUPTED},
        {good + QList<Entry>{{QStringLiteral("loose.txt"), "x"}}, GV_E_CORRUPTED},
        {good + QList<Entry>{{QStringLiteral(".hidden/theme.json"), "{}"}}, GV_E_CORRUPTED},
        {broken, GV_E_CORRUPTED},
        {unknownCommand, GV_E_CORRUPTED},
        {themeEntries(QStringLiteral("mosaic2"), 1, QStringLiteral("Impostor")), GV_E_EXISTS},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const QString package = work.file(QStringLiteral("case%1.thm").arg(i));
        ASSERT_TRUE(makePackage(package, cases[i].first)) << i;
        EXPECT_EQ(installFrom(package), cases[i].second) << "case " << i;
        EXPECT_TRUE(userFolder().isEmpty())
            << "case " << i << ": " << userFolder().join(' ').toStdString();
        EXPECT_FALSE(QFileInfo::exists(work.file(QStringLiteral("evil.txt"))));
        EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/evil.txt")));
    }
    EXPECT_EQ(templates(), QStringList({"1 Mosaic", "2 Classic", "3 Slideshow"}));
}

// A page nested 100,000 deep used to overflow the stack of whichever program read it.
TEST_F(PackageTest, AThemeNestedTooDeeplyIsRefusedAndLeavesNothingBehind)
{
    QList<Entry> deep = themeEntries(QStringLiteral("sunset"), 500, QStringLiteral("Sunset"));
    for (Entry& entry : deep)
        if (entry.name.endsWith(QLatin1String("/index.html")))
            entry.bytes = "{% if " + QByteArray("not ").repeated(100000) + "x %}{% endif %}";
    const QString package = work.file(QStringLiteral("deep.thm"));
    ASSERT_TRUE(makePackage(package, deep));
    EXPECT_EQ(installFrom(package), GV_E_CORRUPTED);
    EXPECT_TRUE(userFolder().isEmpty()) << userFolder().join(' ').toStdString();
    EXPECT_EQ(templates(), QStringList({"1 Mosaic", "2 Classic", "3 Slideshow"}));
}

// An installation killed half-way leaves its work folder, perhaps with the older copy of a
// theme moved aside: the next scan puts that copy back and removes the rest, unless an
// installation is running.
TEST_F(PackageTest, WhatAKilledInstallationLeftIsTidiedAtTheNextScan)
{
    for (const Entry& entry :
         themeEntries(QStringLiteral("sunset"), 500, QStringLiteral("Sunset"))) {
        work.write(QStringLiteral("user-themes/.install-a1b2c3/.replaced-") + entry.name,
                   entry.bytes);
        work.write(QStringLiteral("user-themes/.install-d4e5f6/") + entry.name, entry.bytes);
    }
    {
        QLockFile running(userThemes() + QStringLiteral("/.install.lock"));
        ASSERT_TRUE(running.tryLock(0));
        CThemeCatalog().scan();
        EXPECT_EQ(userFolder(),
                  QStringList({".install-a1b2c3", ".install-d4e5f6", ".install.lock"}));
    }
    CThemeCatalog catalog;
    catalog.scan();
    EXPECT_EQ(userFolder(), QStringList({"sunset"}));
    ASSERT_NE(catalog.find(500), nullptr);
    EXPECT_EQ(catalog.find(500)->name, QStringLiteral("Sunset"));
}

TEST_F(PackageTest, OnlyOnePackageCanBeChosenFromAFolder)
{
    work.write(QStringLiteral("not-a-zip.thm"), "plain text");
    EXPECT_EQ(installFrom(work.file(QStringLiteral("not-a-zip.thm"))), GV_E_CORRUPTED);
    QDir().mkpath(work.file(QStringLiteral("empty")));
    EXPECT_EQ(installFrom(work.file(QStringLiteral("empty"))), GV_E_FILENOTFOUND);
    EXPECT_EQ(installFrom(work.file(QStringLiteral("nowhere"))), GV_E_FILENOTFOUND);
    work.write(QStringLiteral("two/a.thm"), "a");
    work.write(QStringLiteral("two/b.THM"), "b");
    EXPECT_EQ(installFrom(work.file(QStringLiteral("two"))), GV_E_INVALIDPARAM);
    EXPECT_EQ(install(nullptr, 0), GV_E_INVALIDPARAM);
    EXPECT_TRUE(userFolder().isEmpty());
}

TEST_F(PackageTest, ShippedThemesCannotBeRemoved)
{
    EXPECT_EQ(uninstall(1, 0), GV_E_DELETEFILE);
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral(GVTEST_HTML_THEMES "/mosaic/theme.json")));
    EXPECT_EQ(templates().first(), QStringLiteral("1 Mosaic"));
    EXPECT_EQ(uninstall(4242, 0), GV_E_NOTFOUND);
}
