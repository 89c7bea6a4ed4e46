// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <set>

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QPainter>
#include <QXmlStreamReader>

#include "controls/imagebutton.h"
#include "platform/settings.h"
#include "resources/skin/appicon.h"
#include "resources/skin/skinart.h"
#include "shell/skin.h"
#include "tests/controls/controlsfixture.h"
#include "tests/support/testenv.h"

namespace
{

QByteArray head(const QString& path, int bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

QString doubled(const QString& file)
{
    const int dot = file.lastIndexOf('.');
    return file.left(dot) + "@2x" + file.mid(dot);
}

} // namespace

TEST(SkinArtTest, EveryPictureOfTheSkinIsDrawnUnderItsName)
{
    std::set<int> drawn;
    for (const ArtSpec& spec : artTable()) {
        drawn.insert(spec.id);
        EXPECT_EQ(Skin::pictureFile(spec.id), QString::fromLatin1(spec.file)) << spec.id;
    }
    for (int id = 0; id <= 40000; ++id)
        EXPECT_TRUE(Skin::pictureFile(id).isEmpty() || drawn.count(id) == 1)
            << "no artwork for picture " << id;
    EXPECT_EQ(drawn.size(), artTable().size()); // no id twice
}

TEST(SkinArtTest, GeneratedFilesAreRealPicturesOfTheirSize)
{
    const QDir folder(graphicsFolder());
    for (const ArtSpec& spec : artTable()) {
        const QString file = QString::fromLatin1(spec.file);
        const bool jpeg = file.endsWith(".jpg");
        const QSize size(spec.width * spec.states, spec.height);
        for (int scale : {1, 2}) {
            const QString path = folder.filePath(scale == 1 ? file : doubled(file));
            const QByteArray magic = head(path, 6);
            if (jpeg)
                EXPECT_TRUE(magic.startsWith("\xFF\xD8\xFF")) << path.toStdString();
            else
                EXPECT_EQ(magic, "GIF89a") << path.toStdString();
            const QImage picture(path);
            ASSERT_FALSE(picture.isNull()) << path.toStdString();
            EXPECT_EQ(picture.size(), size * scale) << path.toStdString();
        }
    }
}

TEST(SkinArtTest, StepPicturesHighlightTheirOwnStep)
{
    const QImage welcome(graphicsFolder() + "/step0.gif");
    const QImage finish(graphicsFolder() + "/step6.gif");
    ASSERT_FALSE(welcome.isNull());
    EXPECT_NE(welcome, finish);
    // The page area and the button band are the same calm colours on every step.
    EXPECT_EQ(welcome.pixelColor(300, 300), finish.pixelColor(300, 300));
    EXPECT_EQ(welcome.pixelColor(300, 530), QColor(159, 161, 143));
}

TEST(SkinArtTest, HighDensityScreensGetTheDoubleSizePictures)
{
    SettingsSandbox sandbox;
    Settings settings;
    Skin skin(settings, binFolder());
    const QImage plain = skin.LoadSkinPicture(182, 1.0);
    const QImage sharp = skin.LoadSkinPicture(182, 2.0);
    ASSERT_FALSE(plain.isNull());
    ASSERT_FALSE(sharp.isNull());
    EXPECT_EQ(plain.devicePixelRatio(), 1.0);
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(sharp.size(), plain.size() * 2);
    CImageButton button(sharp, 3);
    EXPECT_EQ(button.size(), QSize(76, 30));

    // Without a double-size file the ordinary one is taken.
    TestFolder program;
    program.write("graphics/next.gif", head(binFolder() + "/graphics/next.gif", 1 << 20));
    EXPECT_EQ(Skin(settings, program.path()).LoadSkinPicture(184, 2.0).devicePixelRatio(), 1.0);
}

TEST(SkinArtTest, SavePicturesForPeopleToLookAt)
{
    const QString out = binFolder() + "/../screenshots/skin";
    QDir().mkpath(out);
    for (const char* name : {"step0", "step3", "step6", "back", "next", "done", "cancel", "help",
                             "add", "createproject", "continue_gv", "showtips", "back@2x"}) {
        const QImage picture(graphicsFolder() + "/" + name + ".gif");
        EXPECT_TRUE(picture.save(out + "/" + name + ".png")) << name;
    }
    // The wizard as the sheet lays it out, in both schemes: Back and Next 22 pixels in from
    // the sides, Help above Cancel in the middle of the band, a tool and an option on paper.
    for (ColourScheme scheme : {ColourScheme::Light, ColourScheme::Dark}) {
        const auto file = [scheme](const char* name) {
            return graphicsFolder() + "/" + SkinScheme::pictureFile(name, scheme);
        };
        QImage sheet = QImage(file("step3.gif")).convertToFormat(QImage::Format_RGB32);
        QPainter painter(&sheet);
        const auto frame = [&file](const char* name, int states, int index = 0) {
            const QImage strip(file(name));
            const int width = strip.width() / states;
            return strip.copy(index * width, 0, width, strip.height());
        };
        painter.drawImage(22, 502, frame("back.gif", 3));
        painter.drawImage(598 - 22 - 76, 502, frame("next.gif", 3, 1));
        painter.drawImage((598 - 84) / 2, 502, frame("help.gif", 2));
        painter.drawImage((598 - 84) / 2, 523, frame("cancel.gif", 2));
        painter.drawImage(152, 234, frame("createproject.gif", 2, 1));
        painter.drawImage(152, 274, frame("modifyproject.gif", 2));
        painter.drawImage(152, 320, frame("add.gif", 2));
        painter.drawImage(260, 320, frame("remove.gif", 2, 1));
        painter.drawImage(152, 360, frame("includesubfolders.gif", 2, 1));
        painter.end();
        const QString name = scheme == ColourScheme::Dark ? "sheet-preview-dark" : "sheet-preview";
        EXPECT_TRUE(sheet.save(out + "/" + name + ".png"));
    }
}

TEST(SkinArtTest, SaveAContactSheetOfTheButtons)
{
    QImage contact(820, 980, QImage::Format_RGB32);
    contact.fill(QColor(159, 161, 143));
    QPainter painter(&contact);
    QPoint at(8, 8);
    for (const ArtSpec& spec : artTable()) {
        if (spec.kind == ArtKind::Step || spec.kind == ArtKind::Panel ||
            spec.kind == ArtKind::Picture)
            continue;
        const QImage picture(graphicsFolder() + "/" + spec.file);
        if (at.y() + picture.height() > contact.height() - 8)
            at = QPoint(at.x() + 410, 8);
        painter.drawImage(at, picture);
        at.ry() += picture.height() + 6;
    }
    painter.end();
    EXPECT_TRUE(contact.save(binFolder() + "/../screenshots/skin/contact.png"));
}

TEST(SkinArtTest, TheApplicationIconIsOnePictureAsSvgAndAtEverySize)
{
    const QString folder = graphicsFolder();
    QFile svgFile(folder + "/gallivex.svg");
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    QXmlStreamReader svg(&svgFile);
    int shapes = 0;
    QString viewBox;
    while (!svg.atEnd()) {
        if (svg.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (svg.name() == u"svg")
            viewBox = svg.attributes().value("viewBox").toString();
        else if (svg.name() != u"title")
            ++shapes;
    }
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_EQ(viewBox, "0 0 128 128");
    EXPECT_EQ(shapes, static_cast<int>(appIconShapes().size()));

    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        const QString path = folder + QString("/gallivex-%1.png").arg(side);
        EXPECT_TRUE(head(path, 4).endsWith("PNG")) << path.toStdString();
        const QImage icon(path);
        ASSERT_EQ(icon.size(), QSize(side, side)) << path.toStdString();
        EXPECT_EQ(icon.convertToFormat(QImage::Format_ARGB32),
                  drawAppIcon(side).convertToFormat(QImage::Format_ARGB32));
        // A shape on a clear ground: the corners see through, the middle does not.
        EXPECT_EQ(icon.pixelColor(0, side - 1).alpha(), 0) << side;
        EXPECT_EQ(icon.pixelColor(side / 2, side / 2).alpha(), 255) << side;
    }
    EXPECT_TRUE(drawAppIcon(128).save(binFolder() + "/../screenshots/skin/icon-128.png"));
}

TEST(SkinArtTest, TheSkinGivesTheWindowsTheIconInEverySize)
{
    SettingsSandbox sandbox;
    Settings settings;
    const QIcon icon = Skin(settings, binFolder()).ApplicationIcon();
    ASSERT_FALSE(icon.isNull());
    for (int side : {16, 24, 32, 48, 64, 128, 256})
        EXPECT_TRUE(icon.availableSizes().contains(QSize(side, side))) << side;
    // A program folder without pictures still starts, with the desktop's own icon.
    TestFolder empty;
    EXPECT_TRUE(Skin(settings, empty.path()).ApplicationIcon().isNull());
}
