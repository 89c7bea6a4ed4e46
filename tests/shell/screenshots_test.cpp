// SPDX-License-Identifier: GPL-2.0-or-later
// Pictures of every page and dialog of the wizard as the user sees them, for review.
#include <QMenu>

#include "controls/tipdlg.h"
#include "shell/aboutdlg.h"
#include "shell/albumname.h"
#include "tests/shell/sheetfixture.h"

namespace
{

class ScreenshotTest : public SheetTest
{
protected:
    void SetUp() override
    {
        SheetTest::SetUp();
        useShippedGraphics();
    }
};

} // namespace

TEST_F(ScreenshotTest, EveryPage)
{
    CAlbumSheet& wizard = startSheet();
    wizard.show();
    const QStringList names = {"welcome",    "albummanager", "theme", "imagelist",
                               "properties", "generation",   "final"};
    auto shoot = [&] {
        const int page = wizard.GetActiveIndex();
        saveScreenshot(wizard, QStringLiteral("page%1-%2").arg(page).arg(names[page]));
    };
    shoot();
    chooseOnWelcome(false);
    shoot();
    clickBack();
    for (int page = CAlbumSheet::ThemePage; page < wizard.PageCount(); ++page) {
        walkTo(page);
        shoot();
    }
}

TEST_F(ScreenshotTest, Dialogs)
{
    CAlbumSheet& wizard = startSheet();
    CAboutDlg about(
        app.GetSkin(), [] {}, &wizard);
    about.show();
    settle();
    saveScreenshot(about, QStringLiteral("dialog-about"));
    CAlbumName name(QStringLiteral("Summer"), app.GetSkin().LoadSkinPicture(228),
                    app.GetSkin().GetSkinColor(SKIN_BACKGROUND), &wizard);
    name.show();
    settle();
    saveScreenshot(name, QStringLiteral("dialog-albumname"));
    CTipDlg tip(app.GetSettings(), &wizard);
    tip.show();
    settle();
    saveScreenshot(tip, QStringLiteral("dialog-tip"));
    std::unique_ptr<QMenu> help(wizard.BuildHelpMenu());
    help->adjustSize();
    saveScreenshot(*help, QStringLiteral("menu-help"));
}
