// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/commands/commands.h"

#include <cstdio>

#include "cli/cliarguments.h"

QString programUsage()
{
    return QStringLiteral(
        "usage: gallivex-cli COMMAND [OPTIONS] ...\n"
        "\n"
        "Commands:\n"
        "  themes [--json]                        the installed plug-ins, themes and parameters\n"
        "  new PROJECT.gvp [OPTIONS] PHOTO-OR-FOLDER...\n"
        "                                         make an album project from photos\n"
        "  set PROJECT.gvp NAME=VALUE...          change theme parameters of an album\n"
        "  generate PROJECT.gvp [OPTIONS]         generate the web album of a project\n"
        "  info [--json] PHOTO...                 title, description, EXIF and IPTC of photos\n"
        "  publish ALBUM-FOLDER URL [OPTIONS]     send a generated album to an FTP, FTPS or SFTP\n"
        "                                         server: only what changed\n"
        "\n"
        "\"gallivex-cli COMMAND --help\" tells more. Exit codes: 0 done, 1 failed, 2 wrong "
        "command line.\n");
}

int parseCommandLine(CliArguments& parser, const QStringList& arguments, const QString& help)
{
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "gallivex-cli: %s\n%s", qUtf8Printable(parser.error()),
                     qUtf8Printable(help));
        return 2;
    }
    if (parser.has(QStringLiteral("--help"))) {
        std::fprintf(stdout, "%s", qUtf8Printable(help));
        return 0;
    }
    return -1;
}
