// SPDX-License-Identifier: GPL-2.0-or-later
// CAlbumSheet: the album builder's wizard. It holds the seven pages in their fixed order,
// paints the active step's picture behind them, runs the help menu's commands, the tip of the
// day and the about box, and starts on the theme page when an album was named on the command
// line.
#pragma once

#include <array>
#include <functional>

#include <QImage>

#include "shell/helpcommands.h"
#include "shell/mypropertysheet.h"

class CGVApp;
class Choosers;
class QMenu;

class CAlbumSheet : public CMyPropertySheet
{
    Q_OBJECT
public:
    enum PageIndex {
        WelcomePage,
        AlbumManagerPage,
        ThemePage,
        ImageListPage,
        PropertiesPage,
        GenerationPage,
        FinalPage,
        PageTotal
    };
    // Commands of the window menu.
    enum SystemCommand { IDM_ABOUTBOX = 16, IDM_SHOWTIP = 32 };

    CAlbumSheet(CGVApp& app, Choosers& choosers, HelpCommands help, QWidget* parent = nullptr);
    ~CAlbumSheet() override;

    // Shows the first page, then opens the album named on the command line, if any: on
    // success the wizard starts on the theme page; otherwise the user is told (118) and the
    // welcome page stays.
    void Start();
    // Runs the tip of the day. At start-up (onRequest false) only when the command line did
    // not ask for no logo and the user keeps the tips on.
    void ShowTip(bool onRequest);
    // How the tip of the day is shown; the real tip dialog unless replaced.
    void SetTipDialog(std::function<void()> show) { m_tipDialog = std::move(show); }
    // How the about box is shown; the real one unless replaced.
    void SetAboutDialog(std::function<void()> show) { m_aboutDialog = std::move(show); }
    void OnHelpCommand(int command) override;
    void OnSysCommand(int command);
    // The window menu's two items, as the sheet's context menu offers them.
    QMenu* BuildSystemMenu();
    const HelpCommands& Help() const { return m_help; }
    const QImage& StepPicture(int index) const;

protected:
    // With unsaved changes: Save, Don't save or Cancel (the default); otherwise "Exit
    // Gallivex now?".
    bool MayClose() override;
    void PaintBackground(QPainter& painter) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void addPages();
    void loadStepPictures();
    void runAbout();

    CGVApp& m_app;
    Choosers& m_choosers;
    HelpCommands m_help;
    std::array<QImage, PageTotal> m_steps;
    std::function<void()> m_tipDialog;
    std::function<void()> m_aboutDialog;
};
