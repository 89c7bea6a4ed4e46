// SPDX-License-Identifier: GPL-2.0-or-later
// The image list page inside a started wizard, with scripted choosers, a temporary folder of
// its own, photos copied from the test data and a starter that records programs.
#pragma once

#include <QDir>
#include <QFile>
#include <QtEndian>

#include "images/imageadder.h"
#include "platform/displaytransform.h"
#include "platform/imaging.h"
#include "shell/addimagedlg.h"
#include "tests/shell/sheetfixture.h"

namespace imagepage
{

class ScriptedImageChoosers : public ImageListChoosers
{
public:
    QStringList openImages(const QString& folder, const QString& filter) override
    {
        startFolders << folder;
        filters << filter;
        return files;
    }
    std::optional<FolderChoice> imageFolder(const QString& title,
                                            const FolderChoice& preset) override
    {
        titles << title;
        presets.push_back(preset);
        return folder;
    }
    QStringList files;
    std::optional<FolderChoice> folder;
    QStringList startFolders, filters, titles;
    std::vector<FolderChoice> presets;
};

class ImagePageTest : public SheetTest
{
protected:
    void SetUp() override
    {
        SheetTest::SetUp();
        // Without its photos every test here would go on to index an empty image list.
        for (const char* name : {"exs-Nikon_D70.jpg", "mdi-photoshop-8x12-rgb24.png", "mdi-mspaint-10x10.gif"})
            ASSERT_TRUE(QFileInfo::exists(sharedTestData(QStringLiteral("photos/") + name)));
    }
    CAddImageDlg& page() { return static_cast<CAddImageDlg&>(*sheet->Page(3)); }
    void openPage()
    {
        startSheet();
        walkTo(CAlbumSheet::ImageListPage);
        auto scripted = std::make_unique<ScriptedImageChoosers>();
        chooser = scripted.get();
        page().SetImageChoosers(std::move(scripted));
        page().SetTemporaryFolder(temporary.path());
        page().SetStarter([this](const QString& program, const QStringList& arguments) {
            started << (QStringList{program} + arguments);
            return true;
        });
    }
    QString photo(const QString& name, const QString& as = QString())
    {
        const QString target = photos.file(as.isEmpty() ? name : as);
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(sharedTestData(QStringLiteral("photos/") + name), target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }
    // Adds three photos through the Add command: a.jpg, b.png, c.gif.
    void addThree()
    {
        chooser->files = {photo("exs-Nikon_D70.jpg", "a.jpg"),
                          photo("mdi-photoshop-8x12-rgb24.png", "b.png"),
                          photo("mdi-mspaint-10x10.gif", "c.gif")};
        page().OnCommand(CAddImageDlg::ID_ADD);
    }
    QStringList titles() const
    {
        QStringList shown;
        for (const PageImage& row : const_cast<ImagePageTest*>(this)->page().Rows().Rows())
            shown << row.title;
        return shown;
    }
    void next() { sheet->Button(CMyPropertySheet::ID_WIZNEXT)->click(); }
    void back() { sheet->Button(CMyPropertySheet::ID_WIZBACK)->click(); }

    TestFolder photos;
    TestFolder temporary;
    ScriptedImageChoosers* chooser = nullptr;
    QList<QStringList> started;
};

inline QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline int orientationIn(const QString& path)
{
    const auto image = imaging::Image::open(path);
    const auto item = image ? image->property(imaging::TagOrientation) : std::nullopt;
    return item ? qFromLittleEndian<uint16_t>(item->value.constData()) : 0;
}

} // namespace imagepage

using namespace imagepage;
