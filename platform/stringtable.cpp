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
    };
    return texts;
}

} // namespace

QString loadString(int id)
{
    return table().value(id);
}
