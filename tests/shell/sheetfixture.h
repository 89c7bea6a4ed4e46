// SPDX-License-Identifier: GPL-2.0-or-later
// A wizard over the real application object with the test plug-ins installed, scripted
// answers, and an address opener that records what the help would have opened. Tests reach
// pages only as a user does: the welcome page's choice, the real Next and Back buttons.
#pragma once

#include <memory>
#include <optional>

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "album/projectfile.h"
#include "platform/choosers.h"
#include "platform/settings.h"
#include "shell/addimagedlg.h"
#include "shell/albumintro.h"
#include "shell/albumname.h"
#include "shell/albumsheet.h"
#include "shell/gvapp.h"
#include "shell/imagelistchoosers.h"
#include "shell/openalbum.h"
#include "tests/support/testenv.h"

// The file chooser of the image list page handing over the photos a test names.
class GivenPhotos : public ImageListChoosers
{
public:
    explicit GivenPhotos(QStringList files) : m_files(std::move(files)) {}
    QStringList openImages(const QString&, const QString&) override { return m_files; }
    std::optional<FolderChoice> imageFolder(const QString&, const FolderChoice&) override
    {
        return std::nullopt;
    }

private:
    QStringList m_files;
};

// Image list choosers with nobody to ask: every choice is cancelled.
class NoImageChoosers : public GivenPhotos
{
public:
    NoImageChoosers() : GivenPhotos({}) {}
};

class SheetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        installTestPlugins(program.file("plugins"), {"gvtest_alpha", "gvtest_beta"});
        app.Album().PluginManager().SetPluginFolders({program.str() + "/plugins"});
        // The user answers the album-name dialog of a new album: types typedAlbumName, when
        // set, and presses OK.
        QObject::connect(&nameAnswerer, &QTimer::timeout, [this] {
            auto* dialog = dynamic_cast<CAlbumName*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            namesProposed << dialog->NameEdit().text();
            if (typedAlbumName)
                dialog->NameEdit().setText(*typedAlbumName);
            dialog->OkButton().click();
        });
        nameAnswerer.start(5);
    }
    // Starts the application with arguments and builds the wizard, not yet started.
    CAlbumSheet& makeSheet(const QStringList& arguments = {})
    {
        if (!initialised) {
            EXPECT_EQ(app.InitInstance(arguments), CGVApp::Start::RunWizard);
        }
        initialised = true;
        sheet = std::make_unique<CAlbumSheet>(app, choosers,
                                              HelpCommands(program.path(), [this](const QUrl& url) {
                                                  opened << url;
                                                  return openSucceeds;
                                              }));
        sheet->SetAboutDialog([this] { ++aboutShown; });
        sheet->SetTipDialog([this] { ++tipsShown; });
        return *sheet;
    }
    CAlbumSheet& startSheet(const QStringList& arguments = {})
    {
        makeSheet(arguments).Start();
        settle();
        return *sheet;
    }
    // Lets posted work (button presses, the tip at start-up) run.
    static void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    // The wizard's own buttons, pressed as the user presses them.
    void clickNext()
    {
        sheet->Button(CMyPropertySheet::ID_WIZNEXT)->click();
        settle();
    }
    void clickBack()
    {
        sheet->Button(CMyPropertySheet::ID_WIZBACK)->click();
        settle();
    }
    // The welcome page's choice, then Next: the theme page for a new album, the album
    // manager for an existing one.
    void chooseOnWelcome(bool createNew)
    {
        auto& welcome = static_cast<CAlbumIntro&>(*sheet->Page(CAlbumSheet::WelcomePage));
        (createNew ? welcome.CreateNewButton() : welcome.OpenExistingButton()).click();
        clickNext();
    }
    // From the welcome page, or a page further on the road of a new album, to page target:
    // the welcome page's "new album", the theme page's chosen theme, photos added with the
    // image list page's Add button when its list is empty (photos, or one test photo when
    // none are given), Next on the properties page, No to "generate now?" on the generation
    // page unless the album was made. Tests script the pages' choosers and dialogs before.
    void walkTo(int target, const QStringList& photos = {})
    {
        if (sheet->GetActiveIndex() == CAlbumSheet::WelcomePage) {
            if (target == CAlbumSheet::WelcomePage)
                return;
            chooseOnWelcome(target != CAlbumSheet::AlbumManagerPage);
            if (target == CAlbumSheet::AlbumManagerPage) {
                ASSERT_EQ(sheet->GetActiveIndex(), target);
                return;
            }
        }
        ASSERT_GE(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);
        ASSERT_LE(sheet->GetActiveIndex(), target);
        while (sheet->GetActiveIndex() < target) {
            const int before = sheet->GetActiveIndex();
            if (before == CAlbumSheet::ImageListPage)
                addPhotosThroughAdd(photos);
            if (before == CAlbumSheet::GenerationPage && !app.Album().IsGenerated())
                prompter.answers.push_front(Prompter::Answer::No);
            clickNext();
            ASSERT_EQ(sheet->GetActiveIndex(), before + 1) << "Next stayed on page " << before;
        }
    }
    // Adds photos to the image list page's empty list with its Add button; the page's
    // choosers cancel afterwards.
    void addPhotosThroughAdd(QStringList photos)
    {
        auto& list = static_cast<CAddImageDlg&>(*sheet->Page(CAlbumSheet::ImageListPage));
        if (!list.Rows().IsEmpty())
            return;
        if (photos.isEmpty()) {
            photos << program.file("road.jpg");
            QFile::copy(sharedTestData(QStringLiteral("photos/exs-Nikon_D70.jpg")), photos[0]);
            QFile::setPermissions(photos[0], QFile::ReadOwner | QFile::WriteOwner);
        }
        list.SetImageChoosers(std::make_unique<GivenPhotos>(photos));
        list.Button(CAddImageDlg::ID_ADD)->click();
        settle();
        list.SetImageChoosers(std::make_unique<NoImageChoosers>());
    }
    // From the welcome page: "open an album", the album manager's first album selected,
    // then Next; the album opens on the theme page.
    void openFirstAlbumOfTheManager()
    {
        chooseOnWelcome(false);
        auto& manager = static_cast<COpenAlbum&>(*sheet->Page(CAlbumSheet::AlbumManagerPage));
        ASSERT_TRUE(manager.Loader().WaitUntilDone(20000));
        settle();
        ASSERT_GT(manager.Albums().count(), 0);
        manager.Albums().setCurrentRow(0);
        clickNext();
        ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);
    }
    // A project saved by another run of the program, with the Alpha plug-in's "Grid" theme,
    // in the projects folder the album manager lists.
    QString savedProject()
    {
        Settings().writeString("Paths", "ProjectPath", program.file("projects"));
        QDir().mkpath(program.file("projects"));
        ScriptedPrompter quiet;
        CGVApp writer(quiet, program.path());
        writer.Album().PluginManager().SetPluginFolders({program.str() + "/plugins"});
        EXPECT_EQ(writer.InitInstance({}), CGVApp::Start::RunWizard);
        EXPECT_TRUE(writer.Album().ChooseTemplate(0, 20));
        writer.Album().SetAlbumName("Summer");
        const QString path = program.file("projects/summer.gvp");
        ProjectFile file(writer.Album(), quiet, choosers);
        EXPECT_EQ(file.WriteProject(path.toUtf8().constData()), 0);
        writer.ExitInstance();
        return path;
    }
    // Saves what the user sees into the build's screenshots folder.
    static void saveScreenshot(QWidget& widget, const QString& name)
    {
        const QString folder = binFolder() + QStringLiteral("/../screenshots");
        QDir().mkpath(folder);
        EXPECT_TRUE(widget.grab().save(folder + u'/' + name + QStringLiteral(".png")));
    }
    // The skin's artwork as the build ships it, so that pictures show what users get.
    void useShippedGraphics()
    {
        QDirIterator files(binFolder() + QStringLiteral("/graphics"), QDir::Files);
        QDir().mkpath(program.file("graphics"));
        while (files.hasNext()) {
            files.next();
            QFile::copy(files.filePath(), program.file("graphics/" + files.fileName()));
        }
    }
    void TearDown() override
    {
        sheet.reset();
        app.ExitInstance();
    }

    SettingsSandbox sandbox;
    TestFolder program;
    ScriptedPrompter prompter;
    NoChoosers choosers;
    CGVApp app{prompter, program.path()};
    std::unique_ptr<CAlbumSheet> sheet;
    QList<QUrl> opened;
    bool openSucceeds = true;
    int aboutShown = 0;
    int tipsShown = 0;
    bool initialised = false;
    QTimer nameAnswerer;
    std::optional<QString> typedAlbumName;
    QStringList namesProposed;
};
