// SPDX-License-Identifier: GPL-2.0-or-later
// Generating again into an album's own folder through the real host and plug-in: which files
// are written again (by their inode and time), which stay and which go, the manifest that
// lists them, a re-generation cut short, and pictures keyed by the photo's whole content.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>

#include <sys/stat.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include "outputs/html/albummanifest.h"
#include "outputs/html/contenthash.h"
#include "tests/outputs/htmlalbum.h"
#include "tests/support/sidefileturn.h"
#include "tests/support/testenv.h"

namespace
{

// What tells a file written again from one left alone: a rename gives a new inode, a write
// in place a new time.
struct Stamp {
    ino_t inode = 0;
    timespec modified{};
    QByteArray bytes;
    bool operator==(const Stamp& other) const
    {
        return inode == other.inode && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec && bytes == other.bytes;
    }
};

using Stamps = std::map<QString, Stamp>;

Stamps stampsOf(const QString& folder)
{
    Stamps stamps;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat info {
        };
        stat(QFile::encodeName(path).constData(), &info);
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        stamps[QDir(folder).relativeFilePath(path)] = {info.st_ino, info.st_mtim, file.readAll()};
    }
    return stamps;
}

// The files of after that are new or were written again since before.
std::set<QString> changed(const Stamps& before, const Stamps& after)
{
    std::set<QString> files;
    for (const auto& [name, stamp] : after)
        if (!before.contains(name) || !(before.at(name) == stamp))
            files.insert(name);
    return files;
}

std::set<QString> gone(const Stamps& before, const Stamps& after)
{
    std::set<QString> files;
    for (const auto& [name, stamp] : before)
        if (!after.contains(name))
            files.insert(name);
    return files;
}

const QStringList Photos = {"exs-DSCN0010.jpg",   "exs-canon-ixus.jpg",   "exs-kodak-dc240.jpg",
                            "exs-nikon-e950.jpg", "exs-olympus-c960.jpg", "exs-ricoh-rdc5300.jpg"};

class IncrementalTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(album.ready());
        album.album().SetProgressFactory([this] { return std::make_unique<Cancelling>(cancelAt); });
    }
    // Copies of the shared photos, so that a test may turn them.
    QStringList addPhotos(int count)
    {
        QStringList added;
        for (int i = 0; i < count; ++i) {
            const QString copy = work.file(QStringLiteral("photos/%1.jpg").arg(i + 1));
            QDir().mkpath(QFileInfo(copy).absolutePath());
            QFile::copy(sharedPhoto(Photos[i % Photos.size()]), copy);
            album.addPhoto(copy, QStringLiteral("Photo %1").arg(i + 1));
            added << copy;
        }
        return added;
    }
    QString dest() const { return work.file(QStringLiteral("album")); }
    std::set<QString> picturesOf(const Stamps& stamps) const
    {
        std::set<QString> pictures;
        for (const auto& [name, stamp] : stamps)
            if (name.startsWith(QLatin1String("pictures/")))
                pictures.insert(name);
        return pictures;
    }
    // The manifest lists exactly the folder's files, each at its size and hash.
    void expectManifestTrue() const
    {
        const std::optional<CAlbumManifest> manifest = CAlbumManifest::Load(dest());
        ASSERT_TRUE(manifest.has_value());
        Stamps files = stampsOf(dest());
        files.erase(CAlbumManifest::FileName());
        ASSERT_EQ(manifest->files.size(), files.size());
        for (const auto& [name, stamp] : files) {
            const CAlbumManifest::File* file = manifest->file(name);
            ASSERT_NE(file, nullptr) << name.toStdString();
            EXPECT_EQ(file->size, stamp.bytes.size()) << name.toStdString();
            EXPECT_EQ(file->hash, contenthash::ofBytes(stamp.bytes)) << name.toStdString();
        }
        EXPECT_TRUE(CAlbumManifest::HoldsAlbum(dest(), {}));
    }

    class Cancelling : public Progress
    {
    public:
        explicit Cancelling(const int& at) : m_at(at) {}
        void setTitle(const QString&) override {}
        void setPosition(int percent) override { m_percent = percent; }
        void setText(const QString&) override {}
        bool pump() override { return m_at >= 0 && m_percent >= m_at; }

    private:
        const int& m_at;
        int m_percent = 0;
    };

    SettingsSandbox settings;
    TestFolder work;
    HtmlAlbum album{work.file("user-themes")};
    int cancelAt = -1;
};

} // namespace

TEST_F(IncrementalTest, AnUnchangedAlbumIsLeftAloneFileForFile)
{
    for (const HtmlAlbum::Theme theme :
         {HtmlAlbum::Mosaic, HtmlAlbum::Classic, HtmlAlbum::Slideshow}) {
        SCOPED_TRACE(theme);
        QDir(dest()).removeRecursively();
        ASSERT_TRUE(album.choose(theme));
        album.album().Images().clear();
        addPhotos(4);
        ASSERT_EQ(album.generate(dest()), GV_OK);
        expectManifestTrue();
        const Stamps before = stampsOf(dest());
        ASSERT_EQ(album.generate(dest()), GV_OK);
        const Stamps after = stampsOf(dest());
        EXPECT_TRUE(changed(before, after).empty())
            << changed(before, after).begin()->toStdString();
        EXPECT_TRUE(gone(before, after).empty());
    }
}

TEST_F(IncrementalTest, ATurnedPhotoRewritesOnlyItsPicturesAndThePagesShowingIt)
{
    for (const HtmlAlbum::Theme theme : {HtmlAlbum::Mosaic, HtmlAlbum::Classic}) {
        SCOPED_TRACE(theme);
        QDir(dest()).removeRecursively();
        QDir(work.file("photos")).removeRecursively();
        ASSERT_TRUE(album.choose(theme));
        album.album().Images().clear();
        const QStringList photos = addPhotos(5);
        ASSERT_EQ(album.generate(dest()), GV_OK);
        const Stamps before = stampsOf(dest());
        ASSERT_NO_FATAL_FAILURE(turnBySideFile(photos[1]));
        ASSERT_EQ(album.generate(dest()), GV_OK);
        const Stamps after = stampsOf(dest());
        expectManifestTrue();

        const std::set<QString> newPictures = picturesOf(after), oldPictures = picturesOf(before);
        std::set<QString> made, pages;
        for (const QString& name : changed(before, after))
            if (name != CAlbumManifest::FileName())
                (name.startsWith(QLatin1String("pictures/")) ? made : pages).insert(name);
        EXPECT_EQ(gone(before, after).size(), made.size()) << "the turned photo's old pictures";
        EXPECT_EQ(newPictures.size(), oldPictures.size());
        ASSERT_FALSE(made.empty());
        // What else changed are pages, and each of them shows the turned photo.
        for (const QString& page : pages) {
            // Pages, and the batches of photos that the big albums' scripts make tiles of.
            static const QRegularExpression batch(QStringLiteral("^photos-\\d+\\.js$"));
            EXPECT_TRUE(page.endsWith(QLatin1String(".html")) || batch.match(page).hasMatch())
                << page.toStdString();
            const QString text = QString::fromUtf8(after.at(page).bytes);
            EXPECT_TRUE(std::any_of(made.begin(), made.end(),
                                    [&](const QString& picture) { return text.contains(picture); }))
                << page.toStdString() << " changed without showing the photo";
        }
        EXPECT_TRUE(pages.contains(QStringLiteral("index.html")));
        if (theme == HtmlAlbum::Classic) {
            EXPECT_TRUE(pages.contains(QStringLiteral("photo-2.html")));
            EXPECT_FALSE(pages.contains(QStringLiteral("photo-5.html")));
        }
    }
}

TEST_F(IncrementalTest, ACancelledRegenerationLeavesTheEarlierAlbumWhole)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    addPhotos(12);
    ASSERT_EQ(album.generate(dest()), GV_OK);
    const Stamps before = stampsOf(dest());
    // A new quality gives every picture a new name: everything is made anew.
    album.setNumber("JPEGQuality", 61);
    cancelAt = 40;
    ASSERT_EQ(album.generate(dest()), GV_CANCELLED);
    const Stamps cut = stampsOf(dest());
    for (const auto& [name, stamp] : before)
        if (name != CAlbumManifest::FileName()) {
            ASSERT_TRUE(cut.contains(name)) << name.toStdString();
            EXPECT_EQ(cut.at(name).bytes, stamp.bytes) << name.toStdString();
        }
    EXPECT_GT(picturesOf(cut).size(), picturesOf(before).size()) << "some new pictures were made";
    expectManifestTrue();

    cancelAt = -1;
    ASSERT_EQ(album.generate(dest()), GV_OK);
    const Stamps after = stampsOf(dest());
    EXPECT_EQ(picturesOf(after).size(), picturesOf(before).size());
    for (const QString& picture : picturesOf(before))
        EXPECT_FALSE(after.contains(picture)) << picture.toStdString();
    expectManifestTrue();
}

TEST_F(IncrementalTest, WhatTheAlbumNoLongerUsesGoesAndNothingElse)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    addPhotos(3);
    ASSERT_EQ(album.generate(dest()), GV_OK);
    const Stamps mosaic = stampsOf(dest());
    work.write(QStringLiteral("album/notes.txt"), "the user's own");

    ASSERT_TRUE(album.choose(HtmlAlbum::Classic));
    album.album().Images().pop_back();
    ASSERT_EQ(album.generate(dest()), GV_OK);
    const Stamps classic = stampsOf(dest());
    EXPECT_TRUE(classic.contains(QStringLiteral("notes.txt")));
    const std::optional<CAlbumManifest> manifest = CAlbumManifest::Load(dest());
    ASSERT_TRUE(manifest.has_value());
    EXPECT_EQ(manifest->file(QStringLiteral("notes.txt")), nullptr);
    EXPECT_EQ(manifest->files.size() + 2, classic.size()) << "all but the notes and itself";
    EXPECT_FALSE(CAlbumManifest::HoldsAlbum(dest(), {})) << "the notes are not the album's";
    EXPECT_EQ(manifest->photos.size(), 2u);
    // Mosaic's own files are gone, and the folders they leave empty with them.
    int removed = 0;
    for (const auto& [name, stamp] : mosaic) {
        if (manifest->files.contains(name) || name == CAlbumManifest::FileName())
            continue;
        ++removed;
        EXPECT_FALSE(classic.contains(name)) << name.toStdString();
        const QDir folder(dest() + u'/' + QFileInfo(name).path());
        EXPECT_TRUE(!folder.exists() || !folder.isEmpty()) << name.toStdString();
    }
    EXPECT_GT(removed, 2) << "the third photo's pictures at least";
}

// Only the album's own files are ever removed: a manifest naming a place outside is none.
TEST_F(IncrementalTest, AManifestNamingPlacesOutsideIsNoManifest)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Slideshow));
    addPhotos(1);
    ASSERT_EQ(album.generate(dest()), GV_OK);
    work.write(QStringLiteral("outside.txt"), "not the album's");
    work.write(QStringLiteral("album/mine.txt"), "the user's");
    CAlbumManifest lying = *CAlbumManifest::Load(dest());
    lying.files[QStringLiteral("../outside.txt")] = {15, QStringLiteral("00")};
    lying.files[QStringLiteral("mine.txt")] = {10, QStringLiteral("00")};
    ASSERT_TRUE(lying.Save(dest()));
    EXPECT_FALSE(CAlbumManifest::Load(dest()).has_value());
    album.album().Images().clear();
    ASSERT_EQ(album.generate(dest()), GV_OK);
    EXPECT_TRUE(QFileInfo::exists(work.file(QStringLiteral("outside.txt"))));
    EXPECT_TRUE(QFileInfo::exists(work.file(QStringLiteral("album/mine.txt"))));
}

// Two photos of one size whose first 30 KB agree (a camera's header is most of that) are still
// two photos: their pictures are keyed by all their bytes.
TEST_F(IncrementalTest, PhotosAlikeInSizeAndHeaderGetTheirOwnPictures)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    QFile source(sharedPhoto(QStringLiteral("exs-kodak-dc240.jpg")));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray original = source.readAll();
    ASSERT_GT(original.size(), 40000);
    QByteArray other = original;
    // Flip the lowest bit of scan bytes well past the header, never making or breaking a marker.
    for (qsizetype i = 60000; i < 60200; ++i)
        if (static_cast<uchar>(other[i]) < 0xF0 && static_cast<uchar>(other[i - 1]) != 0xFF)
            other[i] = static_cast<char>(other[i] ^ 0x01);
    ASSERT_NE(other, original);
    const QString one = work.write(QStringLiteral("photos/one.jpg"), original);
    const QString two = work.write(QStringLiteral("photos/two.jpg"), other);
    album.addPhoto(one, QStringLiteral("One"));
    album.addPhoto(two, QStringLiteral("Two"));
    ASSERT_EQ(std::string(album.host().GetImageFingerprint(0)),
              std::string(album.host().GetImageFingerprint(1)))
        << "the host's fingerprint cannot tell them apart";
    ASSERT_EQ(album.generate(dest()), GV_OK);
    const std::set<QString> both = picturesOf(stampsOf(dest()));
    // Each alone in an album of its own: not one picture in common.
    std::set<QString> alone[2];
    for (int photo = 0; photo < 2; ++photo) {
        album.album().Images().clear();
        album.addPhoto(photo == 0 ? one : two);
        QDir(dest()).removeRecursively();
        ASSERT_EQ(album.generate(dest()), GV_OK);
        alone[photo] = picturesOf(stampsOf(dest()));
    }
    std::set<QString> common;
    std::set_intersection(alone[0].begin(), alone[0].end(), alone[1].begin(), alone[1].end(),
                          std::inserter(common, common.begin()));
    EXPECT_TRUE(common.empty()) << common.begin()->toStdString();
    EXPECT_TRUE(std::includes(both.begin(), both.end(), alone[0].begin(), alone[0].end()));
    EXPECT_GT(both.size(), alone[0].size());
}

TEST_F(IncrementalTest, AnUnchangedPhotoIsNotReadAgain)
{
    ASSERT_TRUE(album.choose(HtmlAlbum::Mosaic));
    const QStringList photos = addPhotos(2);
    ASSERT_EQ(album.generate(dest()), GV_OK);
    // The hash the manifest keeps for the photo's size and time stands for its content: a
    // made-up one shows whether the photo was read again.
    CAlbumManifest manifest = *CAlbumManifest::Load(dest());
    ASSERT_EQ(manifest.photos.size(), 2u);
    const QString real = manifest.photos[photos[0]].hash;
    EXPECT_EQ(real, contenthash::ofFile(photos[0]));
    manifest.photos[photos[0]].hash = QStringLiteral("0123456789abcdef0123456789abcdef");
    ASSERT_TRUE(manifest.Save(dest()));
    const Stamps before = stampsOf(dest());
    ASSERT_EQ(album.generate(dest()), GV_OK);
    EXPECT_FALSE(changed(before, stampsOf(dest())).empty()) << "the cached hash was used";
    // A photo whose time changed is read again, whatever the manifest says.
    manifest = *CAlbumManifest::Load(dest());
    manifest.photos[photos[0]].modified -= 1000;
    ASSERT_TRUE(manifest.Save(dest()));
    ASSERT_EQ(album.generate(dest()), GV_OK);
    EXPECT_EQ(CAlbumManifest::Load(dest())->photos.at(photos[0]).hash, real);
}

TEST(AlbumManifestTest, ReadsWhatItWritesAndNothingItCannotTrust)
{
    CAlbumManifest manifest;
    manifest.theme = 2;
    manifest.files[QStringLiteral("index.html")] = {120, QStringLiteral("ab12")};
    manifest.files[QStringLiteral("pictures/a b-é.jpg")] = {5000000000ll, QStringLiteral("ff")};
    manifest.pictures[QStringLiteral("0c0d")] = {
        true,
        QStringLiteral("#102030"),
        QStringLiteral("data:image/jpeg;base64,AAAA"),
        {{1600, 1067, 0}, {800, 533, 1}, {800, 533, 1}, {0, 0, -1}}};
    manifest.photos[QStringLiteral("/photos/x.jpg")] = {42, 1700000000123ll,
                                                        QStringLiteral("0a0b")};
    // Photo paths are anything a file system allows: quotes, backslashes, control characters.
    manifest.photos[QStringLiteral("/photos/\"quoted\" \\ tab\t new\nline \u0001 \u00e9\U0001f600.jpg")] =
        {7, 1, QStringLiteral("0c")};
    const std::optional<CAlbumManifest> back = CAlbumManifest::fromJson(manifest.toJson());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->theme, 2);
    EXPECT_EQ(back->files, manifest.files);
    EXPECT_EQ(back->pictures, manifest.pictures);
    EXPECT_EQ(back->photos, manifest.photos);

    // Each is sound but for one thing.
    const auto with = [](const char* files, const char* pictures, const char* photos) {
        return QStringLiteral(R"({"format": 1, "files": [%1], "pictures": [%2], "photos": [%3]})")
            .arg(QLatin1String(files), QLatin1String(pictures), QLatin1String(photos))
            .toUtf8();
    };
    ASSERT_TRUE(CAlbumManifest::fromJson(with(R"({"path": "x", "size": 1, "hash": "ab"})",
                                              R"({"key": "ab", "outputs": [[1, 1, 0]]})",
                                              R"({"path": "/p", "size": 1, "modified": 2,
                                                  "hash": "ab"})"))
                    .has_value());
    const QByteArray broken[] = {
        "",
        "[]",
        "{\"format\": 1, \"files\": [",
        R"({"format": 2, "files": [], "pictures": [], "photos": []})",
        R"({"format": 1, "files": [], "photos": []})",
        R"({"format": 1, "files": {}, "pictures": [], "photos": []})",
        with(R"({"path": "../x", "size": 1, "hash": "ab"})", "", ""),
        with(R"({"path": "/etc/x", "size": 1, "hash": "ab"})", "", ""),
        with(R"({"path": "a\\..\\x", "size": 1, "hash": "ab"})", "", ""),
        with(R"({"path": "a//x", "size": 1, "hash": "ab"})", "", ""),
        with(R"({"path": "a/./x", "size": 1, "hash": "ab"})", "", ""),
        with(R"({"path": "x", "size": -1, "hash": "ab"})", "", ""),
        with(R"({"path": "x", "size": 1.5, "hash": "ab"})", "", ""),
        with(R"({"path": "x", "size": 1, "hash": "xyz"})", "", ""),
        with(R"({"path": "x", "size": 1, "hash": "ab"}, {"path": "x", "size": 2, "hash": "cd"})",
             "", ""),
        with(R"({"path": "gallivex-album.json", "size": 1, "hash": "ab"})", "", ""),
        with("", R"({"key": "ab", "outputs": [[1, 1, 1]]})", ""),
        with("", R"({"key": "ab", "outputs": [[1, 1, 0], [1, 1, -1], [1, 1, 1]]})", ""),
        with("", R"({"key": "ab", "outputs": [[1, 1]]})", ""),
        with("", R"({"key": "ab", "outputs": [[-1, 1, 0]]})", ""),
        with("", R"({"key": "", "outputs": []})", ""),
        with("", "", R"({"path": "/p.jpg", "size": 1})"),
    };
    for (const QByteArray& json : broken)
        EXPECT_FALSE(CAlbumManifest::fromJson(json).has_value()) << json.toStdString();
}
