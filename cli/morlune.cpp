// SPDX-License-Identifier: GPL-2.0-or-later
// morlune: installs a theme package (".thm" or ".td") through the output plug-in that owns
// it. The album builder hands theme files named on its command line to this program.
//
//   morlune [--plugins FOLDER] THEME-FILE
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "cli/cliarguments.h"
#include "cli/themeinstaller.h"
#include "platform/imagemetadata.h"
#include "platform/stringtable.h"
#include "platform/terminal.h"
#include "tolvane/pluginmanager.h"

namespace
{

const char* const Help =
    "usage: morlune [--plugins FOLDER] THEME-FILE\n"
    "\n"
    "Installs a theme package (.thm or .td) through the output plug-in that takes it (the\n"
    "HTML plug-in is asked first) and tells which themes it installed.\n"
    "\n"
    "  --plugins FOLDER  look for plug-ins in FOLDER instead of the usual folders\n";

int fail(const QString& text)
{
    std::fprintf(stderr, "morlune: %s\n", qUtf8Printable(platform::forStream(text, stderr)));
    return 1;
}

int install(const QString& package, const QStringList& folders)
{
    CPluginManager manager;
    if (!folders.isEmpty()) {
        std::vector<std::string> list;
        for (const QString& folder : folders)
            list.push_back(QFileInfo(folder).absoluteFilePath().toStdString());
        manager.SetPluginFolders(list);
    }
    std::vector<CPluginInfo> plugins;
    if (!manager.Init(false) || manager.EnumPlugins(plugins) != 0)
        return fail(loadString(IDS_INIT_FAILED));
    const ThemeInstaller::Outcome outcome = ThemeInstaller(manager, plugins).Install(package);
    manager.ReleasePlugins(plugins);
    if (!outcome.installed) {
        QString text = QStringLiteral("no installed plug-in could install \"%1\"").arg(package);
        for (const QString& refusal : outcome.refusals)
            text += QStringLiteral("\n  ") + refusal;
        return fail(text);
    }
    // Names come from the package and the plug-ins: a terminal is not given their control
    // characters.
    QString report = QStringLiteral("Installed \"%1\" with the plug-in \"%2\" (%3).\n")
                         .arg(package, outcome.plugin, outcome.pluginName);
    if (outcome.themes.isEmpty())
        report += QStringLiteral("No new theme appeared (it may have replaced one of the same "
                                 "name).\n");
    for (const QString& theme : outcome.themes)
        report += QStringLiteral("New theme: %1/%2\n").arg(outcome.pluginName, theme);
    std::fputs(qUtf8Printable(platform::forStream(report, stdout)), stdout);
    return 0;
}

int run(const QStringList& arguments)
{
    CliArguments parser({}, {QStringLiteral("--plugins")});
    const bool parsed = parser.parse(arguments);
    if (parsed && parser.has(QStringLiteral("--help"))) {
        std::printf("%s", Help);
        return 0;
    }
    if (!parsed || parser.operands().size() != 1) {
        std::fprintf(stderr, "morlune: %s\n%s",
                     parser.error().isEmpty() ? "give one theme file"
                                              : qUtf8Printable(parser.error()),
                     Help);
        return 2;
    }
    const QString file = parser.operands().first();
    if (!ThemeInstaller::IsThemeFile(file))
        return fail(QStringLiteral("\"%1\" is no theme package (.thm or .td)").arg(file));
    if (!QFileInfo(file).isFile())
        return fail(QStringLiteral("there is no theme package \"%1\"").arg(file));
    return install(QDir::cleanPath(QFileInfo(file).absoluteFilePath()),
                   parser.values(QStringLiteral("--plugins")));
}

} // namespace

int main(int argc, char** argv)
{
    // Before any thread starts: the metadata library is not ready for threads until then.
    imaging::metadata::startUp();
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Vellora"));
    QCoreApplication::setApplicationName(QStringLiteral("Gallivex"));
    try {
        return run(QCoreApplication::arguments().mid(1));
    } catch (...) {
        return fail(QStringLiteral("unexpected failure"));
    }
}
