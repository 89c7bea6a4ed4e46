#include "tests/cli/clirun.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

CliResult CliHome::run(const QString& program, const QStringList& arguments,
                       const QStringList& environment) const
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
    QProcess process;
    process.setProcessEnvironment(variables);
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
