// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/cliarguments.h"

CliArguments::CliArguments(QStringList flags, QStringList options)
    : m_knownFlags(std::move(flags)), m_knownOptions(std::move(options))
{
    m_knownFlags << QStringLiteral("--help");
}

bool CliArguments::parse(const QStringList& arguments)
{
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(u'-') || argument == u"-") {
            m_operands << argument;
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = argument == u"-h" ? QStringLiteral("--help") : argument.left(equals);
        if (m_knownFlags.contains(name) && equals < 0) {
            m_flags << name;
        } else if (m_knownOptions.contains(name) && equals >= 0) {
            m_values[name] << argument.mid(equals + 1);
        } else if (m_knownOptions.contains(name) && i + 1 < arguments.size()) {
            m_values[name] << arguments[++i];
        } else {
            m_error = m_knownOptions.contains(name)
                          ? QStringLiteral("the option %1 needs a value").arg(name)
                          : QStringLiteral("unknown option %1").arg(argument);
            return false;
        }
    }
    return true;
}

QString CliArguments::value(const QString& option) const
{
    const QStringList given = m_values.value(option);
    return given.isEmpty() ? QString() : given.last();
}
