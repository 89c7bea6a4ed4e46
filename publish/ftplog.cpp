// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/ftplog.h"

#include <ctime>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/paths.h"
#include "publish/ftpsettings.h"

namespace {

const QString Rule = QString(41, QLatin1Char('='));

// Every line of the file ends in "\r\n", whichever way the text was written.
QString withCrLf(const QString& text)
{
    QString result;
    result.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\n') && (i == 0 || text[i - 1] != QLatin1Char('\r')))
            result += QLatin1Char('\r');
        result += text[i];
    }
    return result;
}

} // namespace

FtpLog::FtpLog(QString path) : m_path(std::move(path)) {}

QString FtpLog::DefaultPath()
{
    QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    if (program.isEmpty())
        program = QStringLiteral("gallivex");
    return platform::userDataFolder() + QLatin1Char('/') + program + QStringLiteral(".ftp.log");
}

QString FtpLog::Path() const
{
    return m_path;
}

QString FtpLog::TimeStamp()
{
    // The log is written from the window's thread only, so the shared result is safe here.
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    char text[128];
    const size_t length = local ? std::strftime(text, sizeof text, "%c", local) : 0;
    return QString::fromLocal8Bit(text, static_cast<qsizetype>(length));
}

void FtpLog::HideSecret(const QString& secret)
{
    if (!secret.isEmpty() && !m_secrets.contains(secret))
        m_secrets.append(secret);
}

QString FtpLog::Hidden(const QString& text) const
{
    QString result = text;
    for (const QString& secret : m_secrets)
        result.replace(secret, QStringLiteral("(hidden)"));
    return result;
}

void FtpLog::WriteHeader()
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    const QStringList lines = {
        QStringLiteral("Vellora Gallivex FTP Log File"),
        Rule,
        QStringLiteral("Version: 3, 6, 603"),
        QStringLiteral("Started: ") + TimeStamp(),
        Rule,
        QStringLiteral("Please send the contents of this log file"),
        QStringLiteral("to support@vellora.example if you get"),
        QStringLiteral("this errors not for the first time."),
        Rule,
    };
    file.write(Hidden(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}

void FtpLog::WriteSettings(const FtpSettings& settings)
{
    WriteLine(QStringLiteral("FTP Settings:\r\nConnection TimeOut: %1\r\nOperations TimeOut: "
                             "%2\r\nRetry Number: %3\r\nRetry Delay: %4\r\n")
                  .arg(settings.connectionTimeout)
                  .arg(settings.operationsTimeout)
                  .arg(settings.retries)
                  .arg(settings.retryDelay));
}

void FtpLog::WriteLine(const QString& message)
{
    Append(QStringLiteral("%1 [%2]\r\n").arg(message, TimeStamp()));
}

void FtpLog::Append(const QString& raw)
{
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        // The folder may not exist yet when no header was written.
        if (!QDir().mkpath(QFileInfo(m_path).absolutePath()) ||
            !file.open(QIODevice::WriteOnly | QIODevice::Append))
            return;
    }
    file.write(withCrLf(Hidden(raw)).toUtf8());
}
