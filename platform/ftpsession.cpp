// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ftpsession.h"

#include <algorithm>

#include <QElapsedTimer>

#include "platform/ftpfailure.h"
#include "platform/ftplisting.h"

namespace
{

// A hostile server must not be able to fill the memory with one folder's listing.
constexpr qint64 maxListingBytes = 64 * 1024 * 1024;

long seconds(int milliseconds)
{
    return std::max(1L, (static_cast<long>(milliseconds) + 999) / 1000);
}

// The curl string list of quoted commands, freed with the object.
class CommandList
{
public:
    explicit CommandList(const std::vector<QByteArray>& commands)
    {
        for (const QByteArray& command : commands)
            m_list = curl_slist_append(m_list, command.constData());
    }
    ~CommandList() { curl_slist_free_all(m_list); }
    CommandList(const CommandList&) = delete;
    CommandList& operator=(const CommandList&) = delete;
    curl_slist* get() const { return m_list; }

private:
    curl_slist* m_list = nullptr;
};

// curl calls back through C, across which nothing may be thrown: a failure in a callback
// (running out of memory, a caller's progress function throwing) fails the transfer instead.
template <typename Result, typename Body> Result guarded(Result onFailure, Body body) noexcept
{
    try {
        return body();
    } catch (...) {
        return onFailure;
    }
}

} // namespace

void FtpSession::prepare(const QByteArray& url)
{
    curl.reset();
    CURL* easy = curl.easy();
    errorBuffer[0] = '\0';
    curl_easy_setopt(easy, CURLOPT_URL, url.constData());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
    // The talk on the control connection is how replies to quoted commands are read.
    curl_easy_setopt(easy, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(easy, CURLOPT_DEBUGFUNCTION, &FtpSession::onDebug);
    curl_easy_setopt(easy, CURLOPT_DEBUGDATA, this);
    if (!options.user.isEmpty()) {
        curl_easy_setopt(easy, CURLOPT_USERNAME, options.user.toUtf8().constData());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, options.password.toUtf8().constData());
    }
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.connectTimeoutMs));
    curl_easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, seconds(options.operationTimeoutMs));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, seconds(options.operationTimeoutMs));
    // Paths go out whole, so no command depends on the folder the server was left in.
    curl_easy_setopt(easy, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
    if (options.protocol == FtpOptions::Protocol::Ftp && !options.passive) {
        curl_easy_setopt(easy, CURLOPT_FTPPORT, "-");
        curl_easy_setopt(easy, CURLOPT_ACCEPTTIMEOUT_MS,
                         static_cast<long>(options.operationTimeoutMs));
    }
    trust.apply(easy, options);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &FtpSession::onProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
    source = nullptr;
    sink = nullptr;
    listing = nullptr;
    limit = -1;
    moved = 0;
    progressed = 0;
    tooLarge = false;
    localProblem.clear();
}

bool FtpSession::perform()
{
    replies.clear();
    trust.clear();
    bool cancelled = false;
    bool silent = false;
    FtpQuietWatch watch(std::max(options.connectTimeoutMs, options.operationTimeoutMs) + 1000);
    QElapsedTimer clock;
    clock.start();
    const auto awake = [&] {
        silent = watch.expired(activity, clock.elapsed());
        return !silent && (!pump || pump());
    };
    CURLcode result = curl.perform(awake, cancelled);
    if (silent) {
        cancelled = false;
        result = CURLE_OPERATION_TIMEDOUT;
    }
    if (result == CURLE_OK) {
        lastError = {};
        return true;
    }
    FtpFailure failure;
    failure.curlCode = result;
    failure.replyCode = replies.lastCode();
    failure.replyText = replies.lastText();
    failure.detail = replies.hide(QString::fromUtf8(errorBuffer).trimmed());
    failure.cancelled = cancelled;
    failure.tooLarge = tooLarge;
    failure.localProblem = localProblem;
    failure.hostKeyMismatch = trust.hostKeyMismatch();
    failure.presentedKey = trust.presentedKey();
    failure.protocol = options.protocol;
    failure.host = options.host;
    failure.port = options.port ? options.port : (sftp() ? 22 : 21);
    failure.knownHostsFile = options.knownHostsFile;
    lastError = failure.toError();
    return false;
}

void FtpSession::failWith(int code, const QString& message)
{
    lastError = {};
    lastError.code = code;
    lastError.message = replies.hide(message);
}

bool FtpSession::begin(const OneAtATime& guard)
{
    if (!guard.free())
        failWith(FtpError::Unknown,
                 QStringLiteral("Another operation on this connection is still running."));
    return guard.free();
}

bool FtpSession::checkPath(const QString& absolute)
{
    if (!isOpen) {
        failWith(FtpError::Unknown, QStringLiteral("The connection to the server is not open."));
        return false;
    }
    if (!FtpPath::sendable(absolute)) {
        failWith(FtpError::InvalidUrl,
                 QStringLiteral("The name %1 holds line breaks, which cannot be sent to a server.")
                     .arg(absolute.simplified()));
        return false;
    }
    return true;
}

// Commands that carry no data. FTP's are sent with "*" so that a refusal keeps the
// connection, and their replies are read here; SFTP's fail the transfer themselves.
bool FtpSession::quote(const std::vector<QByteArray>& commands)
{
    std::vector<QByteArray> sent;
    for (const QByteArray& command : commands)
        sent.push_back(sftp() || command.startsWith('*') ? command : "*" + command);
    const CommandList list(sent);
    prepare(urlOf(QStringLiteral("/"), true));
    curl_easy_setopt(curl.easy(), CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl.easy(), CURLOPT_QUOTE, list.get());
    if (!perform())
        return false;
    if (sftp())
        return true;
    for (const QByteArray& command : commands) {
        const FtpReplies::Exchange* reply = replies.replyTo(command);
        if (!reply)
            lastError = FtpFailure::refusal(options.host, 0,
                                            QStringLiteral("The server did not answer %1.")
                                                .arg(QString::fromUtf8(command.split(' ')[0])));
        else if (reply->code >= 400)
            lastError = FtpFailure::refusal(options.host, reply->code, reply->text);
        if (!reply || reply->code >= 400)
            return false;
    }
    return true;
}

bool FtpSession::pathCommand(const QString& absolute, const char* ftpVerb, const char* sftpVerb)
{
    const OneAtATime guard(busy);
    if (!begin(guard) || !checkPath(absolute))
        return false;
    return quote({sftp() ? sftpVerb + QByteArray(" ") + FtpPath::quotedForSftp(absolute)
                         : ftpVerb + QByteArray(" ") + absolute.toUtf8()});
}

// Connects and logs in; the features and the entry folder are learnt on the way.
bool FtpSession::connect()
{
    const CommandList features(sftp() ? std::vector<QByteArray>{}
                                      : std::vector<QByteArray>{"*FEAT"});
    prepare(urlOf(QStringLiteral("/"), true));
    curl_easy_setopt(curl.easy(), CURLOPT_NOBODY, 1L);
    if (!sftp())
        curl_easy_setopt(curl.easy(), CURLOPT_QUOTE, features.get());
    if (!perform())
        return false;
    if (const FtpReplies::Exchange* feat = replies.replyTo("FEAT"); feat && feat->code < 300)
        mlsd = FtpListing::offersMlsd(feat->text) ? Mlsd::Offered : Mlsd::Refused;
    const char* entry = nullptr;
    curl_easy_getinfo(curl.easy(), CURLINFO_FTP_ENTRY_PATH, &entry);
    current = FtpPath::absolute(QStringLiteral("/"), entry ? QString::fromUtf8(entry) : "/");
    return true;
}

bool FtpSession::fetchListing(const QString& folder, bool useMlsd, QByteArray& bytes)
{
    bytes.clear();
    prepare(urlOf(folder, true));
    if (useMlsd)
        curl_easy_setopt(curl.easy(), CURLOPT_CUSTOMREQUEST, "MLSD");
    curl_easy_setopt(curl.easy(), CURLOPT_WRITEFUNCTION, &FtpSession::onWriteListing);
    curl_easy_setopt(curl.easy(), CURLOPT_WRITEDATA, this);
    listing = &bytes;
    limit = maxListingBytes;
    return perform();
}

int FtpSession::onDebug(CURL*, curl_infotype type, char* data, size_t size, void* self)
{
    auto* impl = static_cast<FtpSession*>(self);
    return guarded<int>(0, [&]() -> int {
        ++impl->activity;
        const QByteArray bytes(data, static_cast<qsizetype>(size));
        if (type == CURLINFO_HEADER_OUT)
            impl->replies.commandSent(bytes);
        else if (type == CURLINFO_HEADER_IN)
            impl->replies.replyReceived(bytes);
        return 0;
    });
}

size_t FtpSession::onRead(char* data, size_t size, size_t count, void* self)
{
    auto* impl = static_cast<FtpSession*>(self);
    return guarded<size_t>(CURL_READFUNC_ABORT, [&]() -> size_t {
        const qint64 got = impl->source->read(data, static_cast<qint64>(size * count));
        if (got < 0) {
            impl->localProblem = QStringLiteral("The file %1 could not be read: %2")
                                     .arg(impl->source->fileName(), impl->source->errorString());
            return CURL_READFUNC_ABORT;
        }
        return static_cast<size_t>(got);
    });
}

size_t FtpSession::onWriteFile(char* data, size_t size, size_t count, void* self)
{
    auto* impl = static_cast<FtpSession*>(self);
    return guarded<size_t>(0, [&]() -> size_t {
        const auto bytes = static_cast<qint64>(size * count);
        if (impl->limit >= 0 && impl->moved + bytes > impl->limit) {
            impl->tooLarge = true; // also when the server did not tell the size beforehand
            return 0;
        }
        if (impl->sink->write(data, bytes) != bytes) {
            impl->localProblem = QStringLiteral("The file %1 could not be written: %2")
                                     .arg(impl->sink->fileName(), impl->sink->errorString());
            return 0;
        }
        impl->moved += bytes;
        return size * count;
    });
}

size_t FtpSession::onWriteListing(char* data, size_t size, size_t count, void* self)
{
    auto* impl = static_cast<FtpSession*>(self);
    return guarded<size_t>(0, [&]() -> size_t {
        const auto bytes = static_cast<qint64>(size * count);
        if (impl->listing->size() + bytes > impl->limit) {
            impl->tooLarge = true;
            return 0;
        }
        impl->listing->append(data, bytes);
        return size * count;
    });
}

int FtpSession::onProgress(void* self, curl_off_t downTotal, curl_off_t downNow, curl_off_t upTotal,
                           curl_off_t upNow)
{
    auto* impl = static_cast<FtpSession*>(self);
    return guarded<int>(1, [&]() -> int {
        const curl_off_t moved = downNow + upNow;
        if (moved != impl->progressed) {
            impl->progressed = moved;
            ++impl->activity;
        }
        if (!impl->progress)
            return 0;
        if (impl->source)
            impl->progress(upNow, upTotal > 0 ? upTotal : impl->source->size());
        else if (impl->sink)
            impl->progress(downNow, downTotal);
        return 0;
    });
}
