// SPDX-License-Identifier: GPL-2.0-or-later
// CMainFrame: the photo editor's main window: the menu, the toolbar in its two variants (with
// or without the list's previous/next buttons), the view in the middle and the status bar
// with its progress. Every command goes through OnCommand; CommandTable decides which are
// enabled and what they show.
#pragma once

#include <map>

#include <QIcon>
#include <QMainWindow>

#include "controls/hyperlink.h"

class CLumivexApp;
class CLumivexView;
class CStatusBarWithProgress;
class Choosers;
class Prompter;
class QAction;
class QMenu;
class QToolBar;
class QToolButton;
struct CommandState;

class CMainFrame : public QMainWindow
{
    Q_OBJECT
public:
    CMainFrame(CLumivexApp& app, Prompter& prompter, Choosers& choosers,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    CLumivexApp& App() { return m_app; }
    CLumivexView* View() const { return m_view; }
    CStatusBarWithProgress* StatusBar() const { return m_statusBar; }
    QToolBar* ToolBar() const { return m_toolBar; }
    // The action of a command (menu item, toolbar button and keys share it).
    QAction* Action(int id) const;
    // The toolbar's button of a command; null when the current toolbar has none.
    QToolButton* ToolButton(int id) const;
    QMenu* RecentMenu() const { return m_recentMenu; }
    // The drop-down menus of the Rotate and Crop buttons.
    QMenu* RotateMenu() const { return m_rotateMenu; }
    QMenu* CropMenu() const { return m_cropMenu; }

    // How help pages and the about box's link are opened (the desktop's browser by default).
    void SetLinkOpener(LinkOpener opener) { m_opener = std::move(opener); }

    // Runs a command as its menu item, button or key does; false when it was disabled.
    bool OnCommand(int id);
    // Enables every command by its rule, and the title, status panes and Undo button.
    void UpdateCommands();
    CommandState State() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void RebuildToolBar();
    QToolButton* AddDropDown(int id, QMenu* menu, bool buttonShowsMenu);
    void ConnectDocument();
    void ShowUndoButton(bool undo);
    void UpdateTitle();
    void UpdateStatusBar();
    void FillRecentMenu();
    void OpenRecent(const QString& path);
    void AfterNewImage();

    // Command handlers (mainframecommands.cpp).
    bool RunFileCommand(int id);
    bool RunEditDialog(int id);
    void RunSharpen();
    bool RunViewCommand(int id);
    void ShowHelp();
    void ShowAbout();

    CLumivexApp& m_app;
    Prompter& m_prompter;
    Choosers& m_choosers;
    CLumivexView* m_view = nullptr;
    CStatusBarWithProgress* m_statusBar = nullptr;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_recentMenu = nullptr;
    QMenu* m_rotateMenu = nullptr;
    QMenu* m_cropMenu = nullptr;
    std::map<int, QAction*> m_actions;
    std::map<int, QToolButton*> m_buttons;
    QIcon m_undoIcon;
    QIcon m_redoIcon;
    bool m_undoShown = true;
    bool m_toolBarListMode = false;
    LinkOpener m_opener = openWithDesktop;
};
