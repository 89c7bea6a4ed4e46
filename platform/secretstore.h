// SPDX-License-Identifier: GPL-2.0-or-later
// SecretStore: passwords kept in the desktop's secret store (the freedesktop Secret Service,
// KWallet) instead of a plain settings file. The store answers asynchronously; each call here
// waits for the answer in a local event loop, no longer than the time-out, so a desktop
// without a running secret service makes the call fail rather than hang.
#pragma once

#include <optional>

#include <QString>

class SecretStore
{
public:
    // service names the program's folder of secrets in the store.
    explicit SecretStore(QString service = QStringLiteral("Gallivex"), int timeoutMs = 5000);

    // True when the secret was stored.
    bool Write(const QString& key, const QString& secret);
    // The secret, or nothing when there is none or no store answers.
    std::optional<QString> Read(const QString& key);
    // True when the secret is gone afterwards (also when there was none).
    bool Remove(const QString& key);
    // Why the last call failed, for the log and the tests.
    QString LastError() const { return m_lastError; }
    // False once the store did not answer or has no service behind it: later calls then
    // fail at once instead of each waiting again.
    bool Available() const { return m_available; }

private:
    template <typename Job>
    bool run(Job& job);

    QString m_service;
    int m_timeoutMs;
    QString m_lastError;
    bool m_available = true;
};
