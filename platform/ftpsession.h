// SPDX-License-Identifier: GPL-2.0-or-later
// FtpSession: what FtpClient's operations share: the curl handles, the options of the open
// session, the replies heard, and the transfer running now with its source or destination.
#pragma once

#include <functional>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>

#include "platform/ftpclient.h"
#include "platform/ftpcurl.h"
#include "platform/ftppath.h"
#include "platform/ftpreplies.h"
#include "platform/ftptrust.h"

// One operation at a time: a pump that lets the user start another one meanwhile is refused
// rather than tangling two transfers on one handle.
class OneAtATime
{
public:
    explicit OneAtATime(bool& busy) : m_busy(busy), m_free(!busy) { m_busy = true; }
    ~OneAtATime()
    {
        if (m_free)
            m_busy = false;
    }
    OneAtATime(const OneAtATime&) = delete;
    OneAtATime& operator=(const OneAtATime&) = delete;
    bool free() const { return m_free; }

private:
    bool& m_busy;
    bool m_free;
};

class FtpSession
{
public:
    FtpSession() = default;
    FtpSession(const FtpSession&) = delete;
    FtpSession& operator=(const FtpSession&) = delete;

    bool sftp() const { return options.protocol == FtpOptions::Protocol::Sftp; }
    void prepare(const QByteArray& url);
    bool perform();
    void failWith(int code, const QString& message);
    bool checkPath(const QString& absolute);
    bool begin(const OneAtATime& guard);
    bool quote(const std::vector<QByteArray>& commands);
    // One command on one path, FTP's or SFTP's, as one operation.
    bool pathCommand(const QString& absolute, const char* ftpVerb, const char* sftpVerb);
    bool connect();
    bool fetchListing(const QString& folder, bool mlsd, QByteArray& listing);
    QByteArray urlOf(const QString& absolute, bool folder) const
    {
        return FtpPath::url(options.protocol, options.host, options.port, absolute, folder);
    }

    static int onDebug(CURL*, curl_infotype type, char* data, size_t size, void* self);
    static size_t onRead(char* data, size_t size, size_t count, void* self);
    static size_t onWriteFile(char* data, size_t size, size_t count, void* self);
    static size_t onWriteListing(char* data, size_t size, size_t count, void* self);
    static int onProgress(void* self, curl_off_t downTotal, curl_off_t downNow, curl_off_t upTotal,
                          curl_off_t upNow);

    FtpReplies replies;
    FtpTrust trust;
    FtpOptions options;
    bool isOpen = false;
    bool busy = false;
    QString current = QStringLiteral("/");
    enum class Mlsd { Unknown, Offered, Refused } mlsd = Mlsd::Unknown;
    FtpError lastError;
    std::function<bool()> pump;
    std::function<void(qint64, qint64)> progress;
    char errorBuffer[CURL_ERROR_SIZE] = {};

    // What the running transfer reads from or writes to.
    QFile* source = nullptr;
    QSaveFile* sink = nullptr;
    QByteArray* listing = nullptr;
    qint64 limit = -1;
    qint64 moved = 0;
    bool tooLarge = false;
    QString localProblem;

    // Grows whenever the connection shows life: a line said or heard, bytes moved.
    quint64 activity = 0;
    curl_off_t progressed = 0;

    // Last, so that it goes first: a transfer's callbacks reach the members above.
    FtpCurl curl;
};
