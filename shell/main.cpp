// The album builder: the application object decides what to do, and when it is the wizard,
// the wizard is the program's one window and its modal run is the whole working life.
#include <QApplication>
#include <QDir>

#include "album/projectfile.h"
#include "platform/dialogchoosers.h"
#include "platform/messageboxprompter.h"
#include "platform/paths.h"
#include "shell/albumname.h"
#include "shell/albumsheet.h"
#include "shell/gvapp.h"

namespace
{

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
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Vellora"));
    QApplication::setApplicationName(QStringLiteral("Gallivex"));
    MessageBoxPrompter prompter;
    DialogChoosers choosers;
    CGVApp app(prompter, platform::programFolder());
    // Every window of the program, the sheet and each dialog, shows the album icon.
    QApplication::setWindowIcon(app.GetSkin().ApplicationIcon());
    const CGVApp::Start start = app.InitInstance(application.arguments().mid(1));
    if (start == CGVApp::Start::RunWizard) {
        app.InstallSkin();
        runWizard(app, prompter, choosers);
    }
    app.ExitInstance();
    return start == CGVApp::Start::Failed ? 1 : 0;
}
