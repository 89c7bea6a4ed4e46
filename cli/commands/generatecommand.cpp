// SPDX-License-Identifier: GPL-2.0-or-later
// gallivex-cli generate: generates the web album of a project into its destination folder,
// checking and emptying the folder as the generation page does, and saves the project.
#include <QFileInfo>

#include "cli/cliarguments.h"
#include "cli/clisession.h"
#include "cli/commands/commands.h"
#include "platform/paths.h"
#include "plugins/albumgenerator.h"
#include "plugins/destinationcheck.h"

namespace
{

const QString Help = QStringLiteral(
    "usage: gallivex-cli generate PROJECT.gvp [--dest FOLDER] [--yes] [--delete]\n"
    "                             [--skip-missing] [--view] [--plugins FOLDER]\n"
    "\n"
    "Generates the album into its folder with the album's theme and saves the project. The\n"
    "folder is the album's own when it exists, else one named after the album in the folder\n"
    "of the \"ResultPath\" setting (your pictures folder when it is not set). A folder that\n"
    "holds the album from an earlier run is updated in place: only what changed is written.\n"
    "Any other folder that is not empty is emptied first, which needs --yes; its files go to\n"
    "the Trash unless --delete is given. Folders that hold photos of the album, the program,\n"
    "your home folder or a disk's top folder are never used.\n"
    "\n"
    "  --dest FOLDER    generate into FOLDER (made when missing)\n"
    "  --yes            answer Yes to the questions (empty a folder that is not empty)\n"
    "  --delete         delete the folder's files at once instead of moving them to the Trash\n"
    "  --skip-missing   leave out photos that are missing instead of stopping\n"
    "  --view           open the generated album afterwards\n"
    "  --plugins FOLDER look for plug-ins in FOLDER instead of the usual folders\n");

// False, after saying which, when photos are missing and may not be left out.
bool checkPhotos(AlbumProject& album, bool skipMissing)
{
    QStringList missing;
    std::vector<AlbumImage>& images = album.Images();
    for (const AlbumImage& image : images)
        if (!QFileInfo(QString::fromUtf8(image.path.c_str())).isFile())
            missing << QString::fromUtf8(image.path.c_str());
    if (missing.isEmpty())
        return true;
    if (!skipMissing) {
        cliFail(QStringLiteral("%1 photo(s) of the album are missing (give --skip-missing to "
                               "leave them out):\n  %2")
                    .arg(missing.size())
                    .arg(missing.join(QStringLiteral("\n  "))));
        return false;
    }
    for (const QString& path : missing)
        cliWarn(QStringLiteral("left out the missing photo \"%1\"").arg(path));
    std::erase_if(images, [&](const AlbumImage& image) {
        return missing.contains(QString::fromUtf8(image.path.c_str()));
    });
    for (size_t i = 0; i < images.size(); ++i)
        images[i].index = static_cast<int32_t>(i);
    album.MarkModified();
    return true;
}

int refused(const CDestinationCheck& check)
{
    if (check.LastRefusal() == CDestinationCheck::Refusal::Declined)
        return cliFail(QStringLiteral("nothing was generated: the folder is not empty (give --yes "
                                      "to empty it)"));
    return 1; // the check told why
}

void tellWhere(CliSession& session, const QString& destination, bool view)
{
    cliPrint(QStringLiteral("Generated the album into \"%1\".").arg(destination));
    AlbumProject& album = session.album();
    IOutputPlugin* plugin = album.ChosenPlugin()->plugin;
    gv_string folder(destination.toUtf8().constData());
    gv_string startPage;
    // The album is made; a plug-in failing to say more about it changes nothing of that.
    try {
        if (plugin->GetStartPage(album.TemplateId(), &folder, &startPage) == GV_OK &&
            !startPage.empty())
            cliPrint(QStringLiteral("Start page: %1").arg(QString::fromUtf8(startPage.c_str())));
        if (view && plugin->ViewAlbum(album.TemplateId(), &folder) < 0)
            cliWarn(QStringLiteral("the album could not be shown"));
    } catch (...) {
        cliWarn(QStringLiteral("the plug-in failed to tell the album's start page"));
    }
}

} // namespace

int runGenerate(const QStringList& arguments)
{
    CliArguments parser({QStringLiteral("--yes"), QStringLiteral("--delete"),
                         QStringLiteral("--skip-missing"), QStringLiteral("--view")},
                        {QStringLiteral("--dest"), QStringLiteral("--plugins")});
    if (const int code = parseCommandLine(parser, arguments, Help); code >= 0)
        return code;
    if (parser.operands().size() != 1) {
        std::fprintf(stderr, "gallivex-cli: generate needs exactly one project file\n%s",
                     qUtf8Printable(Help));
        return 2;
    }
    CliSession session(parser);
    if (!session.start() || !session.openProject(parser.operands().first()))
        return 1;
    AlbumProject& album = session.album();
    if (!checkPhotos(album, parser.has(QStringLiteral("--skip-missing"))))
        return 1;
    if (album.Images().empty())
        return cliFail(QStringLiteral("the album has no photos"));
    const QString destination = CliSession::absolutePath(
        parser.hasValue(QStringLiteral("--dest")) ? parser.value(QStringLiteral("--dest"))
                                                  : CDestinationCheck::ProposeDestination(album));
    session.showProgress();
    CDestinationCheck check(session.prompter(), nullptr, platform::programFolder());
    check.SetDeletionMethod(parser.has(QStringLiteral("--delete")));
    CAlbumGenerator generator(session.host(), check, session.projectFile(), session.prompter());
    const CAlbumGenerator::Outcome outcome = generator.Generate(destination, true);
    if (outcome.result != 0)
        return refused(check);
    if (outcome.plugin != GV_OK)
        return cliFail(QStringLiteral("the album was not generated: %1")
                           .arg(QString::fromUtf8(FormatResultMessage(outcome.plugin).c_str())));
    tellWhere(session, destination, parser.has(QStringLiteral("--view")));
    if (outcome.saved && outcome.save != GV_OK)
        return cliFail(QStringLiteral("the album was generated, but it cannot be saved in \"%1\"")
                           .arg(QString::fromUtf8(album.ProjectPath().c_str())));
    return 0;
}
