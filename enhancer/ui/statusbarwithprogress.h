// SPDX-License-Identifier: GPL-2.0-or-later
// CStatusBarWithProgress: the editor's status bar with four panes (file name, size, scale,
// place in the list) and a progress bar that, while shown, covers the first pane exactly.
#pragma once

#include <array>

#include <QStatusBar>

class QLabel;
class QProgressBar;

class CStatusBarWithProgress : public QStatusBar
{
    Q_OBJECT
public:
    static constexpr int PaneCount = 4;

    explicit CStatusBarWithProgress(QWidget* parent = nullptr);

    void SetPaneText(int pane, const QString& text);
    QString PaneText(int pane) const;
    QLabel* Pane(int pane) const { return m_panes.at(static_cast<size_t>(pane)); }

    // The long operations' progress: position 0 to 100, shown over pane 0.
    void SetProgress(int percent);
    void ShowProgress();
    void HideProgress();
    bool ProgressShown() const { return m_shown; }
    QProgressBar* Progress() const { return m_progress; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeProgress();

    std::array<QLabel*, PaneCount> m_panes{};
    QProgressBar* m_progress = nullptr;
    int m_coveredPane = 0;
    bool m_shown = false;
};
