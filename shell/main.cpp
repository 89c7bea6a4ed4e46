// SPDX-License-Identifier: GPL-2.0-or-later
// The album builder: the application object decides what to do, and when it is the wizard,
// the wizard is the program's one window and its modal run is the whole working life.
#include <QApplication>
#include <QDir>

#include "album/projectfile.h"
#include "platform/desktopscheme.h"
#include "platform/dialogchoosers.h"
#include "platform/imagemetadata.h"
#include "platform/messageboxprompter.h"
#include "platform/paths.h"
#include "shell/albumname.h"
#include "shell/albumsheet.h"
#include "shell/gvapp.h"

namespace
{

// The skin and the windows' palette follow the desktop's light or dark preference; the
// album icon marks every window.
void useDesktopLook(CGVApp& app)
{
    const ColourScheme scheme =
        platform::desktopPrefersDark() ? ColourScheme::Dark : ColourScheme::Light;
    app.GetSkin().SetScheme(scheme);
    QApplication::setPalette(SkinScheme::of(scheme).palette());
    QApplication::setWindowIcon(app.GetSkin().ApplicationIcon());
}

int runWizard(CGVApp& app, MessageBoxPrompter& prompter, DialogChoosers& choosers)
{
    CAlbumSheet sheet(app, choosers, HelpCommands(app.ProgramFolder()));
    prompter.setOwner(&sheet);
    choosers.setOwner(&sheet);
    app.UseProgressWindows(&sheet);
    sheet.Start();
    return sheet.exec();
}

} // namespace

int main(int argc, char** argv)
{
    // Before any thread starts: the metadata library is not ready for threads until then.
    imaging::metadata::startUp();
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Vellora"));
    QApplication::setApplicationName(QStringLiteral("Gallivex"));
    MessageBoxPrompter prompter;
    DialogChoosers choosers;
    CGVApp app(prompter, platform::programFolder());
    useDesktopLook(app);
    const CGVApp::Start start = app.InitInstance(application.arguments().mid(1));
    if (start == CGVApp::Start::RunWizard) {
        app.InstallSkin();
        runWizard(app, prompter, choosers);
    }
    app.ExitInstance();
    return start == CGVApp::Start::Failed ? 1 : 0;
}
