// SPDX-License-Identifier: GPL-2.0-or-later
// The commands of gallivex-cli. Each takes the arguments after its name and gives the
// program's exit code: 0 done, 1 failed (the reason is on the error stream), 2 the command
// line was wrong.
#pragma once

#include <QString>
#include <QStringList>

class CliArguments;

int runThemes(const QStringList& arguments);
int runNew(const QStringList& arguments);
int runSet(const QStringList& arguments);
int runGenerate(const QStringList& arguments);
int runInfo(const QStringList& arguments);
int runPublish(const QStringList& arguments);

// The program's usage, listing the commands.
QString programUsage();

// Parses a command's arguments. Gives -1 when the command should run; otherwise the exit
// code: 0 after --help (help printed), 2 after a mistake (said, with the usage).
int parseCommandLine(CliArguments& parser, const QStringList& arguments, const QString& help);
