// SPDX-License-Identifier: GPL-2.0-or-later
// gallivex-cli set: changes theme parameters of an album project, checking each value as the
// album properties page does.
#include "cli/cliarguments.h"
#include "cli/clisession.h"
#include "cli/commands/commands.h"
#include "cli/paramassignments.h"
#include "plugins/parameditor.h"

namespace
{

const QString Help = QStringLiteral(
    "usage: gallivex-cli set PROJECT.gvp NAME=VALUE... [--plugins FOLDER]\n"
    "\n"
    "Changes parameters of the album's theme (\"gallivex-cli themes\" lists them with their\n"
    "types) and saves the album. Names are compared without regard to case. Nothing is saved\n"
    "when any value is refused. Values by type:\n"
    "\n"
    "  number, slider   a whole number within the parameter's range (\"12\")\n"
    "  text             any text; required texts must not be empty\n"
    "  choice           one of the options, in any case (\"bilinear\")\n"
    "  file, folder     the path of an existing file or folder; a file parameter also gives\n"
    "                   its extension to the file name the album uses for it\n"
    "  colour           #rrggbb (\"#336699\"), or the stored number (0x00bbggrr)\n"
    "  font             \"Family, 12pt, bold, italic, #rrggbb\": the family first, then in any\n"
    "                   order a size (\"12pt\", \"10.5pt\"), bold, italic, regular and a\n"
    "                   colour; a size or colour not given stays, bold and italic are off\n"
    "                   unless named\n"
    "\n"
    "The host adds two parameters to every theme: JPEGQuality (1 to 100) and\n"
    "InterpolationMode (Nearest Neighbor, Bilinear, Bicubic).\n");

} // namespace

int runSet(const QStringList& arguments)
{
    CliArguments parser({}, {QStringLiteral("--plugins")});
    if (const int code = parseCommandLine(parser, arguments, Help); code >= 0)
        return code;
    if (parser.operands().size() < 2) {
        std::fprintf(stderr,
                     "gallivex-cli: set needs a project file and at least one "
                     "NAME=VALUE\n%s",
                     qUtf8Printable(Help));
        return 2;
    }
    CliSession session(parser);
    if (!session.start() || !session.openProject(parser.operands().first()))
        return 1;
    CParamEditor editor(session.album().ParameterList());
    QStringList changed;
    if (!ParamAssignments::Apply(editor, parser.operands().mid(1), &changed))
        return 1;
    if (changed.isEmpty()) {
        cliPrint(QStringLiteral("Nothing changed."));
        return 0;
    }
    session.album().MarkModified();
    if (!session.save())
        return 1;
    cliPrint(QStringLiteral("Saved \"%1\": %2 changed.")
                 .arg(QString::fromUtf8(session.album().ProjectPath().c_str()),
                      changed.join(QStringLiteral(", "))));
    return 0;
}
