// SPDX-License-Identifier: GPL-2.0-or-later
// The editor and photos from today's phones: the open dialog offers them, they open upright
// and at their size, and saving an edit never writes over the original, which the editor
// cannot write in its own type.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "enhancer/imagefile.h"
#include "enhancer/lumivexdoc.h"
#include "enhancer/lumivexstrings.h"
#include "platform/displaytransform.h"
#include "platform/imaging.h"
#include "platform/phototypes.h"
#include "tests/enhancer/corefixture.h"
#include "tests/support/phonephotos.h"
#include "tests/support/testenv.h"
#include "tests/support/turnedheic.h"

namespace
{

const QColor Red(255, 0, 0), Green(0, 255, 0), Blue(0, 0, 255), White(255, 255, 255);

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString keepsText(const QString& type, const QString& name)
{
    return loadLumivexString(IDS_LX_KEEPS_ORIGINAL).arg(type, name);
}

class PhonePhotoTest : public ::testing::Test
{
protected:
    TestFolder folder;
    CLumivexDoc doc;
    ScriptedPrompter prompter;
    EditorChoosers choosers;

    // The camera photo (640 x 480) in the format of name's extension.
    QString phonePhoto(const QString& name)
    {
        return makePhonePhoto(sharedTestData("photos/exs-DSCN0010.jpg"), folder.path(), name);
    }
    void expectShown(const ImageRecord& image, const std::vector<QColor>& expected,
                     const QString& what)
    {
        const std::vector<QColor> got = quarterColours(image);
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_TRUE(closeTo(got[i], expected[i], 40))
                << qPrintable(what) << " quarter " << i << ": " << qPrintable(got[i].name());
    }
    void edit()
    {
        const BITMAPINFOHEADER header = doc.Current().header;
        PackedPixels result = filledPixels(header.biWidth, header.biHeight, 90);
        ASSERT_TRUE(doc.ApplyResult(header, result.release()));
    }
};

TEST(PhonePhotoFilter, TheOpenDialogOffersEveryTypeTheEngineDecodes)
{
    const QStringList parts = OpenFilter().split(u'|');
    const QStringList own = loadLumivexString(IDS_LX_OPEN_FILTER).split(u'|');
    ASSERT_GE(parts.size(), own.size());
    EXPECT_TRUE(parts[1].startsWith(own[1])) << "the editor's own types come first";
    ASSERT_EQ(imaging::modernPhotoTypes().size(), 4u) << "this machine decodes all four";
    for (const imaging::PhotoType& type : imaging::modernPhotoTypes()) {
        const QString patterns = type.patterns.join(u';');
        EXPECT_TRUE(parts[1].contains(patterns)) << qPrintable(patterns);
        EXPECT_TRUE(parts.contains(QStringLiteral("%1 (%2)").arg(type.name, patterns)));
    }
    // The editor's own entries stay, and the text still ends as a filter text does.
    EXPECT_TRUE(parts.contains(QStringLiteral("GIF files (*.gif)")));
    EXPECT_TRUE(OpenFilter().endsWith(QStringLiteral("||")));
}

TEST(PhonePhotoNames, AnEditedCopyGetsAFreeNameBesideThePhoto)
{
    TestFolder folder;
    const QString heic = folder.file("IMG_0001.HEIC");
    EXPECT_EQ(FreeNameBeside(heic, ".jpg"), folder.file("IMG_0001.jpg"));
    // Phones often keep a JPEG twin beside the HEIC: it is not offered for overwriting.
    QFile(folder.file("IMG_0001.jpg")).open(QIODevice::WriteOnly);
    EXPECT_EQ(FreeNameBeside(heic, ".jpg"), folder.file("IMG_0001-edited.jpg"));
    QFile(folder.file("IMG_0001-edited.jpg")).open(QIODevice::WriteOnly);
    EXPECT_EQ(FreeNameBeside(heic, ".jpg"), folder.file("IMG_0001-edited-2.jpg"));
    // A photo that is itself named .jpg is never its own suggestion, even when it is gone.
    EXPECT_EQ(FreeNameBeside(folder.file("gone.jpg"), ".jpg"), folder.file("gone-edited.jpg"));
    EXPECT_EQ(FreeNameBeside(folder.file("a.b.avif"), ".jpg"), folder.file("a.b.jpg"));
}

TEST_F(PhonePhotoTest, EachPhoneFormatOpensAtItsSizeAndIsKeptAsItIs)
{
    for (const char* name : {"p.heic", "p.avif", "p.webp", "p.jxl"}) {
        const QString path = phonePhoto(name);
        ASSERT_FALSE(path.isEmpty()) << name;
        QString reason;
        ASSERT_TRUE(doc.Load(path, &reason)) << name << ": " << qPrintable(reason);
        EXPECT_EQ(doc.Current().widthPixels, 640) << name;
        EXPECT_EQ(doc.Current().heightPixels, 480) << name;
        EXPECT_EQ(doc.KeptType(), imaging::modernTypeName(imaging::Image::open(path)->rawFormat()))
            << name;
        EXPECT_FALSE(doc.KeptType().isEmpty()) << name;
        EXPECT_TRUE(doc.NeedsSaveAs()) << name;
    }
    // A JPEG opened next is saved in place again.
    ASSERT_TRUE(doc.Load(sharedTestData("photos/exs-DSCN0010.jpg")));
    EXPECT_TRUE(doc.KeptType().isEmpty());
    EXPECT_FALSE(doc.NeedsSaveAs());
}

TEST_F(PhonePhotoTest, ColoursSurviveTheDecoders)
{
    const QString png =
        writePicture(folder.file("q.png"), quarterPicture().scaled(128, 64), "image/png");
    for (const char* name : {"q.heic", "q.avif", "q.webp"}) {
        const QString path = makePhonePhoto(png, folder.path(), name);
        ASSERT_FALSE(path.isEmpty()) << name;
        ASSERT_TRUE(doc.Load(path)) << name;
        expectShown(doc.Current(), {Red, Green, Blue, White}, name);
    }
}

TEST_F(PhonePhotoTest, ATurnedHeicShowsUprightAndItsTagDoesNotTurnItAgain)
{
    // Stored lying on its side with a turn box and EXIF Orientation 6, as phones write it.
    const QString heic =
        writeTurnedHeic(folder.file("turned.heic"), quarterPicture().scaled(128, 64), 6);
    ASSERT_FALSE(heic.isEmpty());
    ASSERT_TRUE(doc.Load(heic));
    EXPECT_EQ(doc.Current().widthPixels, 64);
    EXPECT_EQ(doc.Current().heightPixels, 128);
    // Red, green / blue, white turned a quarter clockwise.
    expectShown(doc.Current(), {Blue, Red, White, Green}, "opened");

    // The JPEG saved from it shows the same way: it carries no turn of its own.
    const QString original = bytesOf(heic).toBase64();
    choosers.saveAnswers = {folder.file("turned.jpg")};
    ASSERT_TRUE(doc.Save(prompter, choosers));
    ImageRecord saved;
    ASSERT_TRUE(LoadImageFile(folder.file("turned.jpg"), saved));
    EXPECT_EQ(saved.widthPixels, 64);
    expectShown(saved, {Blue, Red, White, Green}, "saved");
    EXPECT_EQ(bytesOf(heic).toBase64(), original);
}

TEST_F(PhonePhotoTest, SaveWritesANewJpegAndNeverTheOriginal)
{
    const QString heic = phonePhoto("p.heic");
    ASSERT_TRUE(doc.Load(heic));
    const QString type = doc.KeptType();
    const QByteArray original = bytesOf(heic);
    edit();
    // The user first gives the photo's own name, then takes the JPEG offered beside it.
    choosers.saveAnswers = {heic, folder.file("p.jpg")};
    ASSERT_TRUE(doc.Save(prompter, choosers));
    EXPECT_EQ(type, imaging::modernTypeName(imaging::RawFormat::Heif));
    EXPECT_EQ(prompter.texts,
              (QStringList{keepsText(type, "p.heic"),
                           loadLumivexString(IDS_LX_KEEP_ORIGINAL_NAME).arg("p.heic")}));
    EXPECT_EQ(choosers.suggestions, (QStringList{folder.file("p.jpg"), folder.file("p.jpg")}));
    EXPECT_EQ(bytesOf(heic), original);
    EXPECT_EQ(imaging::Image::open(folder.file("p.jpg"))->rawFormat(), imaging::RawFormat::Exif);
    EXPECT_EQ(doc.PathName(), folder.file("p.jpg"));
    EXPECT_TRUE(doc.KeptType().isEmpty());
    EXPECT_FALSE(doc.IsModified());
    // The copy is the editor's own JPEG now: the next Save writes it without asking.
    edit();
    prompter.texts.clear();
    ASSERT_TRUE(doc.Save(prompter, choosers));
    EXPECT_TRUE(prompter.texts.isEmpty());
    EXPECT_EQ(choosers.suggestions.size(), 2);
    EXPECT_EQ(bytesOf(heic), original);
}

TEST_F(PhonePhotoTest, TheCopyKeepsTheCameraData)
{
    const QString avif = phonePhoto("p.avif");
    ASSERT_TRUE(doc.Load(avif));
    edit();
    choosers.saveAnswers = {folder.file("p.jpg")};
    ASSERT_TRUE(doc.Save(prompter, choosers));
    const auto copy = imaging::Image::open(folder.file("p.jpg"));
    ASSERT_NE(copy, nullptr);
    const auto model = copy->property(272);
    ASSERT_TRUE(model.has_value());
    EXPECT_TRUE(model->value.startsWith("COOLPIX P6000"));
    const auto turn = copy->property(imaging::TagOrientation);
    EXPECT_TRUE(!turn || turn->value == QByteArray("\1\0", 2));
}

TEST_F(PhonePhotoTest, AHeicNamedJpgIsKeptAllTheSame)
{
    // Some transfers rename a phone's HEIC to .jpg: its contents decide, not its name.
    const QString named = folder.file("IMG_0002.jpg");
    ASSERT_TRUE(QFile::rename(phonePhoto("p.heic"), named));
    ASSERT_TRUE(doc.Load(named));
    EXPECT_FALSE(doc.KeptType().isEmpty());
    EXPECT_TRUE(doc.NeedsSaveAs());
    const QByteArray original = bytesOf(named);
    edit();
    // Through a path of other spelling, then cancelled: nothing is written.
    choosers.saveAnswers = {folder.path() + "/./IMG_0002.jpg"};
    EXPECT_FALSE(doc.Save(prompter, choosers));
    EXPECT_EQ(choosers.suggestions.front(), folder.file("IMG_0002-edited.jpg"));
    EXPECT_EQ(prompter.texts.size(), 2);
    EXPECT_EQ(bytesOf(named), original);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"IMG_0002.jpg"});
}

TEST_F(PhonePhotoTest, SaveAsTheNameOfAnotherTypeItCannotWriteFailsAndKeepsTheFile)
{
    const QString heic = phonePhoto("p.heic");
    const QString other = phonePhoto("other.avif");
    ASSERT_TRUE(doc.Load(heic));
    const QByteArray before = bytesOf(other);
    edit();
    choosers.saveAnswers = {other};
    EXPECT_FALSE(doc.SaveAs(prompter, choosers));
    EXPECT_EQ(prompter.texts, QStringList{loadLumivexString(IDS_LX_WRITE_ERROR)});
    EXPECT_EQ(bytesOf(other), before);
    EXPECT_EQ(doc.PathName(), heic);
}

} // namespace
