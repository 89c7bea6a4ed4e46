// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/albumsheet.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QShortcut>
#include <QTimer>

#include "album/projectfile.h"
#include "controls/stretchpicture.h"
#include "controls/tipdlg.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"
#include "shell/aboutdlg.h"
#include "shell/addimagedlg.h"
#include "shell/albumintro.h"
#include "shell/controlsdlg.h"
#include "shell/finalpage.h"
#include "shell/gvapp.h"
#include "shell/openalbum.h"
#include "shell/savealbum.h"
#include "shell/telmplatesel.h"

namespace
{

// "step0.gif" to "step6.gif", by page index.
constexpr std::array<int, CAlbumSheet::PageTotal> StepPictures = {239, 240, 241, 242,
                                                                  243, 245, 265};

} // namespace

CAlbumSheet::CAlbumSheet(CGVApp& app, Choosers& choosers, HelpCommands help, QWidget* parent)
    : CMyPropertySheet(app.GetSkin(), app.GetPrompter(), parent), m_app(app), m_choosers(choosers),
      m_help(std::move(help))
{
    setWindowTitle(loadString(IDS_APP_TITLE));
    addPages();
    loadStepPictures();
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this] { OnHelpCommand(ID_HELP_CONTENTS); });
}

CAlbumSheet::~CAlbumSheet() = default;

void CAlbumSheet::addPages()
{
    auto* welcome = new CAlbumIntro(m_app);
    welcome->SetFirstShown([this] { ShowTip(false); });
    AddPage(welcome);
    AddPage(new COpenAlbum(m_app, m_choosers));
    AddPage(new CTelmplateSel(m_app, m_help));
    AddPage(new CAddImageDlg(m_app, m_choosers));
    AddPage(new CControlsDlg(m_app, m_choosers));
    AddPage(new CSaveAlbum(m_app, m_choosers));
    AddPage(new CFinalPage(m_app));
    for (int index = 0; index < PageCount(); ++index)
        Page(index)->InstallAccelerators(m_app.AcceleratorTableOf(index));
}

void CAlbumSheet::loadStepPictures()
{
    bool told = false;
    for (size_t index = 0; index < m_steps.size(); ++index) {
        m_steps[index] = GetSkin().LoadSkinPicture(StepPictures[index]);
        // One message for a missing set of pictures is enough to tell the user.
        if (m_steps[index].isNull() && !told) {
            GetPrompter().message(loadString(IDS_LOAD_IMAGE_FAILED), Prompter::Icon::Error);
            told = true;
        }
    }
}

const QImage& CAlbumSheet::StepPicture(int index) const
{
    static const QImage none;
    if (index < 0 || index >= PageTotal)
        return none;
    return m_steps[static_cast<size_t>(index)];
}

void CAlbumSheet::Start()
{
    SetActivePage(WelcomePage);
    const QString album = m_app.AlbumToOpen();
    if (!album.isEmpty()) {
        ProjectFile project(m_app.Album(), GetPrompter(), m_choosers);
        if (project.OpenProject(album.toUtf8().constData(), true) == 0)
            SetActivePage(GetActiveIndex() + 2);
        else
            GetPrompter().message(loadString(IDS_OPEN_FAILED), Prompter::Icon::Error);
    }
    setWindowTitle(loadString(IDS_PRODUCT_NAME));
}

bool CAlbumSheet::MayClose()
{
    if (CBasePage* page = GetActivePage())
        page->StoreToAlbum();
    if (!m_app.Album().IsModified())
        return CMyPropertySheet::MayClose();
    switch (GetPrompter().ask(loadString(IDS_SAVE_BEFORE_EXIT),
                              Prompter::Buttons::SaveDiscardCancel, Prompter::Answer::Cancel,
                              Prompter::Icon::Warning)) {
    case Prompter::Answer::Yes:
        return static_cast<CSaveAlbum&>(*Page(GenerationPage)).SaveModifiedAlbum();
    case Prompter::Answer::No:
        return true;
    default:
        return false;
    }
}

void CAlbumSheet::PaintBackground(QPainter& painter)
{
    const QImage& step = StepPicture(GetActiveIndex());
    // The step bar keeps its place at the top and the button bar at the bottom; the plain
    // area between them and the bar's right end grow with the window.
    const QSize size = step.deviceIndependentSize().toSize();
    paintStretched(painter, step, rect(), QPoint(size.width() - 8, size.height() / 2));
}

void CAlbumSheet::ShowTip(bool onRequest)
{
    if (!onRequest) {
        const bool wanted =
            m_app.CommandLine().showSplash && CTipDlg::showAtStartUp(m_app.GetSettings());
        if (!wanted)
            return;
    }
    if (m_tipDialog) {
        m_tipDialog();
        return;
    }
    CTipDlg tip(m_app.GetSettings(), this);
    tip.exec();
}

void CAlbumSheet::OnHelpCommand(int command)
{
    switch (command) {
    case ID_HELP_CONTENTS:
        m_help.ShowContents(GetActiveIndex());
        break;
    case ID_TIP_OF_THE_DAY:
        ShowTip(true);
        break;
    case ID_WHATS_NEW:
        m_help.ShowWhatsNew();
        break;
    case ID_ONLINE_SUPPORT:
        m_help.ShowOnlineSupport();
        break;
    case ID_MAIL_SUPPORT:
        // Without a mail program the user still learns where to write.
        if (!m_help.SendSupportMail())
            GetPrompter().message(loadString(IDS_MAIL_FAILED).arg(loadString(IDS_SUPPORT_MAILBOX)),
                                  Prompter::Icon::Error);
        break;
    case ID_APP_ABOUT:
        runAbout();
        break;
    default:
        break;
    }
}

void CAlbumSheet::OnSysCommand(int command)
{
    if (command == IDM_ABOUTBOX)
        runAbout();
    else if (command == IDM_SHOWTIP)
        QTimer::singleShot(0, this, [this] { ShowTip(true); });
}

void CAlbumSheet::runAbout()
{
    if (m_aboutDialog) {
        m_aboutDialog();
        return;
    }
    CAboutDlg about(
        GetSkin(), [this] { m_help.ShowOnlineSupport(); }, this);
    about.exec();
}

QMenu* CAlbumSheet::BuildSystemMenu()
{
    auto* menu = new QMenu(this);
    connect(menu->addAction(loadString(IDS_SHOW_TIP_MENU)), &QAction::triggered, this,
            [this] { OnSysCommand(IDM_SHOWTIP); });
    connect(menu->addAction(loadString(IDS_ABOUT_MENU)), &QAction::triggered, this,
            [this] { OnSysCommand(IDM_ABOUTBOX); });
    return menu;
}

void CAlbumSheet::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = BuildSystemMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}
