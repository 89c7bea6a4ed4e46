// SPDX-License-Identifier: GPL-2.0-or-later
// CAlbumManifest: "gallivex-album.json" in an album's folder. It lists every file the album's
// generation wrote (size and content hash), what each photo's pictures came out as (their
// sizes, which of them stand for another, the placeholder) and the content hash of every photo
// with the size and time it had, so that the next generation into the same folder keeps what
// is still wanted, reads only photos that changed, and removes only what was its own. The host takes a folder whose every file the manifest lists for the album
// itself, and generates into it without emptying it first.
//
// The generation writes it last, so a run that fails or is cancelled leaves no manifest that
// names files it does not have. A manifest that cannot be read, or that names a place outside
// the album, counts as none.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

class CAlbumManifest
{
public:
    static QString FileName();
    static constexpr int FormatVersion = 1;
    // A manifest larger than this is not read (10,000 photos take a few MB).
    static constexpr qint64 MaxBytes = 256ll * 1024 * 1024;

    struct File {
        qint64 size = -1;
        QString hash;
        bool operator==(const File&) const = default;
    };
    // One output of a photo's pictures: its size and the output whose file it is (its own
    // index, an earlier one it stands for, or -1 when none was made for this photo).
    struct Output {
        int width = 0;
        int height = 0;
        int from = -1;
        bool operator==(const Output&) const = default;
    };
    struct Pictures {
        bool first = false; // made as the album's first photo
        QString placeholder;
        QString placeholderUrl;
        std::vector<Output> outputs;
        bool operator==(const Pictures&) const = default;
    };
    struct Photo {
        qint64 size = -1;
        qint64 modified = 0; // ms since the epoch
        QString hash;
        bool operator==(const Photo&) const = default;
    };

    int theme = -1; // the theme's id
    std::map<QString, File> files;   // by path relative to the album, "/" between names
    std::map<QString, Photo> photos; // by the photo's full path
    std::map<QString, Pictures> pictures; // by the key that names the photo's pictures

    // The manifest of albumFolder; nothing when there is none or it cannot be trusted.
    static std::optional<CAlbumManifest> Load(const QString& albumFolder);
    // Writes the manifest into albumFolder through a temporary file renamed into place.
    bool Save(const QString& albumFolder) const;
    // True when albumFolder has a manifest that lists every file in it (at any depth) apart
    // from itself and the names given in alsoOurs (files others keep in the album's root).
    static bool HoldsAlbum(const QString& albumFolder, const QStringList& alsoOurs);

    // The photo's content hash when the manifest knows the photo at that size and time.
    QString knownPhotoHash(const QString& path, qint64 size, qint64 modified) const;
    // The stored entry of a file, or null.
    const File* file(const QString& relative) const;
    const Pictures* picturesOf(const QString& key) const;

    QByteArray toJson() const;
    static std::optional<CAlbumManifest> fromJson(const QByteArray& json);
    // A path a manifest may name: relative, "/" between plain names, no "." or "..".
    static bool isAlbumPath(const QString& relative);
};
