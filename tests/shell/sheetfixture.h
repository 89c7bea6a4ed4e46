// A wizard over the real application object with the test plug-ins installed, scripted
// answers, and an address opener that records what the help would have opened.
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
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "platform/choosers.h"
#include "shell/albumname.h"
#include "shell/albumsheet.h"
#include "shell/gvapp.h"
#include "tests/support/testenv.h"

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
