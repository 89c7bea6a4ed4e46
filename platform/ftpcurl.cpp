// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ftpcurl.h"

#include <algorithm>
#include <mutex>

namespace
{

// Bounds of the wait between two looks at a transfer, in milliseconds.
constexpr int MinWaitMs = 1;
constexpr int MaxWaitMs = 20;

void initialiseCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The pump is the caller's code; whatever it throws stops the transfer like a Cancel.
bool keepGoing(const std::function<bool()>& pump) noexcept
{
    try {
        return pump();
    } catch (...) {
        return false;
    }
}

} // namespace

FtpCurl::FtpCurl()
{
    initialiseCurlOnce();
    make();
}

FtpCurl::~FtpCurl()
{
    // The easy handle goes first; the multi handle then closes the pooled connections.
    m_easy.reset();
    m_multi.reset();
}

void FtpCurl::make()
{
    m_multi.reset(curl_multi_init());
    m_easy.reset(curl_easy_init());
}

void FtpCurl::reset()
{
    if (m_easy)
        curl_easy_reset(m_easy.get());
}

void FtpCurl::disconnect()
{
    m_easy.reset();
    m_multi.reset();
    make();
}

CURLcode FtpCurl::perform(const std::function<bool()>& pump, bool& cancelled)
{
    cancelled = false;
    if (!valid())
        return CURLE_FAILED_INIT;
    if (curl_multi_add_handle(m_multi.get(), m_easy.get()) != CURLM_OK)
        return CURLE_FAILED_INIT;
    CURLcode result = CURLE_OK;
    // libcurl does not always ask to be woken when a step of its own is due (after a 229 it
    // may wait for the poll to run out), so the wait is short right after anything happened
    // and grows while nothing does: quick short transfers, no spinning on long waits.
    int wait = MinWaitMs;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(m_multi.get(), &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        if (running == 0) {
            result = finished();
            break;
        }
        if (pump && !keepGoing(pump)) {
            cancelled = true;
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        int events = 0;
        curl_multi_poll(m_multi.get(), nullptr, 0, wait, &events);
        wait = events > 0 ? MinWaitMs : std::min(wait * 2, MaxWaitMs);
    }
    // Removing a transfer that did not finish closes its connection; the next one opens anew.
    curl_multi_remove_handle(m_multi.get(), m_easy.get());
    return result;
}

CURLcode FtpCurl::finished()
{
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(m_multi.get(), &left))
        if (message->msg == CURLMSG_DONE && message->easy_handle == m_easy.get())
            return message->data.result;
    return CURLE_FAILED_INIT; // a transfer that ended without saying how
}
