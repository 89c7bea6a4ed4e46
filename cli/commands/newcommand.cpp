// SPDX-License-Identifier: GPL-2.0-or-later
// gallivex-cli new: makes an album project from photos and folders of photos, adding them as
// the image list page's Add and Add Folder commands do.
#include <QFileInfo>

#include "cli/cliarguments.h"
#include "cli/clisession.h"
#include "cli/commands/commands.h"
#include "cli/paramassignments.h"
#include "cli/themechoice.h"
#include "images/imageadder.h"
#include "images/pageimages.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "plugins/parameditor.h"

namespace
{

const QString Help = QStringLiteral(
    "usage: gallivex-cli new PROJECT.gvp [--theme PLUGIN/TEMPLATE] [--flat]\n"
    "                        [--set NAME=VALUE]... [--force] PHOTO-OR-FOLDER...\n"
    "\n"
    "Makes an album project from photos. Files are added as the Add command adds them (JPEG,\n"
    "GIF, PNG, BMP and TIFF files, and HEIF/HEIC, AVIF, WebP and JPEG XL photos where this\n"
    "machine decodes them); folders as Add Folder does, with their subfolders and each\n"
    "photo's subfolder text (\"2004\\Summer\"). Each photo's title is its file name and its\n"
    "description is made from its IPTC caption and EXIF description, as the album builder\n"
    "makes them. Every file a folder scan leaves out is named on standard error with why.\n"
    "\n"
    "  --theme PLUGIN/TEMPLATE  the album's theme (\"gallivex-cli themes\" lists them); by\n"
    "                           default the first theme of the HTML plug-in\n"
    "  --flat                   only the photos in the folders themselves, no subfolders\n"
    "  --set NAME=VALUE         a theme parameter (see \"gallivex-cli set --help\"); repeatable\n"
    "  --force                  replace PROJECT.gvp when it exists\n"
    "  --plugins FOLDER         look for plug-ins in FOLDER instead of the usual folders\n");

// The photos and folders named that do not exist.
QStringList missingOf(const QStringList& operands)
{
    QStringList missing;
    for (const QString& operand : operands)
        if (!QFileInfo::exists(operand))
            missing << operand;
    return missing;
}

// The patterns of the photo types albums take on this machine: "*.jpg, *.jpeg, ...".
QString takenTypes()
{
    const QStringList entries = CImageAdder::FileFilter().split(u'|');
    return entries.size() > 1 ? entries[1].split(u';').join(QStringLiteral(", ")) : QString();
}

// Adds the photos; false after saying which named file could not be added.
bool addPhotos(const QStringList& operands, bool flat, CPageImages& rows)
{
    QuietPrompter quiet;
    CImageAdder adder(rows, quiet, CImageAdder::OptionsFromSettings(Settings()));
    bool allAdded = true;
    for (const QString& operand : operands) {
        const QString path = CliSession::absolutePath(operand);
        if (QFileInfo(operand).isDir()) {
            const qsizetype before = adder.LeftOut().size();
            const qsizetype skippedBefore = adder.Skipped().size();
            adder.AddFolderImages(path, !flat, !flat);
            for (qsizetype i = before; i < adder.LeftOut().size(); ++i)
                cliWarn(QStringLiteral("left out \"%1\": %2")
                            .arg(adder.LeftOut()[i].path, adder.LeftOut()[i].reason));
            for (qsizetype i = skippedBefore; i < adder.Skipped().size(); ++i)
                cliWarn(QStringLiteral("skipped \"%1\": its name is not valid UTF-8")
                            .arg(adder.Skipped()[i]));
        } else if (!CImageAdder::PassesFileFilter(path)) {
            cliFail(QStringLiteral("\"%1\" is not a photo of a type albums take (%2)")
                        .arg(operand, takenTypes()));
            allAdded = false;
        } else if (!adder.AddImageFile(path, QString())) {
            cliFail(QStringLiteral("\"%1\" cannot be read as an image").arg(operand));
            allAdded = false;
        }
    }
    return allAdded;
}

QString projectPathOf(const QString& operand)
{
    QString path = CliSession::absolutePath(operand);
    if (!QFileInfo(path).fileName().contains(u'.'))
        path += QStringLiteral(".gvp");
    return path;
}

bool chooseTheme(CliSession& session, const CliArguments& parser)
{
    const QString wanted = parser.value(QStringLiteral("--theme"));
    const std::optional<ThemeChoice> theme = parser.hasValue(QStringLiteral("--theme"))
                                                 ? ThemeChoice::Find(session.album(), wanted)
                                                 : ThemeChoice::Default(session.album());
    if (!theme) {
        cliFail(parser.hasValue(QStringLiteral("--theme"))
                    ? QStringLiteral("there is no theme \"%1\" (gallivex-cli themes lists the "
                                     "installed themes)")
                          .arg(wanted)
                    : QStringLiteral("no installed plug-in offers a theme"));
        return false;
    }
    session.album().ChooseTemplate(theme->pluginIndex, theme->templateId);
    if (session.album().Parameters(nullptr) == 0)
        return true;
    cliFail(QStringLiteral("the parameters of the theme could not be read"));
    return false;
}

} // namespace

int runNew(const QStringList& arguments)
{
    CliArguments parser(
        {QStringLiteral("--flat"), QStringLiteral("--force")},
        {QStringLiteral("--theme"), QStringLiteral("--set"), QStringLiteral("--plugins")});
    if (const int code = parseCommandLine(parser, arguments, Help); code >= 0)
        return code;
    if (parser.operands().size() < 2) {
        std::fprintf(stderr,
                     "gallivex-cli: new needs a project file and at least one photo or "
                     "folder\n%s",
                     qUtf8Printable(Help));
        return 2;
    }
    const QString project = projectPathOf(parser.operands().first());
    const QStringList photos = parser.operands().mid(1);
    if (QFileInfo::exists(project) && !parser.has(QStringLiteral("--force")))
        return cliFail(
            QStringLiteral("\"%1\" exists already; give --force to replace it").arg(project));
    const QStringList missing = missingOf(photos);
    if (!missing.isEmpty())
        return cliFail(
            QStringLiteral("no such photo or folder: %1").arg(missing.join(QStringLiteral(", "))));

    CliSession session(parser);
    if (!session.start() || !chooseTheme(session, parser))
        return 1;
    CParamEditor editor(session.album().ParameterList());
    if (!ParamAssignments::Apply(editor, parser.values(QStringLiteral("--set")), nullptr))
        return 1;
    CPageImages rows;
    if (!addPhotos(photos, parser.has(QStringLiteral("--flat")), rows))
        return 1;
    if (rows.IsEmpty())
        return cliFail(loadString(IDS_ADD_IMAGES_FIRST));
    AlbumProject& album = session.album();
    rows.SyncPageToAlbum(album.Images());
    album.MarkModified();
    album.SetProjectPath(project.toUtf8().constData());
    if (!session.save())
        return 1;
    cliPrint(QStringLiteral("Made the album \"%1\" with %2 photo(s), theme %3.")
                 .arg(project)
                 .arg(rows.Size())
                 .arg(ThemeChoice::NameOf(album, album.PluginIndex(), album.TemplateId())));
    return 0;
}
