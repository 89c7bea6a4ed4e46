// SPDX-License-Identifier: GPL-2.0-or-later
// The album builder and the editor together: the image list page starts the editor on two
// photos, the editor turns the first and saves it, and the page's preview shows the change.
// The editor runs in the test's process, started with exactly the page's command line, and
// its "saved" message travels over the page's real local socket.
#include <memory>

#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "enhancer/ui/lumivexapp.h"
#include "enhancer/ui/lumivexcommands.h"
#include "enhancer/ui/lumivexview.h"
#include "enhancer/ui/mainframe.h"
#include "platform/settings.h"
#include "shell/myimage.h"
#include "tests/shell/imagepagefixture.h"

using imagepage::ImagePageTest;

TEST_F(ImagePageTest, TheEditorsSaveRefreshesThePagesPreview)
{
    openPage();
    addThree();
    Settings("Lumivex").writeString(QString(), "Program path", program.path());
    program.write("Lumivex.exe", "#!/bin/sh\n");
    back();
    clickNext();
    ScriptedPrompter editorPrompter;
    NoChoosers editorChoosers;
    std::unique_ptr<CLumivexApp> editor;
    std::unique_ptr<CMainFrame> window;
    page().SetStarter([&](const QString& started, const QStringList& arguments) {
        EXPECT_TRUE(started.endsWith(QStringLiteral("Lumivex.exe")));
        editor = std::make_unique<CLumivexApp>(binFolder());
        window = std::make_unique<CMainFrame>(*editor, editorPrompter, editorChoosers);
        window->show();
        return editor->InitInstance(arguments, editorPrompter);
    });
    page().SelectRows({0, 1});
    page().OnCommand(CAddImageDlg::ID_ENHANCE);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(editor->Document().NavigationList().size(), 2);
    EXPECT_EQ(editor->Document().PathName(), photos.file("a.jpg"));

    // The user looks at the first photo in the album builder.
    page().SelectRows({0});
    ASSERT_TRUE(page().Preview().HasPicture());
    const QImage before = page().Preview().grab().toImage();

    // In the editor: the Rotate button's first item, then Ctrl+S.
    QTimer::singleShot(50, [&] {
        QTest::keyClick(window->RotateMenu(), Qt::Key_Down);
        QTest::keyClick(window->RotateMenu(), Qt::Key_Return);
    });
    QTest::mouseClick(window->ToolButton(ID_ROTATE), Qt::LeftButton);
    for (int i = 0; i < 300 && window->View()->IsOperationRunning(); ++i)
        QTest::qWait(10);
    ASSERT_TRUE(editor->Document().IsModified());
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(editor->Document().IsModified());

    QImage after = page().Preview().grab().toImage();
    for (int i = 0; i < 100 && after == before; ++i) {
        QTest::qWait(20);
        after = page().Preview().grab().toImage();
    }
    EXPECT_NE(after, before);
    window.reset();
}
