// SPDX-License-Identifier: GPL-2.0-or-later
// The photo editor: opens what the command line names and runs its main window.
#include <QApplication>

#include "enhancer/lumivexstrings.h"
#include "enhancer/ui/lumivexapp.h"
#include "enhancer/ui/mainframe.h"
#include "enhancer/ui/toolbaricons.h"
#include "platform/desktopscheme.h"
#include "platform/dialogchoosers.h"
#include "platform/imagemetadata.h"
#include "platform/messageboxprompter.h"
#include "platform/paths.h"
#include "shell/skinscheme.h"

int main(int argc, char** argv)
{
    // Before any thread starts: the metadata library is not ready for threads until then.
    imaging::metadata::startUp();
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Vellora"));
    QApplication::setApplicationName(QStringLiteral("Lumivex"));
    QApplication::setDesktopFileName(QStringLiteral("lumivex"));
    // The windows follow the desktop's light or dark preference, as the album builder's do.
    const ColourScheme scheme =
        platform::desktopPrefersDark() ? ColourScheme::Dark : ColourScheme::Light;
    QApplication::setPalette(SkinScheme::of(scheme).palette());
    QApplication::setWindowIcon(ToolbarIcons::ProgramIcon(platform::programFolder()));
    MessageBoxPrompter prompter;
    // The editor's messages carry its own name: the first field of its document template.
    prompter.setTitle(loadLumivexString(IDS_LX_DOC_TEMPLATE).section(u'\n', 0, 0));
    DialogChoosers choosers;
    CLumivexApp app(platform::programFolder());
    CMainFrame frame(app, prompter, choosers);
    prompter.setOwner(&frame);
    choosers.setOwner(&frame);
    frame.show();
    app.InitInstance(application.arguments().mid(1), prompter);
    return application.exec();
}
