// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/albummanifest.h"

#include <algorithm>
#include <climits>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace
{

// JSON numbers are doubles: sizes and times stay exact up to 2^53.
constexpr double LargestExact = 9007199254740992.0;

std::optional<qint64> wholeNumber(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number < 0 || number > LargestExact || number != static_cast<double>(qint64(number)))
        return std::nullopt;
    return static_cast<qint64>(number);
}

bool isHash(const QString& text)
{
    static const QString Digits = QStringLiteral("0123456789abcdef");
    return !text.isEmpty() && text.size() <= 64 &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return Digits.contains(c); });
}

bool readFile(const QJsonObject& entry, CAlbumManifest& manifest)
{
    const QString path = entry.value(QLatin1String("path")).toString();
    const std::optional<qint64> size = wholeNumber(entry.value(QLatin1String("size")));
    const QString hash = entry.value(QLatin1String("hash")).toString();
    if (!CAlbumManifest::isAlbumPath(path) || !size || !isHash(hash) ||
        path == CAlbumManifest::FileName())
        return false;
    return manifest.files.emplace(path, CAlbumManifest::File{*size, hash}).second;
}

// [width, height, from]: from is -1, the output's own index or an earlier one.
std::optional<CAlbumManifest::Output> readOutput(const QJsonValue& value, int index)
{
    const QJsonArray numbers = value.toArray();
    if (!value.isArray() || numbers.size() != 3)
        return std::nullopt;
    const std::optional<qint64> width = wholeNumber(numbers[0]);
    const std::optional<qint64> height = wholeNumber(numbers[1]);
    const int from = numbers[2].toInt(-2);
    if (!width || !height || *width > INT_MAX || *height > INT_MAX || from < -1 || from > index)
        return std::nullopt;
    return CAlbumManifest::Output{static_cast<int>(*width), static_cast<int>(*height), from};
}

bool readPictures(const QJsonObject& entry, CAlbumManifest& manifest)
{
    const QString key = entry.value(QLatin1String("key")).toString();
    if (!isHash(key) || !entry.value(QLatin1String("outputs")).isArray())
        return false;
    CAlbumManifest::Pictures pictures;
    pictures.first = entry.value(QLatin1String("first")).toBool();
    pictures.placeholder = entry.value(QLatin1String("placeholder")).toString();
    pictures.placeholderUrl = entry.value(QLatin1String("placeholderUrl")).toString();
    const QJsonArray outputs = entry.value(QLatin1String("outputs")).toArray();
    for (qsizetype i = 0; i < outputs.size(); ++i) {
        const std::optional<CAlbumManifest::Output> output =
            readOutput(outputs[i], static_cast<int>(i));
        // An output that stands for another stands for one with a file of its own.
        if (!output || (output->from >= 0 && output->from < i &&
                        pictures.outputs[output->from].from != output->from))
            return false;
        pictures.outputs.push_back(*output);
    }
    return manifest.pictures.emplace(key, std::move(pictures)).second;
}

bool readPhoto(const QJsonObject& entry, CAlbumManifest& manifest)
{
    const QString path = entry.value(QLatin1String("path")).toString();
    const std::optional<qint64> size = wholeNumber(entry.value(QLatin1String("size")));
    const std::optional<qint64> modified = wholeNumber(entry.value(QLatin1String("modified")));
    const QString hash = entry.value(QLatin1String("hash")).toString();
    if (path.isEmpty() || !size || !modified || !isHash(hash))
        return false;
    manifest.photos[path] = {*size, *modified, hash};
    return true;
}

// JSON text is written straight away: a tree of JSON objects for the tens of thousands of
// files of a big album would take several times the memory of the text itself.
void appendText(QByteArray& out, const QString& text)
{
    out += '"';
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += QByteArray::number(byte, 16).rightJustified(2, '0');
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendNumber(QByteArray& out, qint64 number)
{
    out += QByteArray::number(number);
}

// Writes each item of items with write, commas between.
template <typename Items, typename Write>
void appendList(QByteArray& out, const char* name, const Items& items, Write&& write)
{
    out += ",\"";
    out += name;
    out += "\":[";
    bool first = true;
    for (const auto& item : items) {
        if (!first)
            out += ',';
        first = false;
        write(item);
    }
    out += ']';
}

} // namespace

QString CAlbumManifest::FileName()
{
    return QStringLiteral("gallivex-album.json");
}

bool CAlbumManifest::isAlbumPath(const QString& relative)
{
    if (relative.isEmpty() || relative.contains(u'\\') || relative.contains(QChar(0)))
        return false;
    const QStringList parts = relative.split(u'/');
    return std::none_of(parts.begin(), parts.end(), [](const QString& part) {
        return part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..");
    });
}

QByteArray CAlbumManifest::toJson() const
{
    QByteArray out;
    out += "{\"format\":";
    appendNumber(out, FormatVersion);
    out += ",\"theme\":";
    appendNumber(out, theme);
    appendList(out, "files", files, [&](const auto& entry) {
        out += "{\"path\":";
        appendText(out, entry.first);
        out += ",\"size\":";
        appendNumber(out, entry.second.size);
        out += ",\"hash\":";
        appendText(out, entry.second.hash);
        out += '}';
    });
    appendList(out, "pictures", pictures, [&](const auto& entry) {
        const Pictures& made = entry.second;
        out += "{\"key\":";
        appendText(out, entry.first);
        out += made.first ? ",\"first\":true" : ",\"first\":false";
        out += ",\"placeholder\":";
        appendText(out, made.placeholder);
        out += ",\"placeholderUrl\":";
        appendText(out, made.placeholderUrl);
        out += ",\"outputs\":[";
        for (size_t i = 0; i < made.outputs.size(); ++i) {
            const Output& output = made.outputs[i];
            out += i == 0 ? "[" : ",[";
            out += QByteArray::number(output.width) + ',' + QByteArray::number(output.height) +
                   ',' + QByteArray::number(output.from) + ']';
        }
        out += "]}";
    });
    appendList(out, "photos", photos, [&](const auto& entry) {
        out += "{\"path\":";
        appendText(out, entry.first);
        out += ",\"size\":";
        appendNumber(out, entry.second.size);
        out += ",\"modified\":";
        appendNumber(out, entry.second.modified);
        out += ",\"hash\":";
        appendText(out, entry.second.hash);
        out += '}';
    });
    out += '}';
    return out;
}

std::optional<CAlbumManifest> CAlbumManifest::fromJson(const QByteArray& json)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    // A later format may mean something else by the same fields: better to start afresh.
    if (wholeNumber(root.value(QLatin1String("format"))) != FormatVersion ||
        !root.value(QLatin1String("files")).isArray() ||
        !root.value(QLatin1String("pictures")).isArray() ||
        !root.value(QLatin1String("photos")).isArray())
        return std::nullopt;
    CAlbumManifest manifest;
    manifest.theme = root.value(QLatin1String("theme")).toInt(-1);
    for (const QJsonValue& entry : root.value(QLatin1String("files")).toArray())
        if (!entry.isObject() || !readFile(entry.toObject(), manifest))
            return std::nullopt;
    for (const QJsonValue& entry : root.value(QLatin1String("pictures")).toArray())
        if (!entry.isObject() || !readPictures(entry.toObject(), manifest))
            return std::nullopt;
    for (const QJsonValue& entry : root.value(QLatin1String("photos")).toArray())
        if (!entry.isObject() || !readPhoto(entry.toObject(), manifest))
            return std::nullopt;
    return manifest;
}

std::optional<CAlbumManifest> CAlbumManifest::Load(const QString& albumFolder)
{
    QFile file(QDir(albumFolder).filePath(FileName()));
    const qint64 size = file.size();
    if (!file.open(QIODevice::ReadOnly) || size > MaxBytes)
        return std::nullopt;
    // Reads what is there: asking for the limit would set aside that much memory first.
    return fromJson(file.read(size));
}

bool CAlbumManifest::Save(const QString& albumFolder) const
{
    const QString path = QDir(albumFolder).filePath(FileName());
    const QByteArray json = toJson();
    // An unchanged album keeps even its manifest's time.
    QFile old(path);
    if (old.size() == json.size() && old.open(QIODevice::ReadOnly) && old.readAll() == json)
        return true;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(json) == json.size() && file.commit();
}

bool CAlbumManifest::HoldsAlbum(const QString& albumFolder, const QStringList& alsoOurs)
{
    const std::optional<CAlbumManifest> manifest = Load(albumFolder);
    if (!manifest)
        return false;
    const QDir root(albumFolder);
    QDirIterator it(albumFolder,
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry = it.nextFileInfo();
        // The generation writes only plain files and folders: a link is someone else's.
        if (entry.isSymLink())
            return false;
        if (entry.isDir())
            continue;
        const QString relative = root.relativeFilePath(entry.filePath());
        if (relative == FileName() || alsoOurs.contains(relative))
            continue;
        if (!manifest->files.contains(relative))
            return false;
    }
    return true;
}

QString CAlbumManifest::knownPhotoHash(const QString& path, qint64 size, qint64 modified) const
{
    const auto known = photos.find(path);
    if (known == photos.end() || known->second.size != size || known->second.modified != modified)
        return QString();
    return known->second.hash;
}

const CAlbumManifest::Pictures* CAlbumManifest::picturesOf(const QString& key) const
{
    const auto found = pictures.find(key);
    return found == pictures.end() ? nullptr : &found->second;
}

const CAlbumManifest::File* CAlbumManifest::file(const QString& relative) const
{
    const auto found = files.find(relative);
    return found == files.end() ? nullptr : &found->second;
}
