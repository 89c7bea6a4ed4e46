// SPDX-License-Identifier: GPL-2.0-or-later
// FtpTreeLogic: what the publish dialog does, without its window: the remembered sites, the
// login fields and their anonymous state, Connect, the remote folder tree with its lazy
// listing, Create and Remove Folder, Transfer Album and Done. The dialog shows the fields and
// the tree and forwards its buttons here; tests drive it the same way without a window.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QString>

#include "publish/ftplog.h"
#include "publish/ftpsites.h"
#include "publish/myinetsession.h"

class CMyFtpConnection;
class Progress;
class Prompter;
class SecretStore;
class Settings;
struct FtpAddress;

// One folder of the remote tree. A folder that was never listed shows a placeholder child,
// so that it can be expanded.
struct RemoteFolderNode {
    QString name; // "/" for the root
    RemoteFolderNode* parent = nullptr;
    std::vector<std::unique_ptr<RemoteFolderNode>> children;
    bool listed = false;

    // "/" for the root, "/a/b" below it.
    QString Path() const;
    // The child of that exact name, or null.
    RemoteFolderNode* Child(const QString& childName) const;
};

// What the logic needs from the window around it.
struct PublishHooks {
    // The new-folder question; nothing when the user cancelled.
    std::function<std::optional<QString>()> askFolderName;
    // The progress window of a transfer, shown; it closes when the object is destroyed.
    std::function<std::unique_ptr<Progress>()> showProgress;
    // Opens a file with the desktop's application for it (the log after a failed transfer).
    std::function<bool(const QString& path)> openFile;
    // Lets the window repaint while the network is waited on; false cancels the operation.
    std::function<bool()> pump;
    // The busy state, the connection or the tree changed: the window updates its controls.
    std::function<void()> changed;
};

class FtpTreeLogic
{
public:
    // The fields of the dialog, as the user filled them.
    struct Fields {
        QString address, login, password;
        bool anonymous = false;
        bool savePassword = false;
    };

    FtpTreeLogic(Settings& settings, Prompter& prompter, PublishHooks hooks,
                 SecretStore* secrets, const QString& logPath = FtpLog::DefaultPath());
    ~FtpTreeLogic();

    // The dialog opens: settings corrected, the log started, the remembered sites loaded.
    void Open();
    void SetLocalFolder(const QString& folder) { m_localFolder = folder; }
    QString LocalFolder() const { return m_localFolder; }

    Fields& GetFields() { return m_fields; }
    const std::vector<SiteEntry>& Sites() const { return m_sites; }
    // The user picked a remembered site: its fields fill the dialog, any connection closes.
    void SelectSite(int index);
    // The login, password and Save Password are usable only without anonymous access.
    bool LoginEnabled() const { return !m_fields.anonymous; }

    // Connect with the fields as they are; true when connected. The address list changes
    // (the address on top) and is stored either way once the address could be read.
    bool Connect();
    bool IsConnected() const { return m_connection != nullptr; }
    CMyFtpConnection* Connection() { return m_connection.get(); }
    const FtpSettings& Options() const { return m_session->Options(); }
    FtpLog& Log() { return m_log; }

    // The tree: null while not connected.
    RemoteFolderNode* Root() { return m_root.get(); }
    RemoteFolderNode* Selected() { return m_selected; }
    void Select(RemoteFolderNode* node) { m_selected = node; }
    // Lists the node's sub-folders unless that was done; false when listing failed (the user
    // was told).
    bool Expand(RemoteFolderNode& node);
    // Expands and selects each folder of path in turn, as far as the folders exist.
    void OpenAlong(const QString& path);

    bool IsBusy() const { return m_busy; }
    bool CanTransfer() const;
    bool CanCreateFolder() const { return CanTransfer(); }
    bool CanRemoveFolder() const;

    bool CreateFolder();
    bool RemoveFolder();
    bool Transfer();
    // Done: the fields go into the address's entry (stored by the next Connect).
    void Done();

private:
    void closeConnection();
    void resetTree();
    std::optional<FtpAddress> readAddress();
    bool openSite(const FtpAddress& address);
    bool askToTrust(const FtpSiteLogin& login, const FtpError& error);
    bool enterFolder(const QString& folder, QString& opened);
    void failConnect(const QString& text);
    void storeFields(SiteEntry& entry) const;
    QString relativeToCurrent(const QString& path);
    void showFailure(const FtpError& error);
    bool runTransfer(const QString& target, QString& message);
    void setBusy(bool busy);
    void reopenTree(const QString& path);

    Settings& m_settings;
    Prompter& m_prompter;
    PublishHooks m_hooks;
    FtpLog m_log;
    std::unique_ptr<CMyInetSession> m_session;
    FtpSites m_store;
    std::vector<SiteEntry> m_sites;
    Fields m_fields;
    QString m_localFolder;
    std::unique_ptr<CMyFtpConnection> m_connection;
    std::unique_ptr<RemoteFolderNode> m_root;
    RemoteFolderNode* m_selected = nullptr;
    bool m_busy = false;
    int m_busyDepth = 0;
    std::function<void(bool)> m_setBusy;
};
