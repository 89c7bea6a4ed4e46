// SPDX-License-Identifier: GPL-2.0-or-later
// CAlbumIntro: the welcome page. One question, a new album or an existing one, as a pair of
// check buttons; the answer is remembered, and double-click or Ctrl+C / Ctrl+O answer and go
// on at once.
#pragma once

#include <functional>

#include "shell/basepage.h"
#include "shell/welcomechoice.h"

class QAbstractButton;
class QLabel;
class CGVApp;

class CAlbumIntro : public CBasePage
{
    Q_OBJECT
public:
    static constexpr int PageIndex = 0;
    enum Command { ID_CREATE_NEW = 32780, ID_OPEN_EXISTING = 32781 };
    enum ControlId { IDC_CREATE_NEW = 1019, IDC_OPEN_EXISTING = 1028 };

    explicit CAlbumIntro(CGVApp& app, QWidget* parent = nullptr);

    bool OnSetActive() override;
    int OnWizardNext() override;
    bool OnCommand(int command) override;

    QAbstractButton& CreateNewButton() { return *m_createNew; }
    QAbstractButton& OpenExistingButton() { return *m_openExisting; }
    // Checks one choice and presses Next (posted, as a keyboard shortcut or double-click).
    void ChooseAndGo(bool createNew);
    // Told once, when the page is first shown, so the tip of the day can appear.
    void SetFirstShown(std::function<void()> firstShown) { m_firstShown = std::move(firstShown); }

protected:
    void OnInitDialog() override;
    void PlaceControls() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractButton* makeChoice(int pictureId, int controlId, int textId);
    void showStoredChoice();
    void check(bool createNew);

    CGVApp& m_app;
    WelcomeChoice m_choice;
    QLabel* m_question;
    QAbstractButton* m_createNew;
    QAbstractButton* m_openExisting;
    std::function<void()> m_firstShown;
};
