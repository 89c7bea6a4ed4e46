// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/mainframe.h"

#include "enhancer/lumivexstrings.h"
#include "enhancer/ui/lumivexapp.h"
#include "enhancer/ui/statusbarwithprogress.h"

CMainFrame::CMainFrame(CLumivexApp& app, Prompter& prompter, Choosers& choosers,
                       QWidget* parent)
    : QMainWindow(parent), m_app(app), m_prompter(prompter), m_choosers(choosers)
{
    setObjectName(QStringLiteral("LumivexMainFrame"));
    m_statusBar = new CStatusBarWithProgress(this);
    setStatusBar(m_statusBar);
    UpdateTitle();
    UpdateStatusBar(1.0);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::UpdateTitle()
{
    setWindowTitle(m_app.Document().Title() + QStringLiteral(" - Lumivex"));
}

void CMainFrame::UpdateStatusBar(double zoom)
{
    const CLumivexDoc& doc = m_app.Document();
    const ImageRecord& image = doc.Current();
    if (!image.HasPixels()) {
        for (int pane = 0; pane < CStatusBarWithProgress::PaneCount; ++pane)
            m_statusBar->SetPaneText(pane, QString());
        return;
    }
    m_statusBar->SetPaneText(0, QString::fromStdString(image.fileName));
    m_statusBar->SetPaneText(1, QStringLiteral("%1x%2x%3")
                                    .arg(image.widthPixels)
                                    .arg(image.heightPixels)
                                    .arg(image.header.biBitCount));
    m_statusBar->SetPaneText(
        2, loadLumivexString(IDS_LX_SCALE_STATUS)
               .replace(QStringLiteral("%d%%"), QString::number(static_cast<int>(zoom * 100)) + u'%'));
    m_statusBar->SetPaneText(3, doc.ListMode()
                                    ? loadLumivexString(IDS_LX_IMAGE_OF)
                                          .replace(QStringLiteral("%d of %d"),
                                                   QStringLiteral("%1 of %2")
                                                       .arg(doc.NavigationIndex() + 1)
                                                       .arg(doc.NavigationList().size()))
                                    : QString());
}
