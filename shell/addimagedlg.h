// SPDX-License-Identifier: GPL-2.0-or-later
// CAddImageDlg: the image list page: the photos of the album in two parallel lists (titles
// and paths) sharing one selection, a preview, the description and subfolder text of the
// selection, and commands to add, remove, reorder, turn and level photos and hand them to the
// photo editor or the print program. Between activation and leaving, the page's rows hold the
// truth; leaving rebuilds the album's image list from them.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <QTemporaryDir>

#include "images/exiffields.h"
#include "images/imageedits.h"
#include "images/pageimages.h"
#include "shell/basepage.h"
#include "shell/imagelistchoosers.h"
#include "shell/imagesavedlistener.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class CGVApp;
class CTwain;
class QImage;
class CMyImage;
class Choosers;

class CAddImageDlg : public CBasePage
{
    Q_OBJECT
public:
    static constexpr int PageIndex = 3;
    // Control and command ids of the page.
    enum Command {
        ID_ADD = 1003,
        ID_ADD_FOLDER = 1009,
        ID_IMPORT = 1105,
        ID_REMOVE = 1004,
        ID_TOP = 1211,
        ID_UP = 1309,
        ID_DOWN = 1110,
        ID_BOTTOM = 1112,
        ID_ROTATE_RIGHT = 2113,
        ID_ROTATE_LEFT = 2114,
        ID_AUTOLEVELS = 2115,
        ID_UNDO = 2116,
        ID_EDIT_TITLE = 1013,
        ID_EXIF = 1008,
        ID_ENHANCE = 1156,
        ID_PRINT = 1157,
        ID_MENU_ROTATE_90 = 32784,
        ID_MENU_ROTATE_180 = 32785,
        ID_MENU_ROTATE_270 = 32786,
        ID_MENU_AUTO_LEVELS = 32787,
        ID_MENU_UNDO = 32788,
        ID_F2_EDIT = 32776,
    };

    CAddImageDlg(CGVApp& app, Choosers& choosers, QWidget* parent = nullptr);
    ~CAddImageDlg() override;

    bool OnSetActive() override;
    bool OnKillActive() override;
    int OnWizardNext() override;
    int OnWizardBack() override;
    bool OnCommand(int command) override;
    void StoreToAlbum() override;

    // The album's image list becomes the page's rows, in row order.
    void SyncPageToAlbum();
    // Adds one photo at the end of the list (the Add commands use it).
    bool AddImageFile(const QString& path, const QString& subfolder);
    // The photo editor saved a photo: the preview reads it again.
    void OnImageSaved();
    // Ctrl+Shift+D, F and R: clear every description, every title, or cut the extensions.
    void ClearDescriptions();
    void ClearTitles();
    void StripTitleExtensions();

    // Replaces the two choosers of the page (tests script them).
    void SetImageChoosers(std::unique_ptr<ImageListChoosers> choosers);
    // The EXIF information dialog: given the stored captions and toggles, the user's choice,
    // or nothing when cancelled. CExifInfo unless replaced (tests script it).
    using ExifDialog = std::function<std::optional<exiffields::Choice>(const exiffields::Choice&)>;
    void SetExifDialog(ExifDialog dialog) { m_exifDialog = std::move(dialog); }
    // Scanners and cameras: the device chooser can be scripted through Acquisition().
    CTwain& Acquisition();
    // A picture received from a scanner or camera joins the album as a temporary BMP file.
    void AddAcquiredImage(const QImage& image);
    // Where backups and list files go (tests); the page's own backup folder and the
    // temporary folder unless changed.
    void SetTemporaryFolder(const QString& folder);
    // How programs are started; platform::startDetached unless replaced.
    using Starter = std::function<bool(const QString&, const QStringList&)>;
    void SetStarter(Starter starter) { m_starter = std::move(starter); }

    // The context menu as it would open now; its actions carry their command ids.
    std::unique_ptr<QMenu> BuildContextMenu();
    void SelectRows(const std::vector<int>& rows);
    std::vector<int> SelectedRows() const;

    const CPageImages& Rows() const { return m_rows; }
    QListWidget& TitleList() { return *m_titles; }
    QListWidget& PathList() { return *m_paths; }
    QPlainTextEdit& DescriptionBox() { return *m_description; }
    QLineEdit& SubfolderBox() { return *m_subfolder; }
    QLabel& StatusLine() { return *m_status; }
    CMyImage& Preview() { return *m_preview; }
    QWidget* Splash() const { return m_splash; }
    QAbstractButton* Button(int id) const;
    const CImageEdits& Edits() const { return m_edits; }
    QString ListenerId() const { return m_listener.Id(); }

protected:
    void PlaceControls() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createButtons();
    QAbstractButton* makeButton(int id, int captionOffset, int pictureId);
    void connectLists();
    void loadFromAlbum();
    void refill(const std::vector<int>& selected);
    void syncSelection(QListWidget* from, QListWidget* to);
    void selectionChanged();
    void storeDescription();
    void showCurrent();
    void updateButtons();
    // Enables the button of an outside program, or tells in its tip that it is not installed.
    void showProgramButton(int id, bool installed, int missingText, bool wanted);
    void updateSubfolderBox();
    void subfolderEdited();
    void titleEdited(int row, const QString& text);
    void showSplash(bool show);
    void placeSplash();
    void renumberAlbum();
    bool subfolderBoxWanted() const;
    QStringList selectedPaths() const;
    std::vector<CImageEdits::Selected> selectedForEdit() const;
    bool selectionEditable() const;
    void readProgramFolders();
    bool writeListFile(QString& listPath) const;
    QString listFilePath() const;

    // Commands (addimagecommands.cpp).
    void onAdd();
    void onAddFolder();
    void onRemove();
    void onMove(int command);
    void onRotate(int angle);
    void onAutoLevels();
    void onUndo();
    void onEditTitle();
    void onExif();
    void onImport();
    void onEnhance();
    void onPrint();
    void afterAdding(bool selectLast);
    void afterEdit();
    void showContextMenu(QListWidget* list, const QPoint& position);

    CGVApp& m_app;
    Choosers& m_choosers;
    std::unique_ptr<ImageListChoosers> m_imageChoosers;
    CPageImages m_rows;
    // Backups go to a folder of this page's own: a second album builder editing photos at the
    // same time must never find its backups replaced by ours.
    QTemporaryDir m_backupFolder;
    CImageEdits m_edits;
    CImageSavedListener m_listener;
    QString m_temporaryFolder;
    QListWidget* m_titles;
    QListWidget* m_paths;
    QPlainTextEdit* m_description;
    QLineEdit* m_subfolder;
    QLabel* m_status;
    CMyImage* m_preview;
    QWidget* m_splash = nullptr;
    std::map<int, QAbstractButton*> m_buttons;
    std::vector<int> m_previousSelection;
    int m_current = -1;
    bool m_descriptionDirty = false;
    bool m_syncing = false;
    QString m_subfolderShown;
    QString m_enhancerProgram; // the photo editor's program file
    QString m_printFolder;
    bool m_enhancerAvailable = false;
    bool m_printAvailable = false;
    Starter m_starter;
    ExifDialog m_exifDialog;
    std::unique_ptr<CTwain> m_twain;
};
