// SPDX-License-Identifier: GPL-2.0-or-later
// gallivex-cli info: what the album builder makes of photos: title, automatic description,
// EXIF texts and IPTC fields.
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include "cli/cliarguments.h"
#include "cli/clisession.h"
#include "cli/commands/commands.h"
#include "cli/photoinfo.h"
#include "platform/terminal.h"

namespace
{

const QString Help = QStringLiteral(
    "usage: gallivex-cli info [--json] PHOTO...\n"
    "\n"
    "Shows what the image list makes of each photo with the default settings: its title and\n"
    "automatic description, the nine EXIF texts (date, time, camera, focal length, shutter,\n"
    "flash, aperture, ISO, description) and the IPTC fields.\n"
    "\n"
    "  --json   a JSON array, one object per photo: path, title, description (line breaks\n"
    "           as stored, \"\\r\\n\"), exif {date, time, camera, focal_length, shutter, flash,\n"
    "           aperture, iso, description}, iptc {caption, object_name, keywords,\n"
    "           by_line, city, country, headline, credit, source, copyright, writer}\n"
    "\n"
    "Photos that are missing or cannot be read are told on the error stream and left out;\n"
    "the exit code is then 1.\n");

} // namespace

int runInfo(const QStringList& arguments)
{
    CliArguments parser({QStringLiteral("--json")}, {});
    if (const int code = parseCommandLine(parser, arguments, Help); code >= 0)
        return code;
    if (parser.operands().isEmpty()) {
        std::fprintf(stderr, "gallivex-cli: info needs at least one photo\n%s",
                     qUtf8Printable(Help));
        return 2;
    }
    const bool json = parser.has(QStringLiteral("--json"));
    QJsonArray photos;
    int exitCode = 0;
    for (const QString& operand : parser.operands()) {
        if (!QFileInfo(operand).isFile()) {
            exitCode = cliFail((QFileInfo(operand).isDir()
                                    ? QStringLiteral("\"%1\" is a folder, not a photo")
                                    : QStringLiteral("no such photo: \"%1\""))
                                   .arg(operand));
            continue;
        }
        const PhotoInfo info = PhotoInfo::Read(CliSession::absolutePath(operand));
        if (!info.readable) {
            exitCode = cliFail(QStringLiteral("\"%1\" cannot be read as an image").arg(operand));
            continue;
        }
        if (json)
            photos.append(info.ToJson());
        else
            std::fprintf(stdout, "%s", qUtf8Printable(platform::forStream(info.ToText(), stdout)));
    }
    if (json)
        std::fprintf(stdout, "%s",
                     QJsonDocument(photos).toJson(QJsonDocument::Indented).constData());
    return exitCode;
}
