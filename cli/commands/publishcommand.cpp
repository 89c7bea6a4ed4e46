// SPDX-License-Identifier: GPL-2.0-or-later
// gallivex-cli publish: sends a generated album folder to an FTP, FTPS or SFTP server with the
// publish dialog's session (settings, retries, log, passive fall-back) and its file list, so
// that only what changed goes out and the server's list is replaced last.
#include <cstdio>
#include <memory>
#include <optional>

#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>

#include "cli/cliarguments.h"
#include "cli/clisession.h"
#include "cli/commands/commands.h"
#include "cli/terminalprogress.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "platform/terminal.h"
#include "publish/albumtransfer.h"
#include "publish/ftpaddress.h"
#include "publish/ftpconnector.h"
#include "publish/ftplog.h"
#include "publish/ftpsettings.h"
#include "publish/myftpconnection.h"
#include "publish/myftpfilefind.h"
#include "publish/myinetsession.h"
#include "publish/remotefilelist.h"
#include "publish/remotefolders.h"

namespace
{

const QString Help = QStringLiteral(
    "usage: gallivex-cli publish ALBUM-FOLDER URL [--user USER]\n"
    "                            [--password-file FILE | --password-env VARIABLE]\n"
    "                            [--dry-run] [--passive] [--trust-key SHA256] [--yes]\n"
    "\n"
    "Sends a generated album folder to a folder on a server, as the publish dialog does: only\n"
    "the files that changed since the last time, each to a temporary name that is then renamed\n"
    "over the old file, and the album's file list (filelist.xml) last, after everything else\n"
    "arrived. URL is ftp://HOST[:PORT]/FOLDER, ftps://... (FTP with TLS) or sftp://...; a user\n"
    "may be given in it (ftp://USER@HOST/FOLDER). Without a user the login is anonymous. The\n"
    "time-outs, retries and passive mode are those of the program's settings; everything is\n"
    "logged in the publishing log file, never the password.\n"
    "\n"
    "  --user USER             log in as USER\n"
    "  --password-file FILE    the password is the first line of FILE\n"
    "  --password-env VARIABLE the password is the value of the environment variable\n"
    "                          (never on the command line itself: other users can read that)\n"
    "  --dry-run               connect and tell what would be sent, without sending anything\n"
    "  --passive               use passive mode at once (FTPS always does)\n"
    "  --trust-key SHA256      trust an FTPS server whose certificate no authority vouches for,\n"
    "                          when its public key has this SHA-256 (base64, as the refusal\n"
    "                          tells it); the choice is remembered as the dialog's is\n"
    "  --yes                   publish into a folder that holds files of something else\n"
    "\n"
    "Exit codes: 0 when every file and then the file list arrived, 1 failed, 2 wrong command "
    "line.\n");

struct Request {
    QString album;
    FtpAddress address;
    FtpSiteLogin login;
    QByteArray trustedKey;
    bool dryRun = false;
    bool passive = false;
    bool yes = false;
};

int wrongCommandLine(const QString& text)
{
    std::fprintf(stderr, "gallivex-cli: %s\n%s", qUtf8Printable(text), qUtf8Printable(Help));
    return 2;
}

// The password from its file or variable; -1 when found (or none asked for), else the exit code.
int readPassword(const CliArguments& parser, QString& password)
{
    const QString file = parser.value(QStringLiteral("--password-file"));
    const QString variable = parser.value(QStringLiteral("--password-env"));
    if (!file.isEmpty() && !variable.isEmpty())
        return wrongCommandLine(
            QStringLiteral("give the password either with --password-file or --password-env"));
    if (!file.isEmpty()) {
        QFile source(file);
        if (!source.open(QIODevice::ReadOnly))
            return cliFail(QStringLiteral("cannot read the password file \"%1\": %2")
                               .arg(file, source.errorString()));
        // The first line only: editors end files with a line break that is not the password's.
        QByteArray line = source.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        password = QString::fromUtf8(line);
    } else if (!variable.isEmpty()) {
        const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!environment.contains(variable))
            return cliFail(QStringLiteral("the environment variable %1 is not set").arg(variable));
        password = environment.value(variable);
    }
    return -1;
}

// The key as the refusal printed it (base64 of 32 bytes), or empty when it is not one.
QByteArray trustedKey(const QString& text)
{
    QString key = text.trimmed();
    if (key.startsWith(QLatin1String("sha256//"), Qt::CaseInsensitive))
        key = key.mid(8);
    const auto decoded =
        QByteArray::fromBase64Encoding(key.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != 32)
        return {};
    return decoded.decoded.toBase64();
}

// Fills the login from the address and the options; -1 when fine, else the exit code.
int readLogin(const CliArguments& parser, Request& request)
{
    FtpSiteLogin& login = request.login;
    login.protocol = request.address.protocol;
    login.server = request.address.host;
    login.port = request.address.port;
    if (!request.address.password.isEmpty())
        return wrongCommandLine(QStringLiteral(
            "the address holds a password, which other users can read on a command line; give "
            "it with --password-file or --password-env"));
    const QString user = parser.value(QStringLiteral("--user"));
    if (!user.isEmpty() && !request.address.user.isEmpty() && user != request.address.user)
        return wrongCommandLine(QStringLiteral("the address names the user \"%1\", --user \"%2\"")
                                    .arg(request.address.user, user));
    login.user = user.isEmpty() ? request.address.user : user;
    if (const int code = readPassword(parser, login.password); code >= 0)
        return code;
    if (login.user.isEmpty() && !login.password.isEmpty())
        return wrongCommandLine(
            QStringLiteral("a password needs a user (--user, or USER@ in the address)"));
    login.anonymous = login.user.isEmpty();
    return -1;
}

int readRequest(const CliArguments& parser, Request& request)
{
    if (parser.operands().size() != 2)
        return wrongCommandLine(QStringLiteral("publish needs an album folder and an address"));
    request.album = CliSession::absolutePath(parser.operands()[0]);
    const QString url = parser.operands()[1];
    const std::optional<FtpAddress> address = FtpAddress::Parse(url);
    if (!address)
        return wrongCommandLine(QStringLiteral("\"%1\" is not a usable address. %2")
                                    .arg(url, loadString(IDS_FTP_BAD_ADDRESS)));
    request.address = *address;
    if (parser.hasValue(QStringLiteral("--trust-key"))) {
        request.trustedKey = trustedKey(parser.value(QStringLiteral("--trust-key")));
        if (request.trustedKey.isEmpty())
            return wrongCommandLine(QStringLiteral(
                "--trust-key needs the SHA-256 of the server's public key in base64"));
    }
    request.dryRun = parser.has(QStringLiteral("--dry-run"));
    request.passive = parser.has(QStringLiteral("--passive"));
    request.yes = parser.has(QStringLiteral("--yes"));
    return readLogin(parser, request);
}

// A folder that is not there, or holds nothing to publish, is not an album: say so before
// anything goes over the network.
bool checkAlbumFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.exists())
        return cliFail(QStringLiteral("there is no album folder \"%1\"").arg(folder)), false;
    if (!info.isDir() || !info.isReadable())
        return cliFail(QStringLiteral("\"%1\" is not a folder that can be read").arg(folder)),
               false;
    const RemoteFileList list = RemoteFileList::Build(folder);
    if (list.FileCount() == 0)
        return cliFail(QStringLiteral("the album folder \"%1\" holds no files: generate the "
                                      "album first")
                           .arg(folder)),
               false;
    return true;
}

// "ftp://host[:port]": the server without the folder.
QString siteText(const Request& request)
{
    FtpAddress server = request.address;
    server.folder = QStringLiteral("/");
    QString text = server.ToText();
    if (text.endsWith(u'/'))
        text.chop(1);
    return text;
}

std::unique_ptr<CMyFtpConnection> connect(CMyInetSession& session, const Request& request)
{
    const FtpSiteLogin& login = request.login;
    const QByteArray trustedBefore = session.Trust().KeyFor(login.server, login.port);
    if (!request.trustedKey.isEmpty())
        session.Trust().Trust(login.server, login.port, request.trustedKey);
    FtpError error;
    std::unique_ptr<CMyFtpConnection> connection = ConnectToSite(session, login, error);
    if (connection)
        return connection;
    // A key that did not open the site is not remembered in place of the one that did.
    if (!request.trustedKey.isEmpty())
        session.Trust().Trust(login.server, login.port, trustedBefore);
    QString text = QStringLiteral("cannot connect to %1: %2").arg(siteText(request), error.message);
    if (error.code == FtpError::UntrustedCertificate && !error.presentedKeySha256.isEmpty())
        text += QStringLiteral(
                    "\nThe server's certificate is not vouched for by any authority. If you know "
                    "it is the server's own, give --trust-key %1 to trust it.")
                    .arg(QString::fromLatin1(error.presentedKeySha256));
    cliFail(text);
    return nullptr;
}

// The address's folder on the server: as given when it is there, or when the login starts at
// the top or the protocol names folders absolutely (SFTP); otherwise below the folder the
// login starts in, as FTP addresses name folders.
QString targetFolder(CMyFtpConnection& connection, const FtpAddress& address)
{
    const QString folder = address.folder.isEmpty() ? QStringLiteral("/") : address.folder;
    if (connection.SetCurrentDirectory(folder))
        return folder;
    QString current;
    if (address.protocol == FtpOptions::Protocol::Sftp ||
        !connection.GetCurrentDirectory(current) || current == u"/" || current == folder)
        return folder;
    const QString below = RemoteFolders::Join(current, folder.mid(1));
    connection.SetInitialFolder(current);
    return below;
}

// A folder that holds files but no list of ours belongs to something else: publishing there
// would overwrite its files of the same names, which only --yes allows.
bool mayPublishInto(CMyFtpConnection& connection, const QString& target, const Request& request)
{
    if (request.yes || !RemoteFolders::HasEntries(connection, target))
        return true;
    MyCFtpFileFind finder(connection);
    const QString folder = target.endsWith(u'/') ? target : target + u'/';
    if (finder.FindFile(folder + RemoteFileList::FileName()))
        return true;
    cliFail(QStringLiteral("the folder \"%1\" on the server holds files that were not published "
                           "from an album; publishing there would overwrite those of the same "
                           "names (give --yes to publish there all the same)")
                .arg(target));
    return false;
}

// Files Plan listed that cannot be read would fail in the middle of the transfer.
bool checkReadable(const AlbumTransfer& transfer, const QString& album)
{
    for (const RemoteFileList::Upload& upload : transfer.Pending())
        if (upload.id.isEmpty() && upload.relativePath != RemoteFileList::FileName())
            return cliFail(QStringLiteral("the album folder \"%1\" is damaged: \"%2\" cannot be "
                                          "read")
                               .arg(album, upload.relativePath)),
                   false;
    return true;
}

// The terminal's progress, which Ctrl+C cancels: the transfer then stops at its next step and
// removes its temporary file from the server instead of ending with it there.
class CancellableProgress : public Progress
{
public:
    CancellableProgress() : m_terminal(stderr, TerminalProgress::Style::Auto)
    {
        platform::catchInterrupts();
    }
    void setTitle(const QString& title) override { m_terminal.setTitle(title); }
    void setPosition(int percent) override { m_terminal.setPosition(percent); }
    void setText(const QString& text) override { m_terminal.setText(text); }
    bool pump() override
    {
        m_terminal.pump();
        return platform::interrupted();
    }

private:
    TerminalProgress m_terminal;
};

int dryRun(const AlbumTransfer& transfer, const Request& request)
{
    cliPrint(QStringLiteral("Would send %1 file(s) into the folder \"%2\" of %3 (%4 unchanged "
                            "file(s) left alone):")
                 .arg(transfer.Pending().size())
                 .arg(transfer.Target(), siteText(request))
                 .arg(transfer.Skipped()));
    for (const RemoteFileList::Upload& upload : transfer.Pending())
        cliPrint(QStringLiteral("  ") + upload.relativePath +
                 (upload.relativePath == RemoteFileList::FileName()
                      ? QStringLiteral("  (the file list, sent last)")
                      : QString()));
    cliPrint(QStringLiteral("Nothing was sent (dry run)."));
    return 0;
}

// Plans and sends with the progress on the terminal; the progress line is ended before the
// outcome is told.
int transferAlbum(CMyFtpConnection& connection, const Request& request, const QString& target,
                  const QString& logPath)
{
    std::optional<CancellableProgress> progress(std::in_place);
    AlbumTransfer transfer(connection, &*progress);
    QString message;
    if (!transfer.Plan(request.album, target, message))
        return cliFail(message);
    if (!checkReadable(transfer, request.album))
        return 1;
    if (request.dryRun) {
        progress.reset();
        return dryRun(transfer, request);
    }
    const AlbumTransfer::Result result = transfer.Run();
    progress.reset();
    if (!result.ok)
        return cliFail((result.message.isEmpty() ? QString() : result.message + u'\n') +
                       AlbumTransfer::FailureText(transfer.Target()) +
                       QStringLiteral("\nThe log is in \"%1\".").arg(logPath));
    cliPrint(QStringLiteral("Published \"%1\" to the folder \"%2\" of %3: %4 file(s) sent, %5 "
                            "unchanged.")
                 .arg(request.album, transfer.Target(), siteText(request))
                 .arg(result.uploaded)
                 .arg(result.skipped));
    return 0;
}

int publish(const Request& request)
{
    Settings store;
    FtpSettings settings = FtpSettings::ReadAndCorrect(store);
    if (request.passive)
        settings.forcePassive = true;
    FtpLog log;
    log.HideSecret(request.login.password);
    log.WriteHeader();
    log.WriteSettings(settings);
    CMyInetSession session(settings, log, store);
    std::unique_ptr<CMyFtpConnection> connection = connect(session, request);
    if (!connection)
        return 1;
    const QString target = targetFolder(*connection, request.address);
    if (!mayPublishInto(*connection, target, request))
        return 1;
    return transferAlbum(*connection, request, target, log.Path());
}

} // namespace

int runPublish(const QStringList& arguments)
{
    CliArguments parser(
        {QStringLiteral("--dry-run"), QStringLiteral("--passive"), QStringLiteral("--yes")},
        {QStringLiteral("--user"), QStringLiteral("--password-file"),
         QStringLiteral("--password-env"), QStringLiteral("--trust-key")});
    if (const int code = parseCommandLine(parser, arguments, Help); code >= 0)
        return code;
    Request request;
    if (const int code = readRequest(parser, request); code >= 0)
        return code;
    if (!checkAlbumFolder(request.album))
        return 1;
    return publish(request);
}
