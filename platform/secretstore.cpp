// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/secretstore.h"

#include <memory>

#include <QEventLoop>
#include <QTimer>

#include <qt6keychain/keychain.h>

namespace
{

template <typename Job>
Job* makeJob(const QString& service, const QString& key)
{
    auto* job = new Job(service);
    job->setAutoDelete(false);
    job->setInsecureFallback(false); // a plain-text fallback is the caller's decision
    job->setKey(key);
    return job;
}

template <typename Job>
struct LaterDelete {
    void operator()(Job* job) const { job->deleteLater(); }
};
template <typename Job>
using JobPtr = std::unique_ptr<Job, LaterDelete<Job>>;

} // namespace

// Runs a job to its end or to the time-out. The job is owned by the caller and never deletes
// itself: after a time-out it is deleted later, when its late answer can no longer reach us.
template <typename Job>
bool SecretStore::run(Job& job)
{
    if (!m_available) {
        m_lastError = QStringLiteral("No secret store is running.");
        return false;
    }
    QEventLoop loop;
    bool finished = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(m_timeoutMs, &loop, &QEventLoop::quit);
    job.start();
    if (!finished)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!finished) {
        m_lastError = QStringLiteral("The secret store did not answer.");
        m_available = false;
        return false;
    }
    const QKeychain::Error error = job.error();
    m_lastError = error == QKeychain::NoError ? QString() : job.errorString();
    if (error == QKeychain::NoBackendAvailable || error == QKeychain::OtherError)
        m_available = false;
    return error == QKeychain::NoError;
}

SecretStore::SecretStore(QString service, int timeoutMs)
    : m_service(std::move(service)), m_timeoutMs(timeoutMs)
{
}

bool SecretStore::Write(const QString& key, const QString& secret)
{
    JobPtr<QKeychain::WritePasswordJob> job(makeJob<QKeychain::WritePasswordJob>(m_service, key));
    job->setTextData(secret);
    return run(*job);
}

std::optional<QString> SecretStore::Read(const QString& key)
{
    JobPtr<QKeychain::ReadPasswordJob> job(makeJob<QKeychain::ReadPasswordJob>(m_service, key));
    if (!run(*job))
        return std::nullopt;
    return job->textData();
}

bool SecretStore::Remove(const QString& key)
{
    JobPtr<QKeychain::DeletePasswordJob> job(makeJob<QKeychain::DeletePasswordJob>(m_service, key));
    if (run(*job))
        return true;
    return job->error() == QKeychain::EntryNotFound;
}
