// SPDX-License-Identifier: GPL-2.0-or-later
// The photo editor: opens what the command line names and runs its main window.
#include <QApplication>

#include "enhancer/ui/lumivexapp.h"
#include "enhancer/ui/mainframe.h"
#include "platform/desktopscheme.h"
#include "platform/dialogchoosers.h"
#include "platform/imagemetadata.h"
#include "platform/messageboxprompter.h"
#include "platform/paths.h"

int main(int argc, char** argv)
{
    // Before any thread starts: the metadata library is not ready for threads until then.
    imaging::metadata::startUp();
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Vellora"));
    QApplication::setApplicationName(QStringLiteral("Lumivex"));
    MessageBoxPrompter prompter;
    DialogChoosers choosers;
    CLumivexApp app(platform::programFolder());
    app.InitInstance(application.arguments().mid(1), prompter);
    CMainFrame frame(app, prompter, choosers);
    prompter.setOwner(&frame);
    choosers.setOwner(&frame);
    frame.show();
    return application.exec();
}
