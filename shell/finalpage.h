// SPDX-License-Identifier: GPL-2.0-or-later
// CFinalPage: the final page: a new album or the end. The answer is a pair of check buttons,
// remembered in the settings ("ContinueWithGV"); Done either closes the wizard or starts a
// fresh album on the welcome page. Ctrl+C and Ctrl+E answer and press Done at once.
#pragma once

#include "shell/basepage.h"

class QAbstractButton;
class AlbumProject;
class CGVApp;
class Settings;

// The page's rules without the window.
class FinalChoice
{
public:
    static constexpr int WelcomePage = 0;

    explicit FinalChoice(Settings& settings) : m_settings(settings) {}

    // The stored answer: true (the default) to go on with a new album.
    bool StoredContinue() const;
    // Done with the answer given: remembers it; going on resets the album to a new, empty
    // one. True when the wizard may close.
    bool Finish(bool continueWithNew, AlbumProject& album);
    // An album can be published once it was generated or has a destination folder.
    static bool Publishable(const AlbumProject& album);

private:
    Settings& m_settings;
};

class CFinalPage : public CBasePage
{
    Q_OBJECT
public:
    static constexpr int PageIndex = 6;
    enum Command { ID_CONTINUE = 32782, ID_EXIT = 32783 };
    enum ControlId { IDC_CONTINUE = 1071, IDC_EXIT = 1073, IDC_PUBLISH = 1086 };

    explicit CFinalPage(CGVApp& app, QWidget* parent = nullptr);

    bool OnSetActive() override;
    bool OnWizardFinish() override;
    bool OnCommand(int command) override;

    QAbstractButton& ContinueButton() { return *m_continue; }
    QAbstractButton& ExitButton() { return *m_exit; }
    QAbstractButton& PublishButton() { return *m_publish; }

protected:
    void OnInitDialog() override;
    void PlaceControls() override;

private:
    QAbstractButton* makeChoice(int pictureId, int controlId, int textId, int tipId);
    void check(bool continueWithNew);
    void publish();

    CGVApp& m_app;
    FinalChoice m_choice;
    QAbstractButton* m_continue;
    QAbstractButton* m_exit;
    QAbstractButton* m_publish;
};
