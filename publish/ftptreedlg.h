// SPDX-License-Identifier: GPL-2.0-or-later
// CFTPTREEDlg: the publish dialog. The user picks or types an FTP address, logs in or
// connects anonymously, browses the server's folders, may create or remove folders, and
// sends the album into the chosen folder. The rules live in FtpTreeLogic; this window shows
// its fields and tree and forwards the buttons to it.
#pragma once

#include <functional>
#include <memory>

#include <QString>

#include "controls/mydlg.h"
#include "publish/ftptreelogic.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class CImageButton;

class CFTPTREEDlg : public CMyDlg
{
    Q_OBJECT
public:
    enum ControlId {
        IDD = 246,
        IDC_ADDRESS = 1116,
        IDC_CONNECT = 1002,
        IDC_LOGIN = 1016,
        IDC_PASSWORD = 1021,
        IDC_ANONYMOUS = 1111,
        IDC_SAVE_PASSWORD = 1212,
        IDC_TREE = 1119,
        IDC_CREATE_FOLDER = 1040,
        IDC_REMOVE_FOLDER = 1043,
        IDC_TRANSFER = 1012,
        IDC_HELP = 9,
        IDC_DONE = 2,
        IDC_ADDRESS_LABEL = 1064,
        IDC_LOGIN_LABEL = 1058,
        IDC_PASSWORD_LABEL = 1257,
    };
    static constexpr const char* HelpTopic = "::/wizard/publish.html";

    // What the dialog asks of the program around it.
    struct Services {
        std::function<void(const QString& topic)> showHelp;
        std::function<bool(const QString& path)> openFile;
        QString logPath = FtpLog::DefaultPath();
    };

    CFTPTREEDlg(Settings& settings, Prompter& prompter, SecretStore* secrets, Services services,
                QWidget* parent = nullptr);
    ~CFTPTREEDlg() override;

    // The generated album's folder, sent by Transfer Album.
    void SetLocalFolder(const QString& folder);

    FtpTreeLogic& Logic() { return *m_logic; }
    QWidget* Control(int id) const;

    // Done and Esc: the fields are kept for the address, the connection closes.
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CImageButton* makeButton(int id, int picture, int captionId, bool check = false);
    QLabel* makeLabel(int id, int picture, int captionId);
    void wire();
    void placeControls();
    void showSites();
    void showFields();
    void readFields();
    void showTree();
    void fillItem(QTreeWidgetItem& item, RemoteFolderNode& node);
    void onExpanded(QTreeWidgetItem* item);
    void onCurrentChanged(QTreeWidgetItem* item);
    void onSiteChosen(int index);
    void updateControls();
    std::unique_ptr<Progress> showProgress();
    std::optional<QString> askFolderName();
    bool pump();

    Services m_services;
    std::unique_ptr<FtpTreeLogic> m_logic;
    QComboBox* m_address;
    QLineEdit* m_login;
    QLineEdit* m_password;
    QTreeWidget* m_tree;
    QLabel* m_addressLabel;
    QLabel* m_loginLabel;
    QLabel* m_passwordLabel;
    CImageButton* m_connect;
    CImageButton* m_anonymous;
    CImageButton* m_savePassword;
    CImageButton* m_create;
    CImageButton* m_remove;
    CImageButton* m_transfer;
    CImageButton* m_help;
    CImageButton* m_done;
    bool m_filling = false; // the window is being filled from the logic, not by the user
};
