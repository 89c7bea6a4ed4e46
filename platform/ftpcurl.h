// SPDX-License-Identifier: GPL-2.0-or-later
// FtpCurl: the curl handles of one session. The easy handle lives as long as the session and
// every transfer runs through the multi handle, which keeps the control connection between
// transfers; waiting in short polls leaves room for the caller's pump (a window repainting,
// a Cancel button) and avoids the stalls of the blocking interface after passive replies.
#pragma once

#include <functional>
#include <memory>

#include <QtGlobal>

#include <curl/curl.h>

class FtpCurl
{
public:
    FtpCurl();
    ~FtpCurl();
    FtpCurl(const FtpCurl&) = delete;
    FtpCurl& operator=(const FtpCurl&) = delete;

    // False when curl could not make its handles.
    bool valid() const { return m_easy && m_multi; }
    CURL* easy() const { return m_easy.get(); }
    // Clears every option for the next transfer; open connections stay.
    void reset();
    // Runs the transfer set on easy(), calling pump between waits of at most 20 ms. A false
    // answer from pump stops it: cancelled is set and CURLE_ABORTED_BY_CALLBACK returned.
    CURLcode perform(const std::function<bool()>& pump, bool& cancelled);
    // Closes every connection (politely, with QUIT where it still stands).
    void disconnect();

private:
    struct EasyFree {
        void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
    };
    struct MultiFree {
        void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
    };
    void make();
    CURLcode finished();

    std::unique_ptr<CURL, EasyFree> m_easy;
    std::unique_ptr<CURLM, MultiFree> m_multi;
};

// Tells when a transfer has shown no life for too long. curl leaves some waits without a
// time-out of its own (an SFTP server that stops answering in the middle of a command); this
// ends them. activity is a count that grows whenever something happens, nowMs a steady clock.
class FtpQuietWatch
{
public:
    explicit FtpQuietWatch(qint64 limitMs) : m_limit(limitMs) {}
    bool expired(quint64 activity, qint64 nowMs)
    {
        if (m_since < 0 || activity != m_activity) {
            m_activity = activity;
            m_since = nowMs;
            return false;
        }
        return nowMs - m_since > m_limit;
    }

private:
    qint64 m_limit;
    quint64 m_activity = 0;
    qint64 m_since = -1;
};
