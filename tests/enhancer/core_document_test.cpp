// SPDX-License-Identifier: GPL-2.0-or-later
// The editor's document: one level of undo, the modified mark, and the Save, Save As, Open
// and navigation decisions, answered by scripted dialogs.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "enhancer/imagefile.h"
#include "enhancer/lumivexdoc.h"
#include "enhancer/lumivexstrings.h"
#include "platform/displaytransform.h"
#include "platform/imagemetadata.h"
#include "tests/enhancer/corefixture.h"
#include "tests/support/testenv.h"

namespace
{

class DocumentTest : public ::testing::Test
{
protected:
    TestFolder folder;
    CLumivexDoc doc;
    ScriptedPrompter prompter;
    EditorChoosers choosers;
    std::vector<int> hints;
    std::vector<bool> undoButtons;
    int saves = 0;
    int initialUpdates = 0;

    void SetUp() override
    {
        doc.listeners.updateViews = [this](int hint) { hints.push_back(hint); };
        doc.listeners.undoButton = [this](bool undo) { undoButtons.push_back(undo); };
        doc.listeners.imageSaved = [this] { ++saves; };
        doc.listeners.initialUpdate = [this] { ++initialUpdates; };
    }

    // A 6 x 4 photo of one grey value.
    QString photo(const QString& name, int grey = 50)
    {
        QImage picture(6, 4, QImage::Format_ARGB32);
        picture.fill(qRgb(grey, grey, grey));
        const QString mime =
            EncoderMimeType(name).isEmpty() ? QStringLiteral("image/png") : EncoderMimeType(name);
        return writePicture(folder.file(name), picture, mime);
    }
    // An edit whose result is filled with value, of the given size.
    void apply(uint8_t value, int width = 6, int height = 4)
    {
        PackedPixels result = filledPixels(width, height, value);
        ASSERT_TRUE(doc.ApplyResult(MakeDibHeader(width, height), result.release()));
    }
    int shown() const { return doc.Current().Pixels()[0]; }
    int onDisk(const QString& path) const
    {
        ImageRecord image;
        return LoadImageFile(path, image) ? image.Pixels()[0] : -1;
    }
};

// Undo sequences: a applies an edit (10, 20, ... in turn), u and r are the Undo command as it
// undoes and redoes, s saves.
struct UndoCase {
    const char* steps;
    int image; // the first byte of the image shown (50: as loaded)
    int counter;
    bool modified;
    const char* menu;
};

TEST_F(DocumentTest, UndoSequences)
{
    const UndoCase cases[] = {
        {"a", 10, 1, true, "Undo \tCtrl+Z"},
        {"au", 50, 0, false, "Redo \tCtrl+Z"},
        {"aur", 10, 1, true, "Undo \tCtrl+Z"},
        {"auru", 50, 0, false, "Redo \tCtrl+Z"}, // back to the loaded image
        {"aau", 10, 1, true, "Redo \tCtrl+Z"},   // the first edit's result
        {"aauu", 20, 2, true, "Undo \tCtrl+Z"},  // the second Undo is a Redo
        {"aauuu", 10, 1, true, "Redo \tCtrl+Z"}, // the loaded image cannot be reached
        {"aua", 20, 1, true, "Undo \tCtrl+Z"},
        {"auau", 50, 0, false, "Redo \tCtrl+Z"},
        {"as", 10, 0, false, "Undo \tCtrl+Z"},
        {"asu", 50, -1, true, "Redo \tCtrl+Z"}, // the file holds the edit: modified
        {"asur", 10, 0, false, "Undo \tCtrl+Z"},
        {"asuaur", 20, 0, true, "Undo \tCtrl+Z"}, // the file holds neither image shown
        {"aasu", 10, -1, true, "Redo \tCtrl+Z"},
    };
    int n = 0;
    for (const UndoCase& c : cases) {
        ASSERT_TRUE(doc.Load(photo(QStringLiteral("u%1.png").arg(n++))));
        uint8_t next = 10;
        for (const char* step = c.steps; *step != '\0'; ++step) {
            if (*step == 'a')
                apply(std::exchange(next, uint8_t(next + 10)));
            else if (*step == 'u' || *step == 'r')
                doc.UndoRedo();
            else
                ASSERT_TRUE(doc.Save(prompter, choosers)) << c.steps;
        }
        EXPECT_EQ(shown(), c.image) << c.steps;
        EXPECT_EQ(doc.ChangeCounter(), c.counter) << c.steps;
        EXPECT_EQ(doc.IsModified(), c.modified) << c.steps;
        EXPECT_EQ(doc.UndoMenuText(), QLatin1String(c.menu)) << c.steps;
        EXPECT_EQ(doc.UndoTooltip(), loadLumivexString(doc.UndoAvailable() ? 176 : 179)) << c.steps;
        EXPECT_TRUE(doc.CanUndoRedo()) << c.steps;
        EXPECT_NE(doc.UndoAvailable(), doc.RedoAvailable()) << c.steps;
    }
}

TEST_F(DocumentTest, LoadingStartsAfreshWithoutUndo)
{
    const QString first = photo(QStringLiteral("first.png"));
    const QString second = photo(QStringLiteral("second.png"), 90);
    ASSERT_TRUE(doc.Load(first));
    EXPECT_FALSE(doc.CanUndoRedo());
    apply(10);
    apply(20);
    ASSERT_TRUE(doc.Load(second));
    EXPECT_FALSE(doc.CanUndoRedo());
    EXPECT_FALSE(doc.Previous().HasPixels());
    EXPECT_EQ(doc.ChangeCounter(), 0);
    apply(30);
    doc.UndoRedo();
    // The counter restarted with the new photo: undoing its one edit leaves it unmodified.
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(shown(), 90);
}

TEST_F(DocumentTest, AnEditThatGaveNoResultChangesNothing)
{
    ASSERT_TRUE(doc.Load(photo(QStringLiteral("n.png"))));
    apply(10);
    hints.clear();
    EXPECT_FALSE(doc.ApplyResult(MakeDibHeader(6, 4), nullptr));
    EXPECT_EQ(shown(), 10);
    EXPECT_EQ(doc.ChangeCounter(), 1);
    EXPECT_TRUE(doc.UndoAvailable());
    EXPECT_TRUE(hints.empty());
}

TEST_F(DocumentTest, WhatTheWindowsAreTold)
{
    ASSERT_TRUE(doc.Load(photo(QStringLiteral("w.png"))));
    hints.clear();
    undoButtons.clear();
    apply(10);       // same size
    apply(20, 3, 2); // smaller: the view sizes itself again
    doc.UndoRedo();
    doc.UndoRedo();
    EXPECT_EQ(hints, (std::vector<int>{1, 0, 500, 500}));
    EXPECT_EQ(undoButtons, (std::vector<bool>{true, true, false, true}));
    EXPECT_TRUE(doc.Current().IsPacked());
    EXPECT_EQ(doc.Current().widthPixels, 3);
    EXPECT_EQ(doc.Current().path, doc.Previous().path);
    ASSERT_TRUE(doc.New(prompter, choosers)); // modified: asked, default Yes saves
    EXPECT_FALSE(doc.CanUndoRedo());
    EXPECT_FALSE(doc.Current().HasPixels());
    EXPECT_EQ(undoButtons.back(), true);
    EXPECT_EQ(doc.Title(), QStringLiteral("Lumi"));
}

TEST_F(DocumentTest, TheTitleMarkFollowsTheModifiedFlag)
{
    const QString a = photo(QStringLiteral("alpha.png"));
    const QString b = photo(QStringLiteral("beta.png"));
    EXPECT_EQ(doc.Title(), QStringLiteral("Lumi"));
    ASSERT_TRUE(doc.StartList({a, b}, prompter));
    EXPECT_EQ(doc.Title(), QStringLiteral("alpha.png"));
    apply(10);
    EXPECT_EQ(doc.Title(), QStringLiteral("alpha.png *"));
    doc.SetModifiedFlag(true); // set twice: one mark
    EXPECT_EQ(doc.Title(), QStringLiteral("alpha.png *"));
    prompter.answers = {Prompter::Answer::No};
    ASSERT_TRUE(doc.GoNext(prompter, choosers));
    // The new name keeps all its characters when the mark goes.
    EXPECT_EQ(doc.Title(), QStringLiteral("beta.png"));
    EXPECT_EQ(prompter.texts, QStringList{loadLumivexString(142)});
    EXPECT_EQ(onDisk(a), 50); // not saved
}

TEST_F(DocumentTest, SaveWritesTheCurrentPathAndTellsTheAlbumBuilder)
{
    const QString path = photo(QStringLiteral("s.png"));
    ASSERT_TRUE(doc.Load(path));
    apply(120);
    ASSERT_TRUE(doc.Save(prompter, choosers));
    EXPECT_EQ(onDisk(path), 120);
    EXPECT_EQ(saves, 1);
    EXPECT_TRUE(choosers.suggestions.isEmpty()); // no dialog
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Title(), QStringLiteral("s.png"));
}

TEST_F(DocumentTest, AFileWithoutEncoderGoesToSaveAsUntilItHasAnExtension)
{
    const QString xyz = folder.file(QStringLiteral("photo.xyz"));
    ASSERT_TRUE(QFile::rename(photo(QStringLiteral("p.png")), xyz));
    ASSERT_TRUE(doc.Load(xyz));
    EXPECT_TRUE(doc.NeedsSaveAs());
    apply(70);
    ASSERT_TRUE(QDir().mkpath(folder.file(QStringLiteral("my.dir"))));
    choosers.saveAnswers = {folder.file(QStringLiteral("out/picture")).replace('.', '_'),
                            folder.file(QStringLiteral("my.dir/picture"))};
    EXPECT_FALSE(doc.Save(prompter, choosers));
    // Asked again after the name without a dot; the name in a dotted folder passes and then
    // fails for want of an encoder.
    EXPECT_EQ(prompter.texts, (QStringList{loadLumivexString(155), loadLumivexString(138)}));
    EXPECT_EQ(choosers.suggestions.size(), 2);
    EXPECT_EQ(choosers.suggestions.front(), folder.file(QStringLiteral("photo.jpg")));
    EXPECT_EQ(choosers.filters.front(), loadLumivexString(57381));
    EXPECT_EQ(saves, 1); // told after the failed attempt too
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.NeedsSaveAs());
    EXPECT_FALSE(doc.SaveAs(prompter, choosers)); // cancelled: nothing said, nothing written
    EXPECT_EQ(saves, 1);

    prompter.texts.clear();
    const QString out = folder.file(QStringLiteral("out.png"));
    choosers.saveAnswers = {out};
    ASSERT_TRUE(doc.Save(prompter, choosers));
    EXPECT_TRUE(prompter.texts.isEmpty());
    EXPECT_EQ(onDisk(out), 70);
    EXPECT_FALSE(doc.NeedsSaveAs());
    EXPECT_EQ(doc.PathName(), out);
    EXPECT_EQ(doc.Title(), QStringLiteral("out.png"));
    EXPECT_EQ(saves, 2);
}

TEST_F(DocumentTest, AMissingFileGoesToSaveAs)
{
    const QString path = photo(QStringLiteral("gone.png"));
    ASSERT_TRUE(doc.Load(path));
    ASSERT_TRUE(QFile::remove(path));
    apply(33);
    choosers.saveAnswers = {path};
    ASSERT_TRUE(doc.Save(prompter, choosers));
    EXPECT_EQ(choosers.suggestions, QStringList{path});
    EXPECT_EQ(onDisk(path), 33);
}

TEST_F(DocumentTest, AReadOnlyTargetIsWrittenOnlyWhenTheUserSaysSo)
{
    const QString path = photo(QStringLiteral("ro.png"));
    ASSERT_TRUE(doc.Load(path));
    apply(150);
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    // Read-only: Save goes to Save As, and the same name there asks first.
    choosers.saveAnswers = {path};
    prompter.answers = {Prompter::Answer::No};
    EXPECT_FALSE(doc.Save(prompter, choosers));
    EXPECT_EQ(prompter.texts, QStringList{loadLumivexString(144)});
    EXPECT_EQ(onDisk(path), 50);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(saves, 0);

    choosers.saveAnswers = {path};
    prompter.answers = {Prompter::Answer::Yes};
    prompter.texts.clear();
    ASSERT_TRUE(doc.Save(prompter, choosers));
    EXPECT_EQ(prompter.texts, QStringList{loadLumivexString(144)});
    EXPECT_EQ(onDisk(path), 150);
    EXPECT_TRUE(QFileInfo(path).permissions() & QFileDevice::WriteOwner);
    EXPECT_FALSE(doc.IsModified());
}

// Files the administrator may not change either: the permission change itself fails.
class Immutable
{
public:
    explicit Immutable(const QString& path) : m_path(QFile::encodeName(path))
    {
        m_set = setFlag(true);
    }
    ~Immutable()
    {
        if (m_set)
            setFlag(false);
    }
    bool isSet() const { return m_set; }

private:
    bool setFlag(bool on)
    {
        const int fd = ::open(m_path.constData(), O_RDONLY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }
    QByteArray m_path;
    bool m_set = false;
};

TEST_F(DocumentTest, AReadOnlyTargetThatStaysReadOnlySaysSo)
{
    const QString path = photo(QStringLiteral("locked.png"));
    ASSERT_TRUE(doc.Load(path));
    apply(150);
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
    const Immutable locked(path);
    if (!locked.isSet())
        GTEST_SKIP() << "this file system or user cannot make a file immutable";
    choosers.saveAnswers = {path};
    prompter.answers = {Prompter::Answer::Yes};
    EXPECT_FALSE(doc.Save(prompter, choosers));
    EXPECT_EQ(prompter.texts, (QStringList{loadLumivexString(144), loadLumivexString(146)}));
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentTest, ACameraPhotoEditedAndSavedKeepsItsCameraData)
{
    const QString original = sharedTestData(QStringLiteral("photos/exs-Nikon_D70.jpg"));
    const QString path = folder.file(QStringLiteral("nikon.jpg"));
    ASSERT_TRUE(QFile::copy(original, path));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    ASSERT_TRUE(doc.Load(path));
    const ImageRecord& image = doc.Current();
    PackedPixels edited(ImageRecord::AllocatePacked(image.header));
    for (uint32_t i = 0; i < image.byteSize; ++i)
        edited.get()[i] = uint8_t(255 - image.Pixels()[i]);
    ASSERT_TRUE(doc.ApplyResult(image.header, edited.release()));
    ASSERT_TRUE(doc.Save(prompter, choosers))
        << qPrintable(prompter.texts.join('|')) << qPrintable(choosers.suggestions.join('|'));
    auto items = [](const QString& file) {
        std::vector<imaging::PropertyItem> all = imaging::metadata::read(file);
        std::erase_if(all, [](const imaging::PropertyItem& item) {
            return item.id == imaging::TagOrientation;
        });
        return all;
    };
    EXPECT_FALSE(items(original).empty());
    EXPECT_EQ(items(path), items(original));
    EXPECT_EQ(onDisk(path) / 16, (255 - onDisk(original)) / 16); // the edit is in the file
}

TEST_F(DocumentTest, OpenOneOrSeveral)
{
    const QString a = photo(QStringLiteral("a.png")), b = photo(QStringLiteral("b.png"), 60);
    const QString c = photo(QStringLiteral("c.png"), 70);
    choosers.openAnswers = {{a, b, c}, {c, a}, {b}};
    ASSERT_TRUE(doc.Open(prompter, choosers));
    // The editor's own types and the newer photo types this machine decodes.
    EXPECT_EQ(choosers.filters.front(), OpenFilter());
    EXPECT_TRUE(choosers.filters.front().startsWith(loadLumivexString(57380).section(u'|', 0, 1)));
    EXPECT_TRUE(doc.ListMode());
    EXPECT_EQ(doc.NavigationIndex(), 0);
    EXPECT_FALSE(doc.CanGoPrevious());
    EXPECT_TRUE(doc.CanGoNext());
    EXPECT_EQ(hints.back(), 500);
    ASSERT_TRUE(doc.GoNext(prompter, choosers));
    ASSERT_TRUE(doc.GoNext(prompter, choosers));
    EXPECT_EQ(shown(), 70);
    EXPECT_FALSE(doc.CanGoNext());
    EXPECT_FALSE(doc.GoNext(prompter, choosers));
    // A second selection replaces the list.
    ASSERT_TRUE(doc.Open(prompter, choosers));
    EXPECT_EQ(doc.NavigationList(), (QStringList{c, a}));
    EXPECT_EQ(doc.NavigationIndex(), 0);
    EXPECT_EQ(shown(), 70);
    // One photo opens alone.
    ASSERT_TRUE(doc.Open(prompter, choosers));
    EXPECT_FALSE(doc.ListMode());
    EXPECT_TRUE(doc.NavigationList().isEmpty());
    EXPECT_FALSE(doc.CanGoNext());
    EXPECT_EQ(shown(), 60);
    // Cancelled: nothing changes.
    EXPECT_FALSE(doc.Open(prompter, choosers));
    EXPECT_EQ(doc.PathName(), b);
    EXPECT_TRUE(prompter.texts.isEmpty());
}

TEST_F(DocumentTest, AListOfOnePhoto)
{
    const QString only = photo(QStringLiteral("only.png"));
    ASSERT_TRUE(doc.StartList({only}, prompter));
    EXPECT_TRUE(doc.ListMode());
    EXPECT_EQ(doc.NavigationIndex(), 0);
    EXPECT_FALSE(doc.CanGoPrevious());
    EXPECT_FALSE(doc.CanGoNext());
    EXPECT_EQ(initialUpdates, 1);
}

TEST_F(DocumentTest, NavigationSavesWhenTheUserSaysYes)
{
    const QString a = photo(QStringLiteral("a.png")), b = photo(QStringLiteral("b.png"), 60);
    ASSERT_TRUE(doc.StartList({a, b}, prompter));
    apply(99);
    prompter.answers = {Prompter::Answer::Yes};
    ASSERT_TRUE(doc.GoNext(prompter, choosers));
    EXPECT_EQ(onDisk(a), 99);
    EXPECT_EQ(shown(), 60);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(initialUpdates, 2);
    // Going back needs no question: nothing was changed.
    prompter.texts.clear();
    ASSERT_TRUE(doc.GoPrevious(prompter, choosers));
    EXPECT_TRUE(prompter.texts.isEmpty());
    EXPECT_EQ(shown(), 99);
}

TEST_F(DocumentTest, AnImageWhoseSaveWasCancelledStays)
{
    const QString xyz = folder.file(QStringLiteral("a.xyz"));
    ASSERT_TRUE(QFile::rename(photo(QStringLiteral("a.png")), xyz));
    const QString b = photo(QStringLiteral("b.png"), 60);
    ASSERT_TRUE(doc.StartList({xyz, b}, prompter));
    apply(11);
    prompter.answers = {Prompter::Answer::Yes}; // save: Save As, then cancelled
    EXPECT_FALSE(doc.GoNext(prompter, choosers));
    EXPECT_EQ(doc.NavigationIndex(), 0);
    EXPECT_EQ(shown(), 11);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentTest, ABrokenPhotoInTheListSaysWhyAndCanBeSteppedOver)
{
    const QString a = photo(QStringLiteral("a.png"));
    const QString broken = folder.write(QStringLiteral("broken.jpg"), "not a photo");
    const QString c = photo(QStringLiteral("c.png"), 70);
    ASSERT_TRUE(doc.StartList({a, broken, c}, prompter));
    EXPECT_FALSE(doc.GoNext(prompter, choosers));
    EXPECT_EQ(doc.NavigationIndex(), 1);
    EXPECT_FALSE(doc.Current().HasPixels());
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_TRUE(prompter.texts[0].contains(broken)) << qPrintable(prompter.texts[0]);
    EXPECT_FALSE(doc.CanUndoRedo());
    EXPECT_FALSE(doc.Save(prompter, choosers)); // nothing to save
    ASSERT_TRUE(doc.GoNext(prompter, choosers));
    EXPECT_EQ(shown(), 70);
}

} // namespace
