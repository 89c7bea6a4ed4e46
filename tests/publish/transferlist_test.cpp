// SPDX-License-Identifier: GPL-2.0-or-later
// The published file list on its own: listing an album folder, the document it is kept in,
// reading a list the server gave (outside data), and pruning one list against another.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "images/imagefingerprint.h"
#include "platform/stringtable.h"
#include "publish/remotefilelist.h"
#include "tests/support/testenv.h"

namespace
{

using Entry = RemoteFileList::Entry;

QByteArray pattern(int size, int seed = 0)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + seed + i / 251) & 0xFF);
    return bytes;
}

QString idOf(const QString& path)
{
    return QString::fromStdString(ImageFingerprint(path.toStdString()).value_or("<none>"));
}

QStringList pathsOf(const RemoteFileList& list)
{
    QStringList paths;
    for (const RemoteFileList::Upload& upload : list.Uploads())
        paths << upload.relativePath;
    return paths;
}

const Entry* find(const std::vector<Entry>& entries, const QString& name)
{
    for (const Entry& entry : entries) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

RemoteFileList parsed(const QByteArray& xml)
{
    QString why;
    std::optional<RemoteFileList> list = RemoteFileList::Parse(xml, why);
    EXPECT_TRUE(list.has_value()) << qPrintable(why) << "\n" << xml.constData();
    return list.value_or(RemoteFileList());
}

QByteArray nested(int depth)
{
    QByteArray xml = "<FileList>";
    for (int i = 0; i < depth; ++i)
        xml += "<f.d type=\"folder\">";
    xml += "<f.x type=\"file\" id=\"v1\"/>";
    for (int i = 0; i < depth; ++i)
        xml += "</f.d>";
    return xml + "</FileList>";
}

// ---- listing the album folder

class FileListBuild : public ::testing::Test
{
protected:
    TestFolder album;
};

TEST_F(FileListBuild, ListsFilesAndFoldersByNameWithTheirIds)
{
    const QString photo = sharedTestData(QStringLiteral("photos/et-Apple.jpg"));
    QFile::copy(photo, album.file(QStringLiteral("zeta.jpg")));
    album.write(QStringLiteral("index.html"), "<html></html>");
    album.write(QStringLiteral("images/b.jpg"), pattern(40000));
    album.write(QStringLiteral("images/a.jpg"), pattern(100, 3));
    album.write(QStringLiteral(".htaccess"), "Options -Indexes");
    QDir(album.path()).mkpath(QStringLiteral("empty"));

    const RemoteFileList list = RemoteFileList::Build(album.path());
    EXPECT_EQ(pathsOf(list),
              (QStringList{".htaccess", "images/a.jpg", "images/b.jpg", "index.html", "zeta.jpg"}));
    EXPECT_EQ(list.FileCount(), 5);
    const Entry* empty = find(list.Entries(), QStringLiteral("empty"));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->kind, Entry::Kind::Folder);
    EXPECT_TRUE(empty->entries.empty());
    for (const RemoteFileList::Upload& upload : list.Uploads())
        EXPECT_EQ(upload.id, idOf(album.file(upload.relativePath)))
            << qPrintable(upload.relativePath);
    EXPECT_EQ(list.Uploads().back().size, QFileInfo(photo).size());
}

TEST_F(FileListBuild, TwoFilesEqualInTheFirst30016BytesShareTheirId)
{
    QByteArray late = pattern(40000), lastCounted = pattern(40000);
    late[30016] = static_cast<char>(late[30016] ^ 0x55);
    lastCounted[30015] = static_cast<char>(lastCounted[30015] ^ 0x55);
    album.write(QStringLiteral("a.bin"), pattern(40000));
    album.write(QStringLiteral("b.bin"), late);
    album.write(QStringLiteral("c.bin"), lastCounted);
    const RemoteFileList list = RemoteFileList::Build(album.path());
    ASSERT_EQ(list.Entries().size(), 3u);
    EXPECT_EQ(list.Entries()[0].id, list.Entries()[1].id);
    EXPECT_NE(list.Entries()[0].id, list.Entries()[2].id);
}

TEST_F(FileListBuild, LeavesOutItsOwnListAndWhatLeadsOutOfTheAlbum)
{
    TestFolder outside;
    outside.write(QStringLiteral("secret.txt"), "not for the web");
    album.write(QStringLiteral("filelist.xml"), "<FileList/>");
    album.write(QStringLiteral("sub/filelist.xml"), "<FileList/>");
    album.write(QStringLiteral("page.html"), "page");
    QFile::link(outside.file(QStringLiteral("secret.txt")), album.file(QStringLiteral("leak.txt")));
    QFile::link(outside.path(), album.file(QStringLiteral("leakdir")));
    QFile::link(album.file(QStringLiteral("page.html")), album.file(QStringLiteral("alias.html")));
    QFile::link(album.path(), album.file(QStringLiteral("sub/loop")));
    QFile::link(album.file(QStringLiteral("gone")), album.file(QStringLiteral("dangling")));

    const RemoteFileList list = RemoteFileList::Build(album.path());
    EXPECT_EQ(pathsOf(list), (QStringList{"alias.html", "page.html", "sub/filelist.xml"}));
    EXPECT_EQ(list.Uploads()[0].id, list.Uploads()[1].id);
}

// The album's manifest names the photos' places on this computer: it never leaves it.
TEST_F(FileListBuild, LeavesOutTheAlbumsManifest)
{
    album.write(QStringLiteral("gallivex-album.json"), R"({"format":1,"photos":[]})");
    album.write(QStringLiteral("files/gallivex-album.json"), "a file the user chose");
    album.write(QStringLiteral("index.html"), "page");
    const RemoteFileList list = RemoteFileList::Build(album.path());
    EXPECT_EQ(pathsOf(list), (QStringList{"files/gallivex-album.json", "index.html"}));
    for (const RemoteFileList::Upload& upload : list.Uploads())
        EXPECT_NE(upload.relativePath, QStringLiteral("gallivex-album.json"));
}

TEST_F(FileListBuild, AFileThatCannotBeOpenedHasAnEmptyId)
{
    const QString locked = album.write(QStringLiteral("locked.jpg"), pattern(64));
    QFile::setPermissions(locked, QFileDevice::Permissions());
    QFile probe(locked);
    if (probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "this user reads files without read permission (superuser)";
    const RemoteFileList list = RemoteFileList::Build(album.path());
    ASSERT_EQ(list.Uploads().size(), 1u);
    EXPECT_TRUE(list.Uploads()[0].id.isEmpty());
}

TEST_F(FileListBuild, AMissingFolderGivesAnEmptyList)
{
    EXPECT_TRUE(RemoteFileList::Build(album.file(QStringLiteral("nowhere"))).Entries().empty());
}

// ---- the document

TEST(FileListDocument, NamesThatAreNoElementNamesRoundTripThroughTheNameAttribute)
{
    TestFolder album;
    const QStringList names = {"index.html",  "Übersicht.jpg", "my photo.jpg",  "1st.jpg",
                               "a&b<c>.html", "x:y.png",       "quote\"s'.txt", "-dash.gif"};
    for (const QString& name : names)
        album.write(name, name.toUtf8());
    const RemoteFileList built = RemoteFileList::Build(album.path());
    const QByteArray xml = built.ToXml();

    EXPECT_TRUE(xml.contains("<f.index.html type=\"file\" id=\"v1"));
    EXPECT_TRUE(xml.contains(QStringLiteral("<f.Übersicht.jpg type").toUtf8()));
    EXPECT_TRUE(xml.contains("<f.my_photo.jpg name=\"my photo.jpg\""));
    EXPECT_TRUE(xml.contains("<f.1st.jpg type")) << "a digit is fine after \"f.\"";
    EXPECT_TRUE(xml.contains("<f.a_b_c_.html name=\"a&amp;b&lt;c&gt;.html\""));
    EXPECT_TRUE(xml.contains("<f.x_y.png name=\"x:y.png\""));

    const RemoteFileList read = parsed(xml);
    ASSERT_EQ(read.Entries().size(), built.Entries().size());
    for (size_t i = 0; i < read.Entries().size(); ++i) {
        EXPECT_EQ(read.Entries()[i].name, built.Entries()[i].name);
        EXPECT_EQ(read.Entries()[i].id, built.Entries()[i].id);
        EXPECT_EQ(read.Entries()[i].kind, Entry::Kind::File);
    }
}

TEST(FileListDocument, ListsWrittenWithoutNameAttributesStayReadable)
{
    const RemoteFileList list =
        parsed("<FileList><f.index.html type=\"file\" id=\"v1AB\"/>"
               "<f.images type=\"folder\"><f.a.jpg type=\"file\" id=\"v10\"/>"
               "<f.thumbs type=\"folder\"/></f.images>"
               "<!-- a comment --><f.filelist.xml/></FileList>");
    EXPECT_EQ(pathsOf(list), (QStringList{"index.html", "images/a.jpg", "filelist.xml"}));
    const Entry* images = find(list.Entries(), QStringLiteral("images"));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(images->kind, Entry::Kind::Folder);
    EXPECT_EQ(list.Entries()[0].id, QStringLiteral("v1AB"));
    EXPECT_EQ(list.Entries().back().kind, Entry::Kind::Other);
}

TEST(FileListDocument, SavesAndLoadsTheSameList)
{
    TestFolder album;
    album.write(QStringLiteral("a/b/c.txt"), "c");
    album.write(QStringLiteral("d.txt"), "d");
    const RemoteFileList built = RemoteFileList::Build(album.path());
    const QString path = album.file(QStringLiteral("saved.xml"));
    ASSERT_TRUE(built.Save(path));
    QString why;
    const std::optional<RemoteFileList> loaded = RemoteFileList::Load(path, why);
    ASSERT_TRUE(loaded.has_value()) << qPrintable(why);
    EXPECT_EQ(pathsOf(*loaded), pathsOf(built));
    EXPECT_EQ(loaded->ToXml(), built.ToXml());
}

TEST(FileListDocument, SaveReportsAFolderThatCannotBeWritten)
{
    TestFolder album;
    QString why;
    EXPECT_FALSE(
        RemoteFileList().Save(album.file(QStringLiteral("no/such/folder/list.xml")), &why));
    EXPECT_FALSE(why.isEmpty());
}

// ---- lists from the server: outside data

struct Refused {
    const char* what;
    QByteArray document;
    int reason; // the string id the reason starts from
};

TEST(FileListLoad, RefusesListsThatCannotBeTrusted)
{
    const QByteArray laughs =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE FileList [\n <!ENTITY lol \"lol\">\n"
        " <!ENTITY lol1 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">\n"
        " <!ENTITY lol2 \"&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;\">\n"
        " <!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">\n"
        " <!ENTITY lol9 \"&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;\">\n"
        "]>\n<FileList><f.a.jpg type=\"file\" id=\"&lol9;\"/></FileList>";
    const std::vector<Refused> cases = {
        {"cut short", "<FileList><f.a.jpg type=\"file\" id=\"v1", IDS_LIST_NOT_XML},
        {"not XML", "\x89PNG\r\n\x1a\n", IDS_LIST_NOT_XML},
        {"empty", "", IDS_LIST_NOT_XML},
        {"another root", "<Project><f.a type=\"file\"/></Project>", IDS_LIST_NO_ROOT},
        {"nested one too deep", nested(RemoteFileList::MaxDepth), IDS_LIST_TOO_DEEP},
        {"nested far too deep", nested(5000), IDS_LIST_NOT_XML},
        {"slash in a name", "<FileList><f.x name=\"../../etc/passwd\" type=\"file\"/></FileList>",
         IDS_LIST_BAD_NAME},
        {"a name of ..", "<FileList><f.x name=\"..\" type=\"folder\"/></FileList>",
         IDS_LIST_BAD_NAME},
        {"a name of .", "<FileList><f. type=\"folder\"/></FileList>", IDS_LIST_BAD_NAME},
        {"an element of ..", "<FileList><f.. type=\"folder\"/></FileList>", IDS_LIST_BAD_NAME},
        {"backslash", "<FileList><f.x name=\"a\\b\" type=\"file\"/></FileList>", IDS_LIST_BAD_NAME},
        {"empty name", "<FileList><f.x name=\"\" type=\"file\"/></FileList>", IDS_LIST_BAD_NAME},
        {"no prefix", "<FileList><index.html type=\"file\"/></FileList>", IDS_LIST_BAD_NAME},
        {"deep bad name", "<FileList><f.a type=\"folder\"><f.b name=\"x/y\"/></f.a></FileList>",
         IDS_LIST_BAD_NAME},
        {"billion laughs", laughs, IDS_LIST_HAS_DOCTYPE},
    };
    for (const Refused& refused : cases) {
        QString why;
        EXPECT_FALSE(RemoteFileList::Parse(refused.document, why).has_value()) << refused.what;
        const QString start = loadString(refused.reason).section(u'%', 0, 0);
        EXPECT_TRUE(why.startsWith(start)) << refused.what << ": " << qPrintable(why);
    }
}

TEST(FileListLoad, TakesNestingUpToTheLimit)
{
    const RemoteFileList list = parsed(nested(RemoteFileList::MaxDepth - 1));
    ASSERT_EQ(list.Uploads().size(), 1u);
    EXPECT_EQ(list.Uploads()[0].relativePath.count(u'/'), RemoteFileList::MaxDepth - 1);
}

TEST(FileListLoad, RefusesAHugeFileBeforeReadingIt)
{
    TestFolder folder;
    QByteArray huge = "<FileList>";
    huge += QByteArray(RemoteFileList::MaxBytes, ' ');
    huge += "</FileList>";
    const QString path = folder.write(QStringLiteral("filelist.xml"), huge);
    QString why;
    EXPECT_FALSE(RemoteFileList::Load(path, why).has_value());
    EXPECT_EQ(why, loadString(IDS_LIST_TOO_LARGE).arg(RemoteFileList::MaxBytes));
    EXPECT_FALSE(RemoteFileList::Load(folder.file(QStringLiteral("none.xml")), why));
    EXPECT_TRUE(why.startsWith(loadString(IDS_LIST_UNREADABLE).section(u'%', 0, 0)));
}

TEST(FileListLoad, EntityReferencesAreNeverExpanded)
{
    const RemoteFileList list =
        parsed("<FileList><f.a.jpg type=\"file\" id=\"&amp;&#65;&unknown;\"/></FileList>");
    ASSERT_EQ(list.Entries().size(), 1u);
    // The predefined and numeric references only; nothing a document declares.
    EXPECT_TRUE(list.Entries()[0].id.startsWith(QStringLiteral("&A")));
    EXPECT_LE(list.Entries()[0].id.size(), 12);
}

// ---- pruning against the server's list

TEST(FileListPrune, DropsWhatTheServerHasAlready)
{
    RemoteFileList mine =
        parsed("<FileList>"
               "<f.same.jpg type=\"file\" id=\"v1ABC\"/>"
               "<f.changed.jpg type=\"file\" id=\"v1abd\"/>"
               "<f.new.jpg type=\"file\" id=\"v1abc\"/>"
               "<f.twice.jpg type=\"file\" id=\"v1abc\"/>"
               "<f.unread.jpg type=\"file\" id=\"\"/>"
               "<f.kind type=\"file\" id=\"v1abc\"/>"
               "<f.pages type=\"folder\"><f.p1.html type=\"file\" id=\"v11\"/></f.pages>"
               "<f.images type=\"folder\"><f.a.jpg type=\"file\" id=\"v1a\"/>"
               "<f.b.jpg type=\"file\" id=\"v1b\"/><f.deep type=\"folder\">"
               "<f.c.jpg type=\"file\" id=\"v1c\"/></f.deep></f.images>"
               "</FileList>");
    const RemoteFileList old =
        parsed("<FileList>"
               "<f.same.jpg type=\"file\" id=\"v1abc\"/>"
               "<f.changed.jpg type=\"file\" id=\"v1abc\"/>"
               "<f.twice.jpg type=\"file\" id=\"v1zzz\"/>"
               "<f.twice.jpg type=\"file\" id=\"v1abc\"/>"
               "<f.unread.jpg type=\"file\" id=\"\"/>"
               "<f.kind type=\"folder\"/>"
               "<f.pages type=\"folder\"><f.p1.html type=\"file\" id=\"V11\"/></f.pages>"
               "<f.images type=\"folder\"><f.a.jpg type=\"file\" id=\"v1a\"/>"
               "<f.deep type=\"folder\"><f.c.jpg type=\"file\" id=\"v1c\"/></f.deep>"
               "<f.b.jpg type=\"file\" id=\"v1bb\"/></f.images>"
               "<f.filelist.xml/>"
               "</FileList>");
    mine.Prune(old);
    EXPECT_EQ(pathsOf(mine), (QStringList{"changed.jpg", "new.jpg", "twice.jpg", "unread.jpg",
                                          "kind", "images/b.jpg"}));
    EXPECT_EQ(find(mine.Entries(), QStringLiteral("pages")), nullptr) << "emptied folders go";
    const Entry* images = find(mine.Entries(), QStringLiteral("images"));
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(find(images->entries, QStringLiteral("deep")), nullptr);
}

TEST(FileListPrune, AFolderOnlyPrunesAgainstTheFolderOfTheSameName)
{
    RemoteFileList mine = parsed("<FileList><f.a type=\"folder\"><f.x type=\"file\" id=\"v11\"/>"
                                 "</f.a></FileList>");
    mine.Prune(parsed("<FileList><f.b type=\"folder\"><f.x type=\"file\" id=\"v11\"/></f.b>"
                      "<f.x type=\"file\" id=\"v11\"/></FileList>"));
    EXPECT_EQ(pathsOf(mine), QStringList{"a/x"});
}

TEST(FileListPrune, TheListItselfIsSentLast)
{
    RemoteFileList mine = parsed("<FileList><f.z type=\"folder\"><f.b type=\"file\" id=\"v1\"/>"
                                 "</f.z><f.a type=\"file\" id=\"v1\"/></FileList>");
    mine.Prune(RemoteFileList());
    mine.AppendSelf();
    EXPECT_EQ(pathsOf(mine), (QStringList{"z/b", "a", "filelist.xml"}));
    EXPECT_TRUE(mine.Uploads().back().id.isEmpty());
    EXPECT_TRUE(mine.ToXml().contains("<f.filelist.xml/>"));
    EXPECT_EQ(mine.FileCount(), 2);
}

} // namespace
