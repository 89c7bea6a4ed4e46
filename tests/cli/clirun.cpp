// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/cli/clirun.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>

QProcessEnvironment CliHome::environmentFor(const QStringList& environment) const
{
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    // A home of its own that exists: where the Trash goes depends on it.
    const QString home = dataFolder() + QStringLiteral("/home");
    QDir().mkpath(home);
    variables.insert(QStringLiteral("HOME"), home);
    variables.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder());
    variables.insert(QStringLiteral("XDG_DATA_HOME"), dataFolder());
    variables.remove(QStringLiteral("COLUMNS"));
    for (const QString& entry : environment)
        variables.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    return variables;
}

CliResult CliHome::run(const QString& program, const QStringList& arguments,
                       const QStringList& environment) const
{
    QProcess process;
    process.setProcessEnvironment(environmentFor(environment));
    process.start(binFolder() + u'/' + program, arguments);
    CliResult result;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << program.toStdString()
                      << " did not finish: " << process.errorString().toStdString();
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

namespace
{

// A pseudo-terminal pair; the far end is opened too, so the terminal lives while we read.
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
            return;
        m_name = QString::fromLocal8Bit(::ptsname(m_master));
        m_slave = ::open(::ptsname(m_master), O_RDWR | O_NOCTTY);
        termios mode{};
        if (m_slave >= 0 && ::tcgetattr(m_slave, &mode) == 0) {
            ::cfmakeraw(&mode);
            ::tcsetattr(m_slave, TCSANOW, &mode);
        }
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
    ~PseudoTerminal()
    {
        if (m_slave >= 0)
            ::close(m_slave);
        if (m_master >= 0)
            ::close(m_master);
    }
    bool ready() const { return m_slave >= 0; }
    QString name() const { return m_name; }
    // Everything written to the terminal so far.
    QByteArray drain()
    {
        QByteArray bytes;
        char buffer[4096];
        for (ssize_t got; (got = ::read(m_master, buffer, sizeof buffer)) > 0;)
            bytes.append(buffer, got);
        return bytes;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_name;
};

} // namespace

CliResult CliHome::runOnTerminal(const QString& program, const QStringList& arguments) const
{
    CliResult result;
    PseudoTerminal terminal;
    if (!terminal.ready()) {
        ADD_FAILURE() << "no pseudo-terminal";
        return result;
    }
    QProcess process;
    process.setProcessEnvironment(environmentFor({}));
    process.setStandardOutputFile(terminal.name());
    process.setStandardErrorFile(terminal.name());
    process.start(binFolder() + u'/' + program, arguments);
    QByteArray written;
    // Read while it runs: a full terminal would stop the program.
    QDeadlineTimer deadline(120000);
    while (process.state() != QProcess::NotRunning && !deadline.hasExpired() &&
           !process.waitForFinished(20))
        written += terminal.drain();
    if (process.state() != QProcess::NotRunning) {
        ADD_FAILURE() << program.toStdString() << " did not finish";
        process.kill();
        process.waitForFinished();
    }
    written += terminal.drain();
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(written);
    return result;
}
