// SPDX-License-Identifier: GPL-2.0-or-later
// gallivex-cli themes: the installed output plug-ins, their themes and each theme's
// parameters with their types and default values.
#include <QJsonDocument>
#include <QTextStream>

#include "cli/cliarguments.h"
#include "cli/clisession.h"
#include "cli/commands/commands.h"
#include "cli/themejson.h"
#include "cli/themelister.h"
#include "platform/terminal.h"

namespace
{

const QString Help = QStringLiteral(
    "usage: gallivex-cli themes [--json] [--plugins FOLDER]\n"
    "\n"
    "Lists the installed output plug-ins, their themes (templates) and the parameters of each\n"
    "theme with their types and default values. A theme is named PLUGIN/TEMPLATE on the\n"
    "command line, e.g. \"HTML/Mosaic\".\n"
    "\n"
    "  --json            the same as JSON: {\"default_theme\", \"plugins\": [{\"name\",\n"
    "                    \"display_name\", \"version\", \"library\", \"templates\": [{\"id\",\n"
    "                    \"name\", \"parameters\": [...]}]}], \"skipped\": [...]}\n"
    "  --plugins FOLDER  look for plug-ins in FOLDER instead of the usual folders\n"
    "                    (may be given several times)\n");

} // namespace

int runThemes(const QStringList& arguments)
{
    CliArguments parser({QStringLiteral("--json")}, {QStringLiteral("--plugins")});
    if (const int code = parseCommandLine(parser, arguments, Help); code >= 0)
        return code;
    if (!parser.operands().isEmpty()) {
        std::fprintf(stderr, "gallivex-cli: themes takes no operands\n%s", qUtf8Printable(Help));
        return 2;
    }
    CliSession session(parser);
    if (!session.start())
        return 1;
    if (parser.has(QStringLiteral("--json"))) {
        QTextStream(stdout)
            << QJsonDocument(ThemeJson::Catalogue(session.album())).toJson(QJsonDocument::Indented);
        return 0;
    }
    // Names and texts come from plug-ins and theme files: a terminal is not given their
    // control characters.
    QString listing;
    QTextStream out(&listing);
    ThemeLister(out).list(session.album());
    out.flush();
    QTextStream(stdout) << platform::forStream(listing, stdout);
    return 0;
}
