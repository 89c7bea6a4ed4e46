// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/gvapp.h"

#include <memory>

#include <QDir>
#include <QPointer>
#include <QWidget>

#include "controls/progressdlg.h"
#include "controls/skinhooks.h"
#include "platform/process.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"

namespace {

// The programs whose settings an installer may have left for the album builder.
const QStringList SeededPrograms = {QStringLiteral("Gallivex"), QStringLiteral("HTML"),
                                    QStringLiteral("SWF")};

constexpr int CancelPicture = 188; // "cancel.gif", two states

// The setup program that installs theme packages, beside this program.
#ifdef Q_OS_WIN
const QString SetupProgram = QStringLiteral("morlune.exe");
#else
const QString SetupProgram = QStringLiteral("morlune");
#endif

} // namespace

CGVApp::CGVApp(Prompter& prompter, QString programFolder)
    : m_prompter(prompter), m_programFolder(std::move(programFolder)),
      m_settings(loadString(IDS_PROFILE_NAME)), m_skin(m_settings, m_programFolder)
{
}

CGVApp::~CGVApp() = default;

void CGVApp::SeedUserSettings()
{
    if (Settings(QStringLiteral("Gallivex")).exists())
        return;
    // A user who already has other programs of the company keeps their settings: only the
    // album builder's own trees are copied.
    if (Settings::companyExists(Settings::Scope::User)) {
        for (const QString& program : SeededPrograms)
            Settings::copyTree(program, Settings::Scope::Machine, Settings::Scope::User);
    } else {
        Settings::copyCompany(Settings::Scope::Machine, Settings::Scope::User);
    }
}

CGVApp::Start CGVApp::InitInstance(const QStringList& arguments)
{
    SeedUserSettings();
    m_thumbnailSize = ThumbnailSize;
    m_settings.writeInt(QStringLiteral("Application"), QStringLiteral("Version"), ProgramVersion);

    if (!Album().Initialise()) {
        m_prompter.message(loadString(IDS_INIT_FAILED), Prompter::Icon::Error);
        return Start::Failed;
    }
    m_accelerators = loadPageAccelerators();

    m_commandLine = CommandLineInfo::parse(arguments);
    if (m_commandLine.command == CommandLineInfo::FileOpen &&
        CommandLineInfo::isThemeFile(m_commandLine.fileName)) {
        handOverTheme(m_commandLine.fileName);
        return Start::InstallTheme;
    }
    return Start::RunWizard;
}

bool CGVApp::handOverTheme(const QString& fileName)
{
    const QString setup = QDir(m_programFolder).filePath(SetupProgram);
    if (platform::startDetached(setup, {fileName}))
        return true;
    // Ending silently would look as if the theme had been installed.
    m_prompter.message(loadString(IDS_SETUP_START_FAILED).arg(QDir::toNativeSeparators(setup)),
                       Prompter::Icon::Error);
    return false;
}

void CGVApp::ExitInstance()
{
    // The plug-in manager frees each library exactly once; the records' handles become null.
    Album().ParameterList().clear();
    Album().PluginManager().ReleasePlugins(Album().Plugins());
    Album().Plugins().clear();
    Album().Images().clear();
}

void CGVApp::UseProgressWindows(QWidget* mainWindow)
{
    // The window may be gone before the album's last operation; the dialog is then parentless.
    QPointer<QWidget> owner(mainWindow);
    Album().SetProgressFactory([this, owner]() -> std::unique_ptr<Progress> {
        auto dialog = std::make_unique<CProgressDlg>(m_skin.LoadSkinPicture(CancelPicture),
                                                     m_skin.GetSkinColor(SKIN_BACKGROUND),
                                                     owner.data());
        // While the work runs the progress window is the only one that takes input.
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->show();
        return dialog;
    });
}

int CGVApp::AcceleratorTableOf(int pageIndex) const
{
    if (pageIndex < 0 || pageIndex >= static_cast<int>(m_accelerators.size()))
        return ACCEL_NONE;
    return m_accelerators[static_cast<size_t>(pageIndex)];
}

QString CGVApp::AlbumToOpen() const
{
    return m_commandLine.command == CommandLineInfo::FileOpen ? m_commandLine.fileName
                                                              : QString();
}

void CGVApp::InstallSkin()
{
    SkinHooks::install([this](int pictureId) { return m_skin.LoadSkinPicture(pictureId); },
                       [this](int index) { return m_skin.GetSkinColor(index); });
}
