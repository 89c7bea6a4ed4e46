// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/ftptreelogic.h"

#include "album/progress.h"
#include "platform/prompter.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "publish/albumtransfer.h"
#include "publish/ftpaddress.h"
#include "publish/ftpconnector.h"
#include "publish/myftpconnection.h"
#include "publish/myftpfilefind.h"
#include "publish/remotefolders.h"

namespace
{

// The texts of the remote folder messages name their folder with "%s".
QString withFolder(int textId, const QString& folder)
{
    return loadString(textId).replace(QStringLiteral("%s"), folder);
}

QString joinPath(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

// Keeps the window's buttons disabled while an operation runs, however it ends.
class BusyScope
{
public:
    explicit BusyScope(const std::function<void(bool)>& set) : m_set(set) { m_set(true); }
    ~BusyScope() { m_set(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    const std::function<void(bool)>& m_set;
};

} // namespace

QString RemoteFolderNode::Path() const
{
    if (parent == nullptr)
        return name;
    return joinPath(parent->Path(), name);
}

RemoteFolderNode* RemoteFolderNode::Child(const QString& childName) const
{
    for (const auto& child : children) {
        if (child->name == childName)
            return child.get();
    }
    return nullptr;
}

FtpTreeLogic::FtpTreeLogic(Settings& settings, Prompter& prompter, PublishHooks hooks,
                           SecretStore* secrets, const QString& logPath)
    : m_settings(settings), m_prompter(prompter), m_hooks(std::move(hooks)), m_log(logPath),
      m_store(settings, secrets), m_setBusy([this](bool busy) { setBusy(busy); })
{
}

FtpTreeLogic::~FtpTreeLogic() = default;

void FtpTreeLogic::Open()
{
    const FtpSettings options = FtpSettings::ReadAndCorrect(m_settings);
    m_session = std::make_unique<CMyInetSession>(options, m_log, m_settings);
    m_session->SetPump(m_hooks.pump);
    m_log.WriteHeader();
    m_log.WriteSettings(options);
    m_sites = m_store.Load();
    resetTree();
}

void FtpTreeLogic::SelectSite(int index)
{
    if (index < 0 || index >= static_cast<int>(m_sites.size()))
        return;
    const SiteEntry& site = m_sites[static_cast<size_t>(index)];
    m_fields.address = site.server;
    m_fields.anonymous = site.anonymous;
    m_fields.login = site.login;
    m_fields.savePassword = site.savePassword;
    m_fields.password = site.savePassword ? site.password : QString();
    closeConnection();
    resetTree();
}

bool FtpTreeLogic::Connect()
{
    closeConnection();
    resetTree();
    const QString text = m_fields.address;
    FtpSites::BringToTop(m_sites, text);
    const std::optional<FtpAddress> address = FtpAddress::Parse(text);
    if (!address) {
        m_prompter.message(loadString(IDS_FTP_BAD_ADDRESS), Prompter::Icon::Error);
        return false;
    }
    const bool connected = openSite(*address);
    storeFields(m_sites.front());
    m_store.Save(m_sites);
    return connected;
}

bool FtpTreeLogic::openSite(const FtpAddress& address)
{
    BusyScope busy(m_setBusy);
    FtpSiteLogin login;
    login.protocol = address.protocol;
    login.server = address.host;
    login.port = address.port;
    login.anonymous = m_fields.anonymous;
    if (!m_fields.anonymous) {
        // A login written into the address counts when the fields leave it out.
        const bool fromAddress = m_fields.login.isEmpty();
        login.user = fromAddress ? address.user : m_fields.login;
        login.password = fromAddress ? address.password : m_fields.password;
    }
    FtpError error;
    m_connection = ConnectToSite(*m_session, login, error);
    if (!m_connection && error.code == FtpError::UntrustedCertificate &&
        askToTrust(login, error))
        m_connection = ConnectToSite(*m_session, login, error);
    if (!m_connection) {
        failConnect(error.message);
        return false;
    }
    m_connection->SetPump(m_hooks.pump);
    QString opened;
    if (!enterFolder(address.folder, opened)) {
        const FtpError& why = m_connection->LastError();
        if (!why.message.isEmpty())
            m_log.WriteLine(why.message);
        failConnect(why.message);
        return false;
    }
    reopenTree(opened);
    return true;
}

bool FtpTreeLogic::askToTrust(const FtpSiteLogin& login, const FtpError& error)
{
    if (error.presentedKeySha256.isEmpty())
        return false;
    const QString site = login.port == 0 ? login.server
                                         : QStringLiteral("%1:%2").arg(login.server).arg(login.port);
    const QString question = loadString(IDS_TRUST_CERTIFICATE)
                                 .arg(site, QString::fromLatin1(error.presentedKeySha256));
    if (m_prompter.ask(question, Prompter::Buttons::YesNo, Prompter::Answer::No,
                       Prompter::Icon::Warning) != Prompter::Answer::Yes)
        return false;
    m_session->Trust().Trust(login.server, login.port, error.presentedKeySha256);
    m_log.WriteLine(QStringLiteral("The user trusts the certificate of %1.").arg(site));
    return true;
}

bool FtpTreeLogic::enterFolder(const QString& folder, QString& opened)
{
    if (m_connection->SetCurrentDirectory(folder)) {
        opened = folder;
        return true;
    }
    // Some servers take the address's folder as relative to where the login put us.
    QString current;
    if (!m_connection->GetCurrentDirectory(current) || current == QStringLiteral("/") ||
        current == folder)
        return false;
    QString combined = current;
    if (combined.endsWith(QLatin1Char('/')))
        combined.chop(1);
    combined += folder.startsWith(QLatin1Char('/')) ? folder : QLatin1Char('/') + folder;
    if (!m_connection->SetCurrentDirectory(combined))
        return false;
    m_connection->SetInitialFolder(combined);
    opened = combined;
    return true;
}

void FtpTreeLogic::failConnect(const QString& text)
{
    m_prompter.message(text.isEmpty() ? loadString(IDS_FTP_CONNECT_FAILED) : text,
                       Prompter::Icon::Error);
    closeConnection();
    resetTree();
}

void FtpTreeLogic::storeFields(SiteEntry& entry) const
{
    entry.server = m_fields.address;
    entry.anonymous = m_fields.anonymous;
    entry.savePassword = m_fields.savePassword;
    entry.login = m_fields.login;
    entry.password = m_fields.password;
}

void FtpTreeLogic::closeConnection()
{
    m_connection.reset();
}

void FtpTreeLogic::resetTree()
{
    m_selected = nullptr;
    m_root.reset();
    if (m_connection) {
        m_root = std::make_unique<RemoteFolderNode>();
        m_root->name = QStringLiteral("/");
    }
    if (m_hooks.changed)
        m_hooks.changed();
}

void FtpTreeLogic::reopenTree(const QString& path)
{
    resetTree();
    OpenAlong(path);
}

bool FtpTreeLogic::Expand(RemoteFolderNode& node)
{
    if (node.listed || !m_connection)
        return true;
    BusyScope busy(m_setBusy);
    MyCFtpFileFind find(*m_connection);
    std::vector<std::unique_ptr<RemoteFolderNode>> folders;
    bool more = find.FindFile(joinPath(node.Path(), QStringLiteral("*")));
    for (; more; more = find.FindNextFile()) {
        if (!find.IsDirectory() || find.IsDots())
            continue;
        auto child = std::make_unique<RemoteFolderNode>();
        child->name = find.GetFileName();
        child->parent = &node;
        folders.push_back(std::move(child));
    }
    if (find.LastError() != 0 && find.LastError() != FtpError::NoMoreFiles) {
        showFailure(m_connection->LastError());
        return false;
    }
    node.children = std::move(folders);
    node.listed = true;
    return true;
}

void FtpTreeLogic::OpenAlong(const QString& path)
{
    RemoteFolderNode* node = m_root.get();
    if (node == nullptr)
        return;
    m_selected = node;
    Expand(*node);
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        RemoteFolderNode* child = node->Child(part);
        if (child == nullptr)
            break;
        node = child;
        m_selected = node;
        Expand(*node);
    }
    if (m_hooks.changed)
        m_hooks.changed();
}

void FtpTreeLogic::showFailure(const FtpError& error)
{
    m_prompter.message(error.message.isEmpty() ? loadString(IDS_FTP_CONNECT_FAILED)
                                               : error.message,
                       Prompter::Icon::Error);
}

bool FtpTreeLogic::CanTransfer() const
{
    return m_selected != nullptr && m_connection != nullptr && !m_busy;
}

bool FtpTreeLogic::CanRemoveFolder() const
{
    return CanTransfer() && m_selected->parent != nullptr;
}

QString FtpTreeLogic::relativeToCurrent(const QString& path)
{
    QString current;
    if (!m_connection->GetCurrentDirectory(current) || current.isEmpty())
        return path;
    if (!current.endsWith(QLatin1Char('/')))
        current += QLatin1Char('/');
    // Only whole folder names are cut, and never the whole path.
    if (!path.startsWith(current) || path.size() == current.size())
        return path;
    return path.mid(current.size());
}

bool FtpTreeLogic::CreateFolder()
{
    if (!CanCreateFolder() || !m_hooks.askFolderName)
        return false;
    const std::optional<QString> name = m_hooks.askFolderName();
    if (!name)
        return false;
    const QString base = m_selected->Path();
    const bool separated = base.endsWith(QLatin1Char('/')) || base.endsWith(QLatin1Char('\\'));
    const QString full = separated ? base + *name : base + QLatin1Char('/') + *name;
    QString message;
    bool created = false;
    {
        BusyScope busy(m_setBusy);
        created = RemoteFolders::CreatePath(*m_connection, relativeToCurrent(full), message);
    }
    if (!created) {
        if (!message.isEmpty())
            m_prompter.message(message, Prompter::Icon::Error);
        m_prompter.message(loadString(IDS_CREATE_REMOTE_FOLDER_FAILED), Prompter::Icon::Error);
        return false;
    }
    reopenTree(full);
    return true;
}

bool FtpTreeLogic::RemoveFolder()
{
    if (!CanRemoveFolder())
        return false;
    const QString path = relativeToCurrent(m_selected->Path());
    const QString parent = m_selected->parent->Path();
    if (m_prompter.ask(withFolder(IDS_REMOVE_REMOTE_FOLDER, path), Prompter::Buttons::YesNo,
                       Prompter::Answer::Yes,
                       Prompter::Icon::Question) != Prompter::Answer::Yes)
        return false;
    bool removed = false;
    {
        BusyScope busy(m_setBusy);
        removed = RemoteFolders::RemoveTree(*m_connection, path);
    }
    reopenTree(parent);
    if (!removed)
        m_prompter.message(withFolder(IDS_REMOVE_REMOTE_FOLDER_FAILED, path),
                           Prompter::Icon::Error);
    return removed;
}

bool FtpTreeLogic::Transfer()
{
    if (!CanTransfer())
        return false;
    const QString target = m_selected->Path();
    bool occupied = false;
    {
        BusyScope busy(m_setBusy);
        occupied = RemoteFolders::HasEntries(*m_connection, target);
    }
    if (occupied &&
        m_prompter.ask(withFolder(IDS_PUBLISH_NOT_EMPTY, QStringLiteral("ftp://") + target),
                       Prompter::Buttons::YesNo, Prompter::Answer::No,
                       Prompter::Icon::Warning) != Prompter::Answer::Yes)
        return false;
    // The transfer writes its own lines to the log, its failure text included.
    QString message;
    bool sent = false;
    {
        BusyScope busy(m_setBusy);
        sent = runTransfer(target, message);
    }
    if (sent) {
        reopenTree(target);
        return true;
    }
    m_prompter.message(message.isEmpty() ? loadString(IDS_FTP_CONNECT_FAILED) : message,
                       Prompter::Icon::Error);
    m_prompter.message(AlbumTransfer::FailureText(target), Prompter::Icon::Error);
    if (m_hooks.openFile)
        m_hooks.openFile(m_log.Path());
    return false;
}

bool FtpTreeLogic::runTransfer(const QString& target, QString& message)
{
    std::unique_ptr<Progress> progress =
        m_hooks.showProgress ? m_hooks.showProgress() : std::make_unique<SilentProgress>();
    // While a file moves, the progress window's Cancel stops it.
    Progress* window = progress.get();
    m_connection->SetPump([window] { return !window->pump(); });
    AlbumTransfer transfer(*m_connection, window);
    bool sent = transfer.Plan(m_localFolder, target, message);
    if (!sent)
        m_log.WriteLine(AlbumTransfer::FailureText(target));
    if (sent) {
        const AlbumTransfer::Result result = transfer.Run();
        sent = result.ok;
        message = result.message;
    }
    m_connection->SetPump(m_hooks.pump);
    return sent;
}

void FtpTreeLogic::setBusy(bool busy)
{
    // Operations nest (Connect lists the folders it opens): busy until the outermost ends.
    m_busyDepth += busy ? 1 : -1;
    m_busy = m_busyDepth > 0;
    if (m_hooks.changed)
        m_hooks.changed();
}

void FtpTreeLogic::Done()
{
    if (m_connection)
        storeFields(FtpSites::BringToTop(m_sites, m_fields.address));
    closeConnection();
    resetTree();
}
