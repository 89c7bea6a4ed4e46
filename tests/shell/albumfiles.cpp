// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/shell/albumfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include "album/albumproject.h"
#include "album/projectfile.h"
#include "platform/choosers.h"
#include "tests/support/testenv.h"

namespace
{

class NoFileChoosers : public Choosers
{
public:
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString folder(const QString&, const QString&) override { return {}; }
    std::optional<uint32_t> colour(uint32_t) override { return std::nullopt; }
    bool font(GVFontBlock&) override { return false; }
};

void age(const QString& path, qint64 seconds)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-seconds),
                                 QFileDevice::FileModificationTime));
}

} // namespace

QString writeAlbum(const QString& folder, const QString& fileTitle, const AlbumFile& spec,
                   const std::string& pluginFolder)
{
    QDir().mkpath(folder);
    AlbumProject album;
    album.PluginManager().SetPluginFolders({pluginFolder});
    EXPECT_TRUE(album.Initialise());
    EXPECT_TRUE(album.ChooseTemplate(0, 10)); // Alpha's "Classic"
    EXPECT_EQ(album.Parameters(nullptr), 0);
    album.SetDestination(spec.destination.toUtf8().constData());
    EXPECT_TRUE(album.SetAlbumName(spec.name.toUtf8().constData()));
    if (spec.favorite)
        album.SetFavoritesName(spec.name.toUtf8().constData());
    for (int i = 0; i < spec.photos; ++i) {
        const QString photo =
            QDir(folder).filePath(QStringLiteral("photos/%1-%2.jpg").arg(fileTitle).arg(i));
        QDir().mkpath(QDir(folder).filePath(QStringLiteral("photos")));
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(QColor(40 * i % 255, 120, 200));
        EXPECT_TRUE(picture.save(photo, "JPG"));
        AlbumImage image{};
        image.path = photo.toUtf8().constData();
        album.Images().push_back(image);
    }
    const QString path = QDir(folder).filePath(fileTitle + QStringLiteral(".gvp"));
    ScriptedPrompter prompter;
    NoFileChoosers choosers;
    EXPECT_EQ(ProjectFile(album, prompter, choosers).WriteProject(path.toUtf8().constData()), 0);
    if (spec.thumbnail) {
        QImage thumbnail(128, 100, QImage::Format_RGB32);
        thumbnail.fill(QColor(230, 120, 30));
        EXPECT_TRUE(thumbnail.save(path + QStringLiteral(".jpg"), "JPG"));
    }
    age(path, spec.age);
    return path;
}

QString writeCorruptAlbum(const QString& folder, const QString& fileTitle, qint64 seconds)
{
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(fileTitle + QStringLiteral(".gvp"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\"?><project><broken");
    file.close();
    age(path, seconds);
    return path;
}
