// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/commandline.h"

namespace {

// Switches the program knows. On systems where paths start with '/', anything else that
// starts with '/' is a path, not a switch.
bool isSwitch(const QString& argument, QString* name)
{
    if (argument.size() < 2 || (argument[0] != u'/' && argument[0] != u'-'))
        return false;
    const QString word = argument.mid(1).toLower();
    static const QStringList known = {QStringLiteral("nologo"), QStringLiteral("embedding"),
                                      QStringLiteral("automation"), QStringLiteral("dde")};
    if (argument[0] == u'/' && !known.contains(word))
        return false;
    *name = word;
    return true;
}

} // namespace

CommandLineInfo CommandLineInfo::parse(const QStringList& arguments)
{
    CommandLineInfo info;
    for (const QString& argument : arguments) {
        QString name;
        if (isSwitch(argument, &name)) {
            if (name == u"nologo" || name == u"embedding" || name == u"automation")
                info.showSplash = false;
        } else if (info.fileName.isEmpty() && !argument.isEmpty()) {
            info.fileName = argument;
            info.command = FileOpen;
        }
    }
    return info;
}

bool CommandLineInfo::isThemeFile(const QString& fileName)
{
    return fileName.endsWith(QStringLiteral(".thm"), Qt::CaseInsensitive) ||
           fileName.endsWith(QStringLiteral(".td"), Qt::CaseInsensitive);
}
