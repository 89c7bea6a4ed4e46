// gallivex-cli: the album engine from a terminal.
//
//   gallivex-cli themes [--plugins FOLDER]   list plug-ins, templates and parameters
#include <cstdio>

#include <QCoreApplication>
#include <QTextStream>

#include "album/albumproject.h"
#include "cli/themelister.h"
#include "platform/stringtable.h"

namespace {

int usage()
{
    std::fprintf(stderr, "usage: gallivex-cli themes [--plugins FOLDER]\n");
    return 2;
}

int themes(const QStringList& arguments)
{
    AlbumProject album;
    for (int i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--plugins") && i + 1 < arguments.size())
            album.PluginManager().SetPluginFolders({arguments[++i].toStdString()});
        else
            return usage();
    }
    if (!album.Initialise()) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(loadString(IDS_INIT_FAILED)));
        return 1;
    }
    QTextStream out(stdout);
    ThemeLister(out).list(album);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Vellora"));
    QCoreApplication::setApplicationName(QStringLiteral("Gallivex"));
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty())
        return usage();
    const QString command = arguments.takeFirst();
    if (command == QLatin1String("themes"))
        return themes(arguments);
    return usage();
}
