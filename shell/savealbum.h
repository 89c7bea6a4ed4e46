// SPDX-License-Identifier: GPL-2.0-or-later
// CSaveAlbum: the generation page: where the album goes, and making it. The destination is
// proposed from the album and may be changed; Generate checks and empties the folder, has the
// chosen plug-in write the album, saves it and adds it to the Favorites; the page then says
// how it went and offers to view the album. Next asks to generate an album that was not
// generated yet.
#pragma once

#include <memory>

#include <QDialog>

#include "plugins/destinationcheck.h"
#include "shell/basepage.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class AlbumOutput;
class CGVApp;
class Choosers;

// "File Deletion Warning": how the destination's files are deleted, and whether to ask again.
class CDeletionWarningDlg : public QDialog
{
    Q_OBJECT
public:
    CDeletionWarningDlg(const QString& text, CDestinationCheck::DeletionMethod stored,
                        QWidget* parent = nullptr);

    CDestinationCheck::DeletionMethod Method() const;
    QCheckBox& RecycleBox() { return *m_recycle; }
    QCheckBox& NotShowAgainBox() { return *m_notShowAgain; }

private:
    QCheckBox* m_recycle;
    QCheckBox* m_notShowAgain;
};

class CSaveAlbum : public CBasePage
{
    Q_OBJECT
public:
    static constexpr int PageIndex = 5;

    CSaveAlbum(CGVApp& app, Choosers& choosers, QWidget* parent = nullptr);
    ~CSaveAlbum() override;

    bool OnSetActive() override;
    int OnWizardNext() override;

    // The page's Generate: 0 when the album was generated, -1 when a check stopped it,
    // GV_E_FILENOTFOUND when the folder could not be made, otherwise the plug-in's failure.
    int Generate();
    // Replaces the deletion warning dialog (tests answer it themselves).
    void SetDeletionWarning(CDestinationCheck::DeletionWarning warning);
    bool IsBusy() const { return m_busy; }
    // Saves a modified album the way Next does, without asking; false when it is still not
    // saved (the user was told why, or declined to choose a file).
    bool SaveModifiedAlbum();

    QLineEdit& DestinationEdit() { return *m_destination; }
    QLabel& DestinationPath() { return *m_path; }
    QPushButton& ChangeButton() { return *m_change; }
    QPushButton& GenerateButton() { return *m_generate; }
    QPushButton& ViewButton() { return *m_view; }
    QLabel& ResultLabel() { return *m_result; }
    QCheckBox& SaveSettingsBox() { return *m_saveSettings; }
    QCheckBox& AddFavoritesBox() { return *m_addFavorites; }

protected:
    void PlaceControls() override;

private Q_SLOTS:
    void onChange();

private:
    void storeBoxes();
    void enableControls(bool enable);
    void showResult(int result);

    CGVApp& m_app;
    Choosers& m_choosers;
    std::unique_ptr<AlbumOutput> m_output;
    QLabel* m_label;
    QLineEdit* m_destination;
    QLabel* m_path; // hidden: the destination as typed
    QPushButton* m_change;
    QPushButton* m_generate;
    QPushButton* m_view;  // shown once the album is generated
    QLabel* m_result;     // how the last Generate went
    QCheckBox* m_saveSettings;
    QCheckBox* m_addFavorites;
    bool m_busy = false;
};
