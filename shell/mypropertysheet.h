// SPDX-License-Identifier: GPL-2.0-or-later
// CMyPropertySheet: the wizard's window: a client area of at least 598 x 548 that the user
// may enlarge, the pages stacked on it, and the five skinned wizard buttons. Cancel asks before the wizard closes; Help pops
// up the help menu.
#pragma once

#include <vector>

#include <QDialog>

#include "shell/wizardnavigator.h"

class QAbstractButton;
class QMenu;
class QStackedWidget;
class CBasePage;
class Prompter;
class Skin;

class CMyPropertySheet : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 598;
    static constexpr int ClientHeight = 548;

    // Which wizard buttons a page wants (SetWizardButtons); Finish takes Next's place.
    enum WizardButton { PSWIZB_BACK = 1, PSWIZB_NEXT = 2, PSWIZB_FINISH = 4 };
    // Control ids of the buttons.
    enum ButtonId {
        ID_WIZBACK = 12323,
        ID_WIZNEXT = 12324,
        ID_WIZFINISH = 12325,
        IDHELP = 9,
        IDCANCEL = 2
    };
    // Commands of the help menu.
    enum HelpCommand {
        ID_HELP_CONTENTS = 32791,
        ID_TIP_OF_THE_DAY = 32794,
        ID_WHATS_NEW = 32789,
        ID_ONLINE_SUPPORT = 32793,
        ID_MAIL_SUPPORT = 32795,
        ID_APP_ABOUT = 32796
    };

    CMyPropertySheet(Skin& skin, Prompter& prompter, QWidget* parent = nullptr);
    ~CMyPropertySheet() override;

    void AddPage(CBasePage* page);
    CBasePage* Page(int index) const;
    int PageCount() const { return m_navigator.PageCount(); }
    int GetActiveIndex() const { return m_navigator.ActiveIndex(); }
    CBasePage* GetActivePage() const { return Page(GetActiveIndex()); }
    bool SetActivePage(int index);
    WizardNavigator& Navigator() { return m_navigator; }

    void SetWizardButtons(int buttons);
    // Presses a wizard button later, after the event under way (PSM_PRESSBUTTON, posted).
    void PressButton(int buttonId);
    QAbstractButton* Button(int buttonId) const;

    // The help menu as the Help button shows it; the caller owns it.
    QMenu* BuildHelpMenu();
    // Runs a command of the help menu.
    virtual void OnHelpCommand(int command) { (void)command; }

    // Cancel, Esc and the window's close button: closes when MayClose agrees; never while
    // the wizard is busy.
    void reject() override;
    // A generation runs: the page cannot change, the window cannot close, and the wizard's
    // buttons are disabled until it is done; the progress window is the one to use.
    void SetBusy(bool busy);
    bool IsBusy() const { return m_navigator.IsLocked(); }

protected:
    // Whether the wizard may close now: "Exit Gallivex now?" unless a derived wizard knows
    // better.
    virtual bool MayClose();
    // Paints behind the pages (the step picture).
    virtual void PaintBackground(QPainter& painter) { (void)painter; }
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    Skin& GetSkin() { return m_skin; }
    Prompter& GetPrompter() { return m_prompter; }

private:
    void createButtons();
    QAbstractButton* makeButton(int pictureId, int states, int textId, int controlId);
    void placeButtons();
    void showHelpMenu();
    void pageChanged(int index);
    // With GALLIVEX_DEBUG_CONTROLS=1: the page's visible controls on stderr, once it settled.
    void listControlsLater();

    Skin& m_skin;
    Prompter& m_prompter;
    QStackedWidget* m_stack;
    WizardNavigator m_navigator;
    QAbstractButton* m_back = nullptr;
    QAbstractButton* m_next = nullptr;
    QAbstractButton* m_finish = nullptr;
    QAbstractButton* m_help = nullptr;
    QAbstractButton* m_cancel = nullptr;
    // The buttons disabled by SetBusy, to enable again afterwards.
    std::vector<QAbstractButton*> m_heldButtons;
    bool m_listingPosted = false;
};
