// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/statusbarwithprogress.h"

#include <QLabel>
#include <QProgressBar>

CStatusBarWithProgress::CStatusBarWithProgress(QWidget* parent) : QStatusBar(parent)
{
    static const char* const names[PaneCount] = {"File name", "Image size", "Scale",
                                                 "Place in list"};
    setSizeGripEnabled(true);
    for (int i = 0; i < PaneCount; ++i) {
        auto* label = new QLabel(this);
        label->setAccessibleName(QString::fromLatin1(names[i]));
        label->setTextInteractionFlags(Qt::NoTextInteraction);
        // The last pane takes what the others leave.
        addPermanentWidget(label, i == PaneCount - 1 ? 1 : 0);
        m_panes[static_cast<size_t>(i)] = label;
    }
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_progress->setAccessibleName(QStringLiteral("Progress"));
    m_progress->setFocusPolicy(Qt::NoFocus);
    m_progress->hide();
}

void CStatusBarWithProgress::SetPaneText(int pane, const QString& text)
{
    if (pane < 0 || pane >= PaneCount)
        return;
    QLabel* label = m_panes[static_cast<size_t>(pane)];
    label->setText(text);
    // The pane's name says what it holds; a screen reader reads the text itself from here.
    label->setAccessibleDescription(text);
}

QString CStatusBarWithProgress::PaneText(int pane) const
{
    if (pane < 0 || pane >= PaneCount)
        return {};
    return m_panes[static_cast<size_t>(pane)]->text();
}

void CStatusBarWithProgress::SetProgress(int percent)
{
    m_progress->setValue(std::clamp(percent, 0, 100));
}

void CStatusBarWithProgress::ShowProgress()
{
    m_shown = true;
    placeProgress();
    m_progress->show();
    m_progress->raise();
}

void CStatusBarWithProgress::HideProgress()
{
    m_shown = false;
    m_progress->hide();
}

void CStatusBarWithProgress::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    // The panes move with the bar's width; the progress follows the pane it covers.
    if (m_shown)
        placeProgress();
}

void CStatusBarWithProgress::placeProgress()
{
    const QLabel* pane = m_panes[static_cast<size_t>(m_coveredPane)];
    m_progress->setGeometry(pane->geometry());
}
