// SPDX-License-Identifier: GPL-2.0-or-later
// Running the command-line programs as real processes: their settings and data live in a
// sandbox that the test can read and write too.
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include "tests/support/testenv.h"

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

class CliHome
{
public:
    // The user's settings as the programs see them (this process's Settings write there).
    QString configFolder() const { return m_settings.root() + QStringLiteral("/user"); }
    // The user's data folder: plug-ins, the Trash.
    QString dataFolder() const { return m_data.path(); }
    QString trash() const { return m_data.file(QStringLiteral("Trash/files")); }

    // Runs a program of the build's bin folder; environment adds NAME=VALUE entries.
    CliResult run(const QString& program, const QStringList& arguments,
                  const QStringList& environment = {}) const;
    // As run, with standard output and error both on one pseudo-terminal (in raw mode, so
    // the bytes arrive as written): out holds what the terminal was given.
    CliResult runOnTerminal(const QString& program, const QStringList& arguments) const;

private:
    QProcessEnvironment environmentFor(const QStringList& environment) const;

    SettingsSandbox m_settings;
    TestFolder m_data;
};
