// SPDX-License-Identifier: GPL-2.0-or-later
// CMainFrame's commands: each runs the document's, the view's or a dialog's part of the work.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QToolBar>

#include "controls/hyperlink.h"
#include "enhancer/fixedturns.h"
#include "enhancer/lumivexstrings.h"
#include "enhancer/ui/aboutlumivexdlg.h"
#include "enhancer/ui/commandtable.h"
#include "enhancer/ui/lumivexapp.h"
#include "enhancer/ui/lumivexcommands.h"
#include "enhancer/ui/lumivexview.h"
#include "enhancer/ui/mainframe.h"
#include "enhancer/ui/statusbarwithprogress.h"
#include "enhancer/ui/timinglog.h"
#include "platform/prompter.h"

bool CMainFrame::OnCommand(int id)
{
    if (!CommandTable::IsEnabled(id, State()))
        return false;
    if (CommandTable::NeedsBusyCheck(id) &&
        !CommandTable::PassBusyCheck({m_view->IsOperationRunning(), m_view->IsCropping()},
                                     m_prompter)) {
        return false;
    }
    const bool done = RunFileCommand(id) || RunEditDialog(id) || RunViewCommand(id);
    UpdateCommands();
    return done;
}

bool CMainFrame::RunFileCommand(int id)
{
    CLumivexDoc& doc = m_app.Document();
    switch (id) {
    case ID_FILE_NEW:
        doc.New(m_prompter, m_choosers);
        AfterNewImage();
        return true;
    case ID_FILE_OPEN:
        TimingLog::Start(QStringLiteral("open"));
        if (doc.Open(m_prompter, m_choosers) && !doc.ListMode())
            m_app.AddRecentFile(doc.PathName());
        AfterNewImage();
        return true;
    case ID_FILE_SAVE:
        TimingLog::Start(QStringLiteral("save"));
        if (doc.Save(m_prompter, m_choosers)) {
            m_app.AddRecentFile(doc.PathName());
            TimingLog::End(QStringLiteral("save"));
        }
        return true;
    case ID_FILE_SAVE_AS:
        if (doc.SaveAs(m_prompter, m_choosers))
            m_app.AddRecentFile(doc.PathName());
        return true;
    case ID_PREVIOUS_IMAGE:
        TimingLog::Start(QStringLiteral("open"));
        doc.GoPrevious(m_prompter, m_choosers);
        return true;
    case ID_NEXT_IMAGE:
        TimingLog::Start(QStringLiteral("open"));
        doc.GoNext(m_prompter, m_choosers);
        return true;
    case ID_EDIT_UNDO: doc.UndoRedo(); return true;
    case ID_APP_EXIT: close(); return true;
    case ID_HELP_FINDER: ShowHelp(); return true;
    case ID_APP_ABOUT: ShowAbout(); return true;
    case ID_VIEW_TOOLBAR: m_toolBar->setVisible(Action(id)->isChecked()); return true;
    case ID_VIEW_STATUS_BAR:
        m_statusBar->setVisible(Action(id)->isChecked());
        return true;
    default: return false;
    }
}

bool CMainFrame::RunViewCommand(int id)
{
    if (const std::optional<FixedTurn> turn = FixedTurnOfCommand(id)) {
        m_view->RunFixedTurn(*turn);
        return true;
    }
    switch (id) {
    case ID_ZOOM_IN: m_view->ZoomIn(); return true;
    case ID_ZOOM_OUT: m_view->ZoomOut(); return true;
    case ID_ZOOM_ACTUAL: m_view->ActualPixels(); return true;
    case ID_ZOOM_FIT: m_view->BestFit(); return true;
    case ID_CROP_FREE:
    case ID_CROP_KEEP_PROPORTIONS:
    case ID_CROP_3_2:
    case ID_CROP_4_3:
        m_view->CropCommand(id);
        m_view->setFocus(); // Enter and Esc go to the crop
        return true;
    case ID_FILE_PRINT: m_view->Print(); return true;
    case ID_FILE_PRINT_PREVIEW: m_view->PrintPreview(); return true;
    case ID_FILE_PRINT_SETUP: m_view->PrintSetup(); return true;
    default: return false;
    }
}

void CMainFrame::OpenRecent(const QString& path)
{
    if (!CommandTable::PassBusyCheck({m_view->IsOperationRunning(), m_view->IsCropping()},
                                     m_prompter)) {
        return;
    }
    CLumivexDoc& doc = m_app.Document();
    if (!doc.SaveModified(m_prompter, m_choosers))
        return;
    QString reason;
    if (doc.Load(path, &reason)) {
        m_app.AddRecentFile(path);
    } else {
        // A file that went away leaves the list, as users expect of a recent-files menu.
        m_prompter.message(loadLumivexString(IDS_LX_OPEN_FAILED).arg(path, reason),
                           Prompter::Icon::Error);
        if (!QFileInfo::exists(path))
            m_app.RemoveRecentFile(path);
    }
    AfterNewImage();
}

void CMainFrame::ShowHelp()
{
    const QString page = m_app.HelpFile();
    if (!QFileInfo::exists(page) || m_opener(page) <= 32)
        m_prompter.message(loadLumivexString(IDS_LX_HELP_MISSING).arg(page),
                           Prompter::Icon::Warning);
}

void CMainFrame::ShowAbout()
{
    CAboutLumivexDlg about(m_prompter, this);
    about.Link()->setOpener(m_opener);
    about.exec();
}
