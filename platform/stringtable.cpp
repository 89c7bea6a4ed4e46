#include "platform/stringtable.h"

#include <QHash>

namespace {

const QHash<int, QString>& table()
{
    static const QHash<int, QString> texts = {
        {101, QStringLiteral("&About...")},
        {102, QStringLiteral("Vellora Gallivex")},
        {116, QStringLiteral("Vellora")},
        {117, QStringLiteral("Gallivex")},
        {118, QStringLiteral("Error occured while opening album.\n\nFile is corrupted or "
                             "unsupported version.")},
        {119, QStringLiteral("Failed to initialize Gallivex. Application is not installed "
                             "properly.")},
        {190, QStringLiteral("Error loading image")},
        {1091, QStringLiteral("Exit Gallivex now?")},
        {1117, QStringLiteral("Empty album name.\n\nPlease name your album with a non-empty "
                              "string.")},
        {32805, QStringLiteral("JPEGQuality")},
        {32808, QStringLiteral("InterpolationMode")},
        {40001, QStringLiteral("The theme installer could not be started:\n%1\n\nPlease "
                               "reinstall Gallivex.")},
        {40101, QStringLiteral("Generating album...")},
        {40102, QStringLiteral("Starting...")},
        {40103, QStringLiteral("Cancel")},
        {40104, QStringLiteral("OK")},
        {40105, QStringLiteral("Please name your new album")},
        {40106, QStringLiteral("Album name:")},
        {184, QStringLiteral("Gallivex albums (*.gvp)|*.gvp||")},
        {32824, QStringLiteral("Please select the folder with photos you wish to add to your "
                               "album.")},
        {40201, QStringLiteral("Saving...")},
        {40202, QStringLiteral("Could not access image file \"%1\", listed in the album.\nDo "
                               "you want to specify an additional search folder?")},
        {40203, QStringLiteral("Plugin with the name \"%1\" is not installed.\nContinue "
                               "opening album?")},
        {40204, QStringLiteral("Template with the name \"%1\" is not installed.\nContinue "
                               "opening album?")},
        {40205, QStringLiteral("The album could not be given a file name in the projects "
                               "folder.\nDo you want to choose where to save it?")},
        {40206, QStringLiteral("Save album")},
    };
    return texts;
}

} // namespace

QString loadString(int id)
{
    return table().value(id);
}
