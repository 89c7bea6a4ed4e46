// SPDX-License-Identifier: GPL-2.0-or-later
// CMainFrame: the photo editor's main window: menu, toolbar, the view in the middle and the
// status bar with its progress. It keeps the window title and status panes in step with
// the document.
#pragma once

#include <QMainWindow>

class CLumivexApp;
class CStatusBarWithProgress;
class Choosers;
class Prompter;

class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    CMainFrame(CLumivexApp& app, Prompter& prompter, Choosers& choosers,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    CLumivexApp& App() { return m_app; }
    CStatusBarWithProgress* StatusBar() const { return m_statusBar; }

    // The title ("name *" while modified) and the four status panes from the document.
    void UpdateTitle();
    void UpdateStatusBar(double zoom);

private:
    CLumivexApp& m_app;
    Prompter& m_prompter;
    Choosers& m_choosers;
    CStatusBarWithProgress* m_statusBar = nullptr;
};
